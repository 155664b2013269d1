#include <gtest/gtest.h>

#include "qip/Components/qipColor.h"
#include "qip/Components/qipIcon.h"
#include "qip/Components/tests/TestApp.h"
#include "qip/Components/tests/ToolkitProbe.h"

#include <Xm/PushB.h>
#include <Xm/Xm.h>

namespace {

const char* holed[] = {"4 4 2 1", ". c None", "r c #ff0000", "rrrr", "r..r", "r..r", "rrrr"};
const char* solid[] = {"4 4 2 1", "g c #00ff00", "b c #0000ff", "gggg", "gbbg", "gbbg", "gggg"};
const char* blended[] = {"4 4 2 1", "x s background c #00ff00", "b c #0000ff", "xxxx", "xbbx", "xbbx", "xxxx"};

char** xpm(const char** data) { return const_cast<char**>(data); }

// A realized push button that icons are made for.
class IconTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent = new TestParent("iconParent", 200, 100);
        button = XtVaCreateManagedWidget("target", xmPushButtonWidgetClass, parent->clientArea(), nullptr);
        parent->show();
        display = XtDisplay(button);
    }
    void TearDown() override { delete parent; }

    TestParent* parent = nullptr;
    Widget button = nullptr;
    Display* display = nullptr;
};

}  // namespace

TEST_F(IconTest, aTransparentColourMakesAMaskAndAnOpaqueIconHasNone)
{
    qipIcon withHole(xpm(holed));
    withHole.install(button);
    ASSERT_NE(withHole.image(), 0u);
    ASSERT_NE(withHole.mask(), 0u);
    EXPECT_EQ(withHole.width(), 4u);
    EXPECT_EQ(drawablePixel(display, withHole.mask(), 1, 1), 0u);
    EXPECT_EQ(drawablePixel(display, withHole.mask(), 0, 0), 1u);

    qipIcon opaque(xpm(solid));
    opaque.install(button);
    ASSERT_NE(opaque.image(), 0u);
    EXPECT_EQ(opaque.mask(), 0u);
}

TEST_F(IconTest, theBackgroundSymbolTakesTheWidgetsBackground)
{
    Pixel background = 0;
    XtVaGetValues(button, XmNbackground, &background, nullptr);
    qipIcon icon(xpm(blended));
    icon.install(button);
    ASSERT_NE(icon.image(), 0u);
    EXPECT_EQ(drawablePixel(display, icon.image(), 0, 0), background);
    EXPECT_EQ(drawablePixel(display, icon.image(), 1, 1), makeColorPixel(button, "#0000ff", 0));
}

TEST_F(IconTest, renderingClipsToTheMaskOnlyWhenThereIsOne)
{
    Window root = RootWindowOfScreen(XtScreen(button));
    int depth = DefaultDepthOfScreen(XtScreen(button));
    Pixmap canvas = XCreatePixmap(display, root, 10, 10, depth);
    GC gc = XCreateGC(display, canvas, 0, nullptr);
    Pixel white = WhitePixelOfScreen(XtScreen(button));
    XSetForeground(display, gc, white);
    XFillRectangle(display, canvas, gc, 0, 0, 10, 10);

    qipIcon withHole(xpm(holed));
    withHole.install(button);
    withHole.render(canvas, 2, 2);
    EXPECT_EQ(drawablePixel(display, canvas, 2, 2), makeColorPixel(button, "#ff0000", 0));
    EXPECT_EQ(drawablePixel(display, canvas, 3, 3), white);

    qipIcon opaque(xpm(solid));
    opaque.install(button);
    opaque.render(canvas, 2, 2);
    EXPECT_EQ(drawablePixel(display, canvas, 3, 3), makeColorPixel(button, "#0000ff", 0));

    XFreeGC(display, gc);
    XFreePixmap(display, canvas);
}

TEST_F(IconTest, anUnknownColourFallsBackWithOneWarningPerCall)
{
    WarningCatcher warnings;
    Screen* screen = XtScreen(button);
    EXPECT_EQ(makeColorPixel(button, "no-such-colour", 1), BlackPixelOfScreen(screen));
    EXPECT_EQ(warnings.count(), 1);
    EXPECT_EQ(warnings.last(), "Cannot allocate colormap entry for \"no-such-colour\"");
    EXPECT_EQ(makeColorPixel(button, "no-such-colour", 0), WhitePixelOfScreen(screen));
    EXPECT_EQ(warnings.count(), 2);

    Pixel red = makeColorPixel(button, "red", 0);
    EXPECT_EQ(warnings.count(), 2);
    XColor c;
    c.pixel = red;
    XQueryColor(display, DefaultColormapOfScreen(screen), &c);
    EXPECT_EQ(c.red, 0xffff);
    EXPECT_EQ(c.green, 0);
}
