#include <gtest/gtest.h>

#include "qip/Common/TextField.h"
#include "qip/Components/qipTextField_X.h"
#include "qip/Components/tests/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XTestInput.h"

#include <Xm/TextF.h>
#include <Xm/Xm.h>

namespace {

void settle(int ms = 60) { lumox_test::runLoopFor(testContext(), ms); }

// Shows the parent and gives the keyboard to `field`.
void showAndFocus(TestParent& parent, Widget field)
{
    parent.show();
    Display* d = XtDisplay(field);
    XSetInputFocus(d, XtWindow(parent.shell()), RevertToParent, CurrentTime);
    XmProcessTraversal(field, XmTRAVERSE_CURRENT);
    Window child;
    int x, y;
    XTranslateCoordinates(d, XtWindow(field), DefaultRootWindow(d), 5, 5, &x, &y, &child);
    lumox_test::movePointer(d, x, y);
    settle();
}

}  // namespace

TEST(TextField, buildsItsSensorAndEngineAndInstallsAnUnmanagedField)
{
    TestParent parent("fieldParent");
    TextField field("entry");
    ASSERT_NE(field.textField(), nullptr);
    ASSERT_NE(field.engine(), nullptr);
    EXPECT_EQ(field.textField()->engine(), field.engine());
    EXPECT_EQ(field.engine()->client(), field.textField());
    EXPECT_STREQ(field.engine()->name(), "entry");

    field.text("preset");
    field.install(&parent);
    ASSERT_NE(field.baseWidget(), nullptr);
    EXPECT_EQ(field.baseWidget(), field.engine()->baseWidget());
    EXPECT_EQ(field.clientArea(), field.baseWidget());
    EXPECT_TRUE(XmIsTextField(field.baseWidget()));
    EXPECT_FALSE(XtIsManaged(field.baseWidget()));
    EXPECT_STREQ(field.text(), "preset");
}

TEST(TextField, byDefaultReturnReportsTheTextAndPutsTheFieldAway)
{
    TestParent parent("defaultParent");
    TextField field("entry");
    field.install(&parent);
    field.manage();
    Widget w = field.baseWidget();
    showAndFocus(parent, w);
    ASSERT_EQ(field.activate(), 0);
    Display* d = XtDisplay(w);
    lumox_test::typeText(d, "hello");
    testing::internal::CaptureStderr();
    lumox_test::pressKey(d, "Return");
    settle();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "TextField::triggered: hello\n");
    EXPECT_FALSE(XtIsManaged(w));
    EXPECT_EQ(field.textField()->status(), qipGadget_Off);

    // Even shown again, the field no longer reacts until it is activated.
    field.manage();
    showAndFocus(parent, w);
    testing::internal::CaptureStderr();
    lumox_test::pressKey(d, "Return");
    settle();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(XtIsManaged(w));
}

TEST(TextField, aDestroyedWidgetLeavesAnEmptyShell)
{
    TestParent* parent = new TestParent("goneFieldParent");
    TextField field("entry");
    field.install(parent);
    delete parent;
    EXPECT_EQ(field.baseWidget(), nullptr);
    EXPECT_EQ(field.engine()->baseWidget(), nullptr);
    EXPECT_EQ(field.activate(), -1);
}
