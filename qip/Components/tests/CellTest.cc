#include <gtest/gtest.h>

#include "qip/Components/qipButton_X.h"
#include "qip/Components/qipColor.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/qipSeparator.h"
#include "qip/Components/qipTButton.h"
#include "qip/Components/qipTButton_X.h"
#include "qip/Components/qipVStack.h"
#include "qip/Components/testsupport/TestApp.h"

#include <Xm/PushB.h>
#include <Xm/SeparatoG.h>
#include <Xm/Xm.h>

using namespace lumox_test;

namespace {

// A cell that makes a widget but never installs its destroy handler.
class CarelessCell : public qipVCell {
public:
    CarelessCell() : qipVCell("careless") {}
    void install(qipVCell* parent) override
    {
        _base = XtVaCreateWidget(_name, xmPushButtonWidgetClass, parent->clientArea(), nullptr);
    }
};

const char* holed[] = {"4 4 2 1", ". c None", "r c #ff0000", "rrrr", "r..r", "r..r", "rrrr"};
const char* blended[] = {"4 4 2 1", "x s background c #00ff00", "b c #0000ff", "xxxx", "xbbx", "xbbx", "xxxx"};

char** xpm(const char** data) { return const_cast<char**>(data); }

}  // namespace

TEST(Cell, aDestroyedWidgetLeavesAnEmptyShellAndADeletedCellIsNeverCalled)
{
    TestParent parent;
    qipSeparator* sep = new qipSeparator("sep");
    qipTButton* tool = new qipTButton("tool", "Tool", squareIcon("red"));
    qipTButton* early = new qipTButton("early", "Early", squareIcon("red"));
    sep->install(&parent);
    tool->install(&parent);
    early->install(&parent);
    EXPECT_TRUE(XmIsSeparatorGadget(sep->baseWidget()));
    EXPECT_STREQ(XtName(sep->baseWidget()), "sep");

    // A cell deleted before its widgets takes its callbacks with it.
    Widget earlyButton = early->engine()->button();
    delete early;
    EXPECT_EQ(XtHasCallbacks(earlyButton, XmNactivateCallback), XtCallbackHasNone);

    XtDestroyWidget(parent.clientArea());
    EXPECT_EQ(sep->baseWidget(), nullptr);
    EXPECT_EQ(sep->name(), nullptr);
    EXPECT_EQ(tool->baseWidget(), nullptr);
    EXPECT_EQ(tool->engine()->button(), nullptr);
    EXPECT_EQ(tool->deactivate(), -1);
    delete sep;
    delete tool;
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
    int ux, uy, lx, ly;
    positionIn(upper.baseWidget(), stack.baseWidget(), ux, uy);
    positionIn(lower.baseWidget(), stack.baseWidget(), lx, ly);
    EXPECT_EQ(uy, 0);
    EXPECT_EQ(ly, uy + heightOf(upper.baseWidget()));
    EXPECT_EQ(lx, ux);
}

TEST(Icon, onlyTransparentPixelsMakeAMaskAndTheBackgroundSymbolTakesTheWidgetsColour)
{
    TestParent parent("iconParent", 200, 100);
    Widget button = XtVaCreateManagedWidget("target", xmPushButtonWidgetClass, parent.clientArea(), nullptr);
    parent.show();
    Display* d = XtDisplay(button);
    Pixel red = makeColorPixel(button, "#ff0000", 0), blue = makeColorPixel(button, "#0000ff", 0);
    Pixel white = WhitePixelOfScreen(XtScreen(button)), background = 0;
    XtVaGetValues(button, XmNbackground, &background, nullptr);

    qipIcon withHole(xpm(holed)), opaque(xpm(blended));
    withHole.install(button);
    opaque.install(button);
    ASSERT_NE(withHole.mask(), 0u);
    ASSERT_NE(opaque.image(), 0u);
    EXPECT_EQ(opaque.mask(), 0u);
    EXPECT_EQ(drawablePixel(d, opaque.image(), 0, 0), background);
    EXPECT_EQ(drawablePixel(d, opaque.image(), 1, 1), blue);

    // Drawn over white, the hole lets the white through; the opaque icon covers it.
    Pixmap canvas = XCreatePixmap(d, XtWindow(button), 10, 10, DefaultDepthOfScreen(XtScreen(button)));
    GC gc = XCreateGC(d, canvas, 0, nullptr);
    XSetForeground(d, gc, white);
    XFillRectangle(d, canvas, gc, 0, 0, 10, 10);
    withHole.render(canvas, 2, 2);
    EXPECT_EQ(drawablePixel(d, canvas, 2, 2), red);
    EXPECT_EQ(drawablePixel(d, canvas, 3, 3), white);
    opaque.render(canvas, 2, 2);
    EXPECT_EQ(drawablePixel(d, canvas, 3, 3), blue);
    XFreeGC(d, gc);
    XFreePixmap(d, canvas);
}

TEST(Color, anUnknownColourFallsBackWithOneWarningPerCall)
{
    TestParent parent("colourParent", 100, 100);
    parent.show();
    Widget w = parent.baseWidget();
    Screen* screen = XtScreen(w);
    WarningCatcher catcher(testContext());
    EXPECT_EQ(makeColorPixel(w, "no-such-colour", 1), BlackPixelOfScreen(screen));
    ASSERT_EQ(catcher.warnings().size(), 1u);
    EXPECT_EQ(catcher.warnings()[0], "Cannot allocate colormap entry for \"no-such-colour\"");
    EXPECT_EQ(makeColorPixel(w, "no-such-colour", 0), WhitePixelOfScreen(screen));
    EXPECT_EQ(catcher.warnings().size(), 2u);

    XColor c;
    c.pixel = makeColorPixel(w, "red", 0);
    EXPECT_EQ(catcher.warnings().size(), 2u);
    XQueryColor(XtDisplay(w), DefaultColormapOfScreen(screen), &c);
    EXPECT_EQ(c.red, 0xffff);
    EXPECT_EQ(c.green, 0);
}
