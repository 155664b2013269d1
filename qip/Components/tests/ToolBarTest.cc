#include <gtest/gtest.h>

#include "qip/Components/qipTButton.h"
#include "qip/Components/qipToolBar.h"
#include "qip/Components/qipToolGroup.h"
#include "qip/Components/tests/TestApp.h"
#include "qip/Components/tests/ToolkitProbe.h"
#include "tests/support/TestSupport.h"

#include <Xm/Frame.h>
#include <Xm/Xm.h>

namespace {

// A tool bar in a window, with groups of one labelled button each.
class ToolBarTest : public testing::Test {
protected:
    ToolBarTest() : parent("barParent", 600, 100), bar("toolbar") {}
    void SetUp() override { bar.install(&parent); }

    qipToolGroup* group(const char* name)
    {
        qipToolGroup* g = new qipToolGroup(name);
        qipTButton* b = new qipTButton((std::string(name) + "Btn").c_str(), name);
        g->addTool(b);
        groups.push_back(g);
        buttons.push_back(b);
        return g;
    }
    void TearDown() override
    {
        for (auto b : buttons)
            delete b;
        for (auto g : groups)
            delete g;
    }
    int left(qipVCell* c)
    {
        int x, y;
        positionIn(c->baseWidget(), bar.baseWidget(), x, y);
        return x;
    }
    int right(qipVCell* c) { return left(c) + widthOf(c->baseWidget()); }
    void settle() { parent.show(); }

    TestParent parent;
    qipToolBar bar;
    std::vector<qipToolGroup*> groups;
    std::vector<qipTButton*> buttons;
};

}  // namespace

TEST_F(ToolBarTest, normalGroupsRunLeftToRightAndHelpGroupsRightToLeft)
{
    qipToolGroup* a = group("a");
    qipToolGroup* b = group("b");
    qipToolGroup* help = group("help");
    qipToolGroup* help2 = group("help2");
    bar.addGroup(a);
    bar.addHelpGroup(help);
    bar.addGroup(b);
    bar.addHelpGroup(help2);
    settle();
    EXPECT_TRUE(XmIsFrame(a->baseWidget()));
    EXPECT_STREQ(XtName(a->clientArea()), "a_work");
    EXPECT_EQ(left(a), 0);
    EXPECT_EQ(left(b), right(a));
    EXPECT_EQ(right(help), widthOf(bar.baseWidget()));
    EXPECT_EQ(right(help2), left(help));
    EXPECT_GT(left(help2), right(b));
}

TEST_F(ToolBarTest, theHelpGroupSitsAtTheRightEdgeWithoutNormalGroups)
{
    qipToolGroup* help = group("help");
    bar.addHelpGroup(help);
    settle();
    EXPECT_EQ(widthOf(bar.baseWidget()), 600);
    EXPECT_EQ(right(help), 600);
    EXPECT_GT(left(help), 0);
}

TEST_F(ToolBarTest, removingAGroupClosesTheGap)
{
    qipToolGroup* a = group("a");
    qipToolGroup* b = group("b");
    qipToolGroup* c = group("c");
    bar.addGroup(a);
    bar.addGroup(b);
    bar.addGroup(c);
    bar.removeGroup(b);
    settle();
    EXPECT_EQ(bar.groups().length(), 2);
    EXPECT_FALSE(XtIsManaged(b->baseWidget()));
    EXPECT_EQ(left(c), right(a));


    qipToolGroup* h1 = group("h1");
    qipToolGroup* h2 = group("h2");
    bar.addHelpGroup(h1);
    bar.addHelpGroup(h2);
    bar.removeGroup(a);
    bar.removeHelpGroup(h1);
    lumox_test::runLoopFor(testContext(), 100);
    EXPECT_EQ(left(c), 0);
    EXPECT_EQ(right(h2), widthOf(bar.baseWidget()));
}

