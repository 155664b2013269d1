#include <gtest/gtest.h>

#include "qip/Components/qipTextField.h"
#include "qip/Components/qipTextField_X.h"
#include "qip/Components/testsupport/TestApp.h"
#include "tests/support/XTestInput.h"

#include <Xm/TextF.h>

#include <string>
#include <vector>

using namespace lumox_test;

namespace {

// A sensor that keeps what each Return delivered.
class EntrySensor : public qipTextField {
public:
    void triggered() override { seen.push_back(text() ? text() : "(null)"); }
    std::vector<std::string> seen;
};

class TextFieldEngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent = new TestParent("entryParent", 300, 100);
        sensor.engine(&engine);
    }
    void TearDown() override { delete parent; }

    void pressReturn()
    {
        pressKey(XtDisplay(field), "Return");
        settle(60);
    }
    std::string shown()
    {
        char* s = XmTextFieldGetString(field);
        std::string r = s ? s : "(null)";
        XtFree(s);
        return r;
    }

    TestParent* parent = nullptr;
    EntrySensor sensor;
    qipTextField_X engine{"entry", &sensor};
    Widget field = nullptr;
};

}  // namespace

TEST(TextFieldSensor, withoutAnEngineItHoldsNothingAndCannotBeActivated)
{
    EntrySensor lone;
    lone.text("lost");
    EXPECT_EQ(lone.text(), nullptr);
    EXPECT_EQ(lone.activate(), -1);
    EXPECT_EQ(lone.status(), qipGadget_Uninitialized);
}

TEST_F(TextFieldEngineTest, aTextSetBeforeInstallIsKeptButShownOnlyWhenSetAgain)
{
    sensor.text("early");
    sensor.width(180);
    EXPECT_STREQ(sensor.text(), "early");
    EXPECT_EQ(sensor.activate(), -1) << "no widget yet";

    engine.install(parent);
    field = engine.baseWidget();
    ASSERT_TRUE(field && XmIsTextField(field));
    EXPECT_STREQ(XtName(field), "entry");
    EXPECT_FALSE(XtIsManaged(field));
    EXPECT_EQ(widthOf(field), 180);
    EXPECT_EQ(shown(), "");
    EXPECT_STREQ(sensor.text(), "early");

    sensor.text("later");
    EXPECT_EQ(shown(), "later");
    EXPECT_EQ(sensor.valid(), 1);
    sensor.text(nullptr);
    EXPECT_EQ(sensor.text(), nullptr);
    EXPECT_EQ(shown(), "");
}

TEST_F(TextFieldEngineTest, returnDeliversExactlyWhatTheFieldShowsButNothingWhileDeactivated)
{
    engine.install(parent);
    engine.manage();
    parent->show();
    field = engine.baseWidget();
    focusOn(field);
    // Activating twice still connects Return once.
    ASSERT_EQ(sensor.activate(), 0);
    ASSERT_EQ(sensor.activate(), 0);
    typeText(XtDisplay(field), "ab c");
    pressReturn();
    ASSERT_EQ(sensor.seen, (std::vector<std::string>{"ab c"}));

    // A field the user has emptied gives an empty text, not none.
    XmTextFieldSetString(field, const_cast<char*>(""));
    pressReturn();
    ASSERT_EQ(sensor.seen.size(), 2u);
    EXPECT_EQ(sensor.seen[1], "");
    ASSERT_NE(sensor.text(), nullptr);
    EXPECT_STREQ(sensor.text(), "");
    EXPECT_EQ(sensor.valid(), 0);

    sensor.text("kept");
    ASSERT_EQ(sensor.deactivate(), 0);
    EXPECT_EQ(sensor.status(), qipGadget_Off);
    typeText(XtDisplay(field), "x");
    pressReturn();
    EXPECT_EQ(sensor.seen.size(), 2u);
    EXPECT_STREQ(sensor.text(), "kept");

    ASSERT_EQ(sensor.activate(), 0);
    pressReturn();
    ASSERT_EQ(sensor.seen.size(), 3u);
    EXPECT_EQ(sensor.seen[2], shown());
}
