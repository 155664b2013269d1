#include <gtest/gtest.h>

#include "qip/Components/qipButton_X.h"
#include "qip/Components/qipSeparator.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/qipVStack.h"
#include "qip/Components/tests/TestApp.h"
#include "qip/Components/tests/ToolkitProbe.h"

#include <Xm/PushB.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

namespace {

const char* icon[] = {"4 4 1 1", "r c #ff0000", "rrrr", "rrrr", "rrrr", "rrrr"};

// A cell that makes a widget but never installs its destroy handler.
class CarelessCell : public qipVCell {
public:
    CarelessCell() : qipVCell("careless") {}
    void install(qipVCell* parent) override
    {
        _base = XtVaCreateWidget(_name, xmPushButtonWidgetClass, parent->clientArea(), nullptr);
    }
};

}  // namespace

TEST(Cell, aDestroyedWidgetLeavesAnEmptyShellThatDeletesSafely)
{
    TestParent parent;
    qipSeparator* sep = new qipSeparator("sep");
    qipTButton* tool = new qipTButton("tool", "Tool", const_cast<char**>(icon));
    sep->install(&parent);
    tool->install(&parent);
    ASSERT_NE(sep->baseWidget(), nullptr);
    EXPECT_TRUE(XmIsSeparatorGadget(sep->baseWidget()));
    EXPECT_STREQ(XtName(sep->baseWidget()), "sep");

    XtDestroyWidget(parent.clientArea());
    EXPECT_EQ(sep->baseWidget(), nullptr);
    EXPECT_EQ(sep->name(), nullptr);
    EXPECT_EQ(tool->baseWidget(), nullptr);
    EXPECT_EQ(tool->engine()->baseWidget(), nullptr);
    EXPECT_EQ(tool->engine()->button(), nullptr);
    EXPECT_EQ(tool->deactivate(), -1);
    delete sep;
    delete tool;
}

TEST(Cell, aCellDeletedFirstIsNotCalledWhenItsWidgetGoes)
{
    TestParent parent;
    qipTButton* tool = new qipTButton("tool", "Tool", const_cast<char**>(icon));
    tool->install(&parent);
    Widget button = tool->engine()->button();
    delete tool;
    EXPECT_EQ(XtHasCallbacks(button, XmNactivateCallback), XtCallbackHasNone);
    // Destroying the widgets now must not reach the deleted cell.
    XtDestroyWidget(parent.clientArea());
}

#ifndef NDEBUG
TEST(CellDeathTest, managingWithoutDestroyHandlerStops)
{
    TestParent parent;
    CarelessCell cell;
    cell.install(&parent);
    EXPECT_DEATH(cell.manage(), "XmNdestroyCallback");
}
#endif

TEST(Cell, aStackPutsTheLowerCellDirectlyBelowTheUpper)
{
    TestParent parent;
    qipButton_X upper("upper", nullptr), lower("lower", nullptr);
    upper.setLabel("Up");
    lower.setLabel("Down");
    qipVStack stack("v", &upper, &lower);
    stack.install(&parent);
    parent.show();
    EXPECT_STREQ(XtName(stack.baseWidget()), "vbutton");
    EXPECT_EQ(XtParent(upper.baseWidget()), stack.baseWidget());
    int ux, uy, lx, ly;
    positionIn(upper.baseWidget(), stack.baseWidget(), ux, uy);
    positionIn(lower.baseWidget(), stack.baseWidget(), lx, ly);
    EXPECT_EQ(uy, 0);
    EXPECT_EQ(ly, uy + heightOf(upper.baseWidget()));
    EXPECT_EQ(lx, ux);
}
