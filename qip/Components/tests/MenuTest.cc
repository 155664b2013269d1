#include <gtest/gtest.h>

#include "qip/Components/qipHelpMenuPane.h"
#include "qip/Components/qipMenuBar.h"
#include "qip/Components/qipOptionMenu.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Components/testsupport/TestApp.h"

#include <X11/keysym.h>
#include <Xm/Frame.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

#include <memory>
#include <string>
#include <vector>

using namespace lumox_test;

namespace {

KeySym mnemonicOf(Widget w)
{
    KeySym k = 0;
    XtVaGetValues(w, XmNmnemonic, &k, nullptr);
    return k;
}

// Tool groups of one labelled button each, deleted with the object (the
// buttons first).
struct Groups {
    std::vector<std::unique_ptr<qipToolGroup>> groups;
    std::vector<std::unique_ptr<qipTButton>> buttons;
    qipToolGroup* make(const char* name)
    {
        groups.emplace_back(new qipToolGroup(name));
        buttons.emplace_back(new qipTButton((std::string(name) + "Btn").c_str(), name));
        groups.back()->addTool(buttons.back().get());
        return groups.back().get();
    }
};

}  // namespace

TEST(Menu, entriesWithoutAMnemonicOrWithAnIconAndTheHelpPaneAtTheRight)
{
    TestParent parent("menuParent", 500, 100);
    qipMenuBar bar("menu");
    qipMenuPane file("File", 'F', "file");
    qipHelpMenuPane help("Help", 'H', "help");
    qipTButton load("loadBtn", "Load...");
    qipTButton exit("exitBtn", "Exit", squareIcon("red"));
    file.addButton(&load, 'L');
    file.addSeparator();
    file.addButton(&exit, 0);
    bar.addPane(&file);
    bar.addPane(&help);
    bar.install(&parent);
    parent.show();

    // The main window's tests read the panes' texts and mnemonics; here the
    // edges: no mnemonic, an entry with an icon, where the help pane goes.
    Widget menubar = bar.baseWidget(), helpWidget = nullptr;
    XtVaGetValues(menubar, XmNmenuHelpWidget, &helpWidget, nullptr);
    EXPECT_EQ(helpWidget, help.cascade());
    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(file.baseWidget(), XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(kids[0], load.baseWidget());
    EXPECT_TRUE(XmIsSeparatorGadget(kids[1]));
    EXPECT_EQ(kids[2], exit.baseWidget());
    EXPECT_TRUE(XmIsPushButton(exit.baseWidget()));
    EXPECT_EQ(labelText(exit.baseWidget()), "Exit");
    EXPECT_EQ(mnemonicOf(load.baseWidget()), (KeySym)'L');
    // Motif's "no mnemonic" is the void symbol.
    EXPECT_EQ(mnemonicOf(exit.baseWidget()), (KeySym)XK_VoidSymbol);

    int fx, fy, hx, hy;
    positionIn(file.cascade(), menubar, fx, fy);
    positionIn(help.cascade(), menubar, hx, hy);
    EXPECT_GT(hx, fx);
    EXPECT_GT(hx + widthOf(help.cascade()), widthOf(menubar) - 20);
}

TEST(Menu, anOptionMenuShowsItsLabelAndItsChoice)
{
    TestParent parent;
    qipOptionMenu option("Scope:", 0, "scope");
    qipTButton one("one", "Function"), two("two", "File");
    option.addButton(&one, 0);
    option.addButton(&two, 0);
    option.install(&parent);

    Widget w = option.baseWidget(), sub = nullptr, history = nullptr;
    unsigned char type = 0;
    XtVaGetValues(w, XmNrowColumnType, &type, XmNsubMenuId, &sub, nullptr);
    EXPECT_EQ(type, XmMENU_OPTION);
    EXPECT_EQ(sub, option.pulldown());
    EXPECT_EQ(XtParent(one.baseWidget()), option.pulldown());
    EXPECT_EQ(labelText(XmOptionLabelGadget(w)), "Scope:");
    EXPECT_EQ(option.select(&two), 0);
    XtVaGetValues(w, XmNmenuHistory, &history, nullptr);
    EXPECT_EQ(history, two.baseWidget());
}

TEST(ToolBar, normalGroupsRunLeftToRightHelpGroupsRightToLeftAndRemovalClosesTheGap)
{
    TestParent parent("barParent", 600, 100);
    qipToolBar bar("toolbar");
    bar.install(&parent);
    Groups g;
    qipToolGroup *a = g.make("a"), *b = g.make("b"), *c = g.make("c"), *help = g.make("help"), *help2 = g.make("help2");
    auto left = [&](qipVCell* cell) {
        int x, y;
        positionIn(cell->baseWidget(), bar.baseWidget(), x, y);
        return x;
    };
    auto right = [&](qipVCell* cell) { return left(cell) + widthOf(cell->baseWidget()); };

    // Without normal groups the first help group still sits at the right edge.
    bar.addHelpGroup(help);
    parent.show();
    EXPECT_EQ(widthOf(bar.baseWidget()), 600);
    EXPECT_EQ(right(help), 600);
    EXPECT_GT(left(help), 0);

    bar.addGroup(a);
    bar.addGroup(b);
    bar.addGroup(c);
    bar.addHelpGroup(help2);
    settle(100);
    EXPECT_TRUE(XmIsFrame(a->baseWidget()));
    EXPECT_STREQ(XtName(a->clientArea()), "a_work");
    EXPECT_EQ(left(a), 0);
    EXPECT_EQ(left(b), right(a));
    EXPECT_EQ(left(c), right(b));
    EXPECT_EQ(right(help), widthOf(bar.baseWidget()));
    EXPECT_EQ(right(help2), left(help));
    EXPECT_GT(left(help2), right(c));

    bar.removeGroup(b);
    settle(100);
    EXPECT_EQ(bar.groups().length(), 2);
    EXPECT_FALSE(XtIsManaged(b->baseWidget()));
    EXPECT_EQ(left(c), right(a));
    bar.removeGroup(a);
    bar.removeHelpGroup(help);
    settle(100);
    EXPECT_EQ(left(c), 0);
    EXPECT_EQ(right(help2), widthOf(bar.baseWidget()));
}
