#include <gtest/gtest.h>

#include "qip/Components/qipHelpMenuPane.h"
#include "qip/Components/qipMenuBar.h"
#include "qip/Components/qipOptionMenu.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/tests/TestApp.h"
#include "qip/Components/tests/ToolkitProbe.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XTestInput.h"

#include <X11/keysym.h>
#include <Xm/CascadeB.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

namespace {

const char* red[] = {"4 4 1 1", "r c #ff0000", "rrrr", "rrrr", "rrrr", "rrrr"};

class CountingButton : public qipTButton {
public:
    CountingButton(const char* name, const char* label, char** icon = nullptr) : qipTButton(name, label, icon) {}
    void triggered() override { ++presses; }
    int presses = 0;
};

KeySym mnemonicOf(Widget w)
{
    KeySym k = 0;
    XtVaGetValues(w, XmNmnemonic, &k, nullptr);
    return k;
}

void rootCentre(Widget w, int& x, int& y)
{
    Window child;
    XTranslateCoordinates(XtDisplay(w), XtWindow(w), RootWindowOfScreen(XtScreen(w)), widthOf(w) / 2,
                          heightOf(w) / 2, &x, &y, &child);
}

}  // namespace

TEST(Menu, aPaneHoldsItsEntriesInOrderWithTheirMnemonics)
{
    TestParent parent;
    qipMenuBar bar("menu");
    qipMenuPane file("File", 'F', "file");
    CountingButton load("loadBtn", "Load...");
    CountingButton exit("exitBtn", "Exit", const_cast<char**>(red));
    file.addButton(&load, 'L');
    file.addSeparator();
    file.addButton(&exit, 0);
    bar.addPane(&file);
    bar.install(&parent);

    Widget menubar = bar.baseWidget();
    ASSERT_NE(menubar, nullptr);
    unsigned char type = 0;
    XtVaGetValues(menubar, XmNrowColumnType, &type, nullptr);
    EXPECT_EQ(type, XmMENU_BAR);

    Widget cascade = file.cascade();
    ASSERT_NE(cascade, nullptr);
    EXPECT_TRUE(XmIsCascadeButton(cascade));
    EXPECT_EQ(XtParent(cascade), menubar);
    EXPECT_EQ(labelText(cascade), "File");
    EXPECT_EQ(mnemonicOf(cascade), (KeySym)'F');
    Widget sub = nullptr;
    XtVaGetValues(cascade, XmNsubMenuId, &sub, nullptr);
    EXPECT_EQ(sub, file.baseWidget());

    WidgetList kids = nullptr;
    Cardinal n = 0;
    XtVaGetValues(file.baseWidget(), XmNchildren, &kids, XmNnumChildren, &n, nullptr);
    ASSERT_EQ(n, 3u);
    EXPECT_EQ(kids[0], load.baseWidget());
    EXPECT_TRUE(XmIsSeparatorGadget(kids[1]));
    EXPECT_EQ(kids[2], exit.baseWidget());

    // Menu entries are plain labelled push buttons, even with an icon.
    EXPECT_TRUE(XmIsPushButton(exit.baseWidget()));
    EXPECT_EQ(labelText(exit.baseWidget()), "Exit");
    EXPECT_EQ(labelText(load.baseWidget()), "Load...");
    EXPECT_EQ(mnemonicOf(load.baseWidget()), (KeySym)'L');
    // Motif's "no mnemonic" is the void symbol.
    EXPECT_EQ(mnemonicOf(exit.baseWidget()), (KeySym)XK_VoidSymbol);
}

TEST(Menu, anEntryChosenFromTheMenuCallsTriggered)
{
    TestParent parent;
    qipMenuBar bar("menu");
    qipMenuPane messages("Messages", 'M', "messages");
    CountingButton next("nextBtn", "Next");
    messages.addButton(&next, 'N');
    bar.addPane(&messages);
    bar.install(&parent);
    parent.show();

    Display* d = XtDisplay(bar.baseWidget());
    int x, y;
    rootCentre(messages.cascade(), x, y);
    lumox_test::click(d, x, y);
    Widget entry = next.baseWidget();
    ASSERT_TRUE(lumox_test::runLoopUntil(testContext(), [&] {
        XWindowAttributes a;
        return XtIsRealized(entry) && XGetWindowAttributes(d, XtWindow(entry), &a) && a.map_state == IsViewable;
    }));
    lumox_test::runLoopFor(testContext(), 100);
    rootCentre(entry, x, y);
    lumox_test::click(d, x, y);
    EXPECT_TRUE(lumox_test::runLoopUntil(testContext(), [&] { return next.presses == 1; }));
}

TEST(Menu, theHelpPaneIsTheBarsHelpWidget)
{
    TestParent parent("helpParent", 500, 100);
    qipMenuBar bar("menu");
    qipMenuPane file("File", 'F', "file");
    qipHelpMenuPane help("Help", 'H', "help");
    CountingButton overview("overview", "Overview");
    help.addButton(&overview, 'O');
    bar.addPane(&file);
    bar.addPane(&help);
    bar.install(&parent);
    parent.show();

    Widget helpWidget = nullptr;
    XtVaGetValues(bar.baseWidget(), XmNmenuHelpWidget, &helpWidget, nullptr);
    EXPECT_EQ(helpWidget, help.cascade());
    int fx, fy, hx, hy;
    positionIn(file.cascade(), bar.baseWidget(), fx, fy);
    positionIn(help.cascade(), bar.baseWidget(), hx, hy);
    EXPECT_GT(hx, fx);
    EXPECT_GT(hx + widthOf(help.cascade()), widthOf(bar.baseWidget()) - 20);
}

TEST(Menu, anOptionMenuShowsItsLabelAndItsChoice)
{
    TestParent parent;
    qipOptionMenu option("Scope:", 0, "scope");
    CountingButton one("one", "Function");
    CountingButton two("two", "File");
    option.addButton(&one, 0);
    option.addButton(&two, 0);
    option.install(&parent);

    Widget w = option.baseWidget();
    unsigned char type = 0;
    Widget sub = nullptr;
    XtVaGetValues(w, XmNrowColumnType, &type, XmNsubMenuId, &sub, nullptr);
    EXPECT_EQ(type, XmMENU_OPTION);
    EXPECT_EQ(sub, option.pulldown());
    EXPECT_EQ(XtParent(one.baseWidget()), option.pulldown());
    EXPECT_EQ(labelText(XmOptionLabelGadget(w)), "Scope:");
    EXPECT_EQ(option.select(&two), 0);
    Widget history = nullptr;
    XtVaGetValues(w, XmNmenuHistory, &history, nullptr);
    EXPECT_EQ(history, two.baseWidget());
}
