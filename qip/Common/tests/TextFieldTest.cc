#include <gtest/gtest.h>

#include "qip/Common/TextField.h"
#include "qip/Components/qipTextField_X.h"
#include "qip/Components/testsupport/TestApp.h"
#include "tests/support/XTestInput.h"

#include <Xm/TextF.h>
#include <Xm/Xm.h>

TEST(TextField, aPresetFieldInstallsUnmanagedAndByDefaultReturnReportsTheTextAndPutsTheFieldAway)
{
    TestParent parent("defaultParent");
    TextField field("entry");
    field.text("preset");
    field.install(&parent);
    Widget w = field.baseWidget();
    ASSERT_TRUE(w && XmIsTextField(w));
    EXPECT_FALSE(XtIsManaged(w));
    EXPECT_STREQ(field.text(), "preset");

    field.text("");
    field.manage();
    parent.show();
    lumox_test::focusOn(w);
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
    parent.show();
    lumox_test::focusOn(w);
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
