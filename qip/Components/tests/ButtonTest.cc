#include <gtest/gtest.h>

#include "qip/Components/qipColor.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/qipToggleBtn_X.h"
#include "qip/Components/tests/TestApp.h"
#include "qip/Components/tests/ToolkitProbe.h"
#include "tests/support/TestSupport.h"
#include "tests/support/XTestInput.h"

#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/Xm.h>

namespace {

#define ROWS8(c) c c c c c c c c, c c c c c c c c, c c c c c c c c, c c c c c c c c, \
                 c c c c c c c c, c c c c c c c c, c c c c c c c c, c c c c c c c c
const char* red[] = {"8 8 1 1", "r c #ff0000", ROWS8("r")};
const char* blue[] = {"8 8 1 1", "b c #0000ff", ROWS8("b")};
const char* green[] = {"8 8 1 1", "g c #00ff00", ROWS8("g")};

char** xpm(const char** data) { return const_cast<char**>(data); }

// An application button as the program writes them: it counts its presses.
class CountingButton : public qipTButton {
public:
    CountingButton(const char* name, const char* label, char** icon = nullptr, char** iconDisabled = nullptr)
        : qipTButton(name, label, icon, iconDisabled)
    {
    }
    void triggered() override { ++presses; }
    int presses = 0;
};

class ToggleButton : public CountingButton {
public:
    ToggleButton() : CountingButton("build", "Build", xpm(red), xpm(blue)) { toggle = makeToggle(xpm(green), "Stop"); }
    qipToggleBtn_X* toggle;
};

// Whether the middle of the button comes to show `colour`.
bool shows(Widget button, const char* colour)
{
    Pixel p = makeColorPixel(button, colour, 0);
    return lumox_test::runLoopUntil(testContext(), [&] {
        return windowPixel(button, widthOf(button) / 2, heightOf(button) / 2) == p;
    }, 2000);
}

void clickOn(Widget w)
{
    Window child;
    int x, y;
    XTranslateCoordinates(XtDisplay(w), XtWindow(w), RootWindowOfScreen(XtScreen(w)), widthOf(w) / 2,
                          heightOf(w) / 2, &x, &y, &child);
    lumox_test::click(XtDisplay(w), x, y);
}

}  // namespace

TEST(Button, onlyALabelOrOnlyAnIconMakesAPlainPushButton)
{
    TestParent parent;
    CountingButton labelled("next", "Next"), pictured("prev", nullptr, xpm(red));
    labelled.install(&parent);
    pictured.install(&parent);
    XtVaSetValues(pictured.baseWidget(), XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, labelled.baseWidget(),
                  nullptr);
    parent.show();

    Widget w = labelled.baseWidget();
    unsigned char type = 0;
    EXPECT_TRUE(XmIsPushButton(w));
    EXPECT_STREQ(XtName(w), "next");
    EXPECT_EQ(labelled.engine()->labelArea(), nullptr);
    XtVaGetValues(w, XmNlabelType, &type, nullptr);
    EXPECT_EQ(type, XmSTRING);
    EXPECT_EQ(labelText(w), "Next");

    w = pictured.baseWidget();
    Pixmap shown = 0;
    EXPECT_TRUE(XmIsPushButton(w));
    XtVaGetValues(w, XmNlabelType, &type, XmNlabelPixmap, &shown, nullptr);
    EXPECT_EQ(type, XmPIXMAP);
    EXPECT_EQ(shown, pictured.engine()->icon()->image());
    EXPECT_TRUE(shows(w, "#ff0000"));
}

TEST(Button, anIconAndALabelMakeAnIconOverItsLabel)
{
    TestParent parent;
    CountingButton b("delBtn", "Delete", xpm(red), xpm(blue));
    b.install(&parent);
    parent.show();
    Widget form = b.baseWidget();
    ASSERT_TRUE(XmIsForm(form));
    EXPECT_STREQ(XtName(form), "delBtn");
    Widget button = XtNameToWidget(form, "delBtn_button");
    Widget label = XtNameToWidget(form, "delBtn_label");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(b.engine()->button(), button);
    EXPECT_EQ(labelText(label), "Delete");
    int bx, by, lx, ly;
    positionIn(button, form, bx, by);
    positionIn(label, form, lx, ly);
    EXPECT_GE(ly, by + heightOf(button));

    b.updateLabel("Remove");
    EXPECT_EQ(labelText(label), "Remove");
}

TEST(Button, aDeactivatedToolButtonIsGreyAndShowsTheDisabledIcon)
{
    TestParent parent;
    CountingButton b("delBtn", "Delete", xpm(red), xpm(blue));
    b.install(&parent);
    parent.show();
    Widget button = b.engine()->button();

    EXPECT_EQ(b.deactivate(), 0);
    EXPECT_FALSE(XtIsSensitive(button));
    EXPECT_FALSE(XtIsSensitive(b.engine()->labelArea()));
    Pixmap insensitive = 0;
    XtVaGetValues(button, XmNlabelInsensitivePixmap, &insensitive, nullptr);
    EXPECT_EQ(insensitive, b.engine()->iconDisabled()->image());
    EXPECT_TRUE(shows(button, "#0000ff"));

    EXPECT_EQ(b.activate(), 0);
    EXPECT_TRUE(XtIsSensitive(button));
    EXPECT_TRUE(shows(button, "#ff0000"));
}

TEST(Button, aButtonSwitchedOffBeforeInstallStartsInsensitive)
{
    TestParent parent;
    CountingButton b("prev", "Prev");
    EXPECT_EQ(b.deactivate(), -1);
    b.install(&parent);
    EXPECT_FALSE(XtIsSensitive(b.baseWidget()));
}

TEST(Button, pressingAToolButtonCallsTriggeredOnlyWhileActive)
{
    TestParent parent;
    CountingButton b("next", "Next", xpm(red));
    b.install(&parent);
    parent.show();
    Widget button = b.engine()->button();
    clickOn(button);
    EXPECT_TRUE(lumox_test::runLoopUntil(testContext(), [&] { return b.presses == 1; }));

    b.deactivate();
    clickOn(button);
    lumox_test::runLoopFor(testContext(), 200);
    EXPECT_EQ(b.presses, 1);
}

TEST(Button, aToggleShowsTheAlternateIconAndTheOffLabelWhenOn)
{
    TestParent parent;
    ToggleButton b;
    EXPECT_EQ(b.engine(), b.toggle);
    b.toggle->state(1);
    b.install(&parent);
    parent.show();
    Widget button = b.toggle->button();
    Widget label = b.toggle->labelArea();
    ASSERT_NE(label, nullptr);
    Pixmap shown = 0;
    XtVaGetValues(button, XmNlabelPixmap, &shown, nullptr);
    EXPECT_EQ(shown, b.toggle->iconAlt()->image());
    EXPECT_EQ(labelText(label), "Stop");
    EXPECT_TRUE(shows(button, "#00ff00"));

    b.toggle->state(0);
    EXPECT_EQ(labelText(label), "Build");
    EXPECT_TRUE(shows(button, "#ff0000"));

    // The toggle's presses still reach the button.
    clickOn(button);
    EXPECT_TRUE(lumox_test::runLoopUntil(testContext(), [&] { return b.presses == 1; }));
}
