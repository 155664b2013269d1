#include <gtest/gtest.h>

#include "qip/Components/qipTextField.h"
#include "qip/Components/qipTextField_X.h"
#include "qip/Components/tests/CanvasProbe.h"
#include "qip/Components/tests/TestApp.h"
#include "tests/support/XTestInput.h"

#include <Xm/TextF.h>

#include <string>
#include <vector>

using namespace canvas_probe;

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

    // Installs, manages and shows the field with the keyboard on it.
    void showField()
    {
        engine.install(parent);
        engine.manage();
        parent->show();
        field = engine.baseWidget();
        display = XtDisplay(field);
        focusOn(field);
        int x, y;
        rootPoint(field, 5, 5, x, y);
        lumox_test::movePointer(display, x, y);
    }
    void type(const std::string& text)
    {
        lumox_test::typeText(display, text);
        settle(30);
    }
    void pressReturn()
    {
        lumox_test::pressKey(display, "Return");
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
    Display* display = nullptr;
};

}  // namespace

TEST_F(TextFieldEngineTest, aTextSetBeforeInstallIsKeptButShownOnlyWhenSetAgain)
{
    EXPECT_EQ(sensor.text(), nullptr);
    EXPECT_EQ(sensor.valid(), 0);
    sensor.text("early");
    sensor.width(180);
    EXPECT_STREQ(sensor.text(), "early");
    EXPECT_EQ(sensor.activate(), -1) << "no widget yet";
    EXPECT_EQ(sensor.deactivate(), -1);

    engine.install(parent);
    field = engine.baseWidget();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(XmIsTextField(field));
    EXPECT_STREQ(XtName(field), "entry");
    EXPECT_FALSE(XtIsManaged(field));
    EXPECT_EQ(width(field), 180);
    EXPECT_EQ(shown(), "");
    EXPECT_STREQ(sensor.text(), "early");

    sensor.text("later");
    EXPECT_EQ(shown(), "later");
    EXPECT_EQ(sensor.valid(), 1);
    sensor.text(nullptr);
    EXPECT_EQ(sensor.text(), nullptr);
    EXPECT_EQ(shown(), "");
}

TEST_F(TextFieldEngineTest, returnDeliversExactlyWhatTheFieldShows)
{
    showField();
    ASSERT_EQ(sensor.activate(), 0);
    type("ab c");
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
}

TEST_F(TextFieldEngineTest, returnOnADeactivatedFieldDoesNothing)
{
    showField();
    sensor.text("kept");
    // Activating twice still connects Return once.
    ASSERT_EQ(sensor.activate(), 0);
    ASSERT_EQ(sensor.activate(), 0);
    ASSERT_EQ(sensor.deactivate(), 0);
    EXPECT_EQ(sensor.status(), qipGadget_Off);
    type("x");
    pressReturn();
    EXPECT_TRUE(sensor.seen.empty());
    EXPECT_STREQ(sensor.text(), "kept");

    ASSERT_EQ(sensor.activate(), 0);
    pressReturn();
    ASSERT_EQ(sensor.seen.size(), 1u);
    EXPECT_EQ(sensor.seen[0], shown());
}

TEST(TextFieldSensor, withoutAnEngineItHoldsNothingAndCannotBeActivated)
{
    EntrySensor lone;
    lone.text("lost");
    lone.width(50);
    EXPECT_EQ(lone.text(), nullptr);
    EXPECT_EQ(lone.valid(), 0);
    EXPECT_EQ(lone.activate(), -1);
    EXPECT_EQ(lone.deactivate(), -1);
    EXPECT_EQ(lone.status(), qipGadget_Uninitialized);
}
