#include <gtest/gtest.h>

#include "qip/Components/qipColor.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/qipToggleBtn_X.h"
#include "qip/Components/testsupport/TestApp.h"

#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/Xm.h>

using namespace lumox_test;

namespace {

// An application button as the program writes them: it counts its presses.
class CountingButton : public qipTButton {
public:
    CountingButton(const char* name, const char* label, char** icon = nullptr, char** iconDisabled = nullptr)
        : qipTButton(name, label, icon, iconDisabled)
    {
    }
    using qipTButton::makeToggle;
    void triggered() override { ++presses; }
    int presses = 0;
};

// Whether the middle of the button comes to show `colour`.
bool shows(Widget button, const char* colour)
{
    Pixel p = makeColorPixel(button, colour, 0);
    return runLoopUntil(testContext(), [&] { return pixelAt(button, widthOf(button) / 2, heightOf(button) / 2) == p; },
                        2000);
}

void placeRightOf(qipVCell& cell, qipVCell& left)
{
    XtVaSetValues(cell.baseWidget(), XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, left.baseWidget(), nullptr);
}

}  // namespace

TEST(Button, aLabelOrAnIconAloneMakesAPushButtonBothAnIconOverItsLabelThatGreysWhenOff)
{
    TestParent parent;
    CountingButton labelled("next", "Next"), pictured("prev", nullptr, squareIcon("#ff0000"));
    CountingButton both("delBtn", "Delete", squareIcon("#ff0000"), squareIcon("#0000ff"));
    CountingButton early("early", "Early");
    EXPECT_EQ(early.deactivate(), -1) << "no widget yet, but it starts insensitive";
    for (CountingButton* b : {&labelled, &pictured, &both, &early})
        b->install(&parent);
    placeRightOf(pictured, labelled);
    placeRightOf(both, pictured);
    placeRightOf(early, both);
    parent.show();
    EXPECT_FALSE(XtIsSensitive(early.baseWidget()));

    unsigned char type = 0;
    EXPECT_TRUE(XmIsPushButton(labelled.baseWidget()));
    XtVaGetValues(labelled.baseWidget(), XmNlabelType, &type, nullptr);
    EXPECT_EQ(type, XmSTRING);
    EXPECT_EQ(labelText(labelled.baseWidget()), "Next");
    EXPECT_TRUE(XmIsPushButton(pictured.baseWidget()));
    XtVaGetValues(pictured.baseWidget(), XmNlabelType, &type, nullptr);
    EXPECT_EQ(type, XmPIXMAP);
    EXPECT_TRUE(shows(pictured.baseWidget(), "#ff0000"));

    Widget form = both.baseWidget();
    ASSERT_TRUE(XmIsForm(form));
    Widget button = XtNameToWidget(form, "delBtn_button"), label = XtNameToWidget(form, "delBtn_label");
    ASSERT_TRUE(button && label);
    EXPECT_EQ(labelText(label), "Delete");
    int bx, by, lx, ly;
    positionIn(button, form, bx, by);
    positionIn(label, form, lx, ly);
    EXPECT_GE(ly, by + heightOf(button));
    both.updateLabel("Remove");
    EXPECT_EQ(labelText(label), "Remove");

    EXPECT_EQ(both.deactivate(), 0);
    EXPECT_FALSE(XtIsSensitive(button));
    EXPECT_FALSE(XtIsSensitive(label));
    EXPECT_TRUE(shows(button, "#0000ff"));
    EXPECT_EQ(both.activate(), 0);
    EXPECT_TRUE(XtIsSensitive(button));
    EXPECT_TRUE(shows(button, "#ff0000"));
}

TEST(Button, aToggleShowsTheAlternateIconAndTheOffLabelWhenOnAndPassesPressesOn)
{
    TestParent parent;
    CountingButton b("build", "Build", squareIcon("#ff0000"), squareIcon("#0000ff"));
    qipToggleBtn_X* toggle = b.makeToggle(squareIcon("#00ff00"), "Stop");
    EXPECT_EQ(b.engine(), toggle);
    toggle->state(1);
    b.install(&parent);
    parent.show();
    Widget button = toggle->button(), label = toggle->labelArea();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(labelText(label), "Stop");
    EXPECT_TRUE(shows(button, "#00ff00"));

    toggle->state(0);
    EXPECT_EQ(labelText(label), "Build");
    EXPECT_TRUE(shows(button, "#ff0000"));

    clickOn(button);
    EXPECT_TRUE(runLoopUntil(testContext(), [&] { return b.presses == 1; }));
}
