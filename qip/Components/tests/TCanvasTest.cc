#include <gtest/gtest.h>

#include "qip/Components/qipColor.h"
#include "qip/Components/qipTCanvas.h"
#include "qip/Components/tests/CanvasProbe.h"
#include "qip/Components/tests/TestApp.h"

#include <Xm/Form.h>

#include <climits>

using namespace canvas_probe;

namespace {

// Fills its first cell with the graphics context as refresh() receives it.
class TextPane : public qipTCanvas {
public:
    TextPane() : qipTCanvas("textPane")
    {
        resizeCanvas(80, 200);
        viewSize(30, 8);
    }
    void refresh(Drawable d, qipView) override
    {
        XFillRectangle(display(), d, gc(), 4, 4, hPixels(), vPixels());
        ++refreshes;
    }
    int refreshes = 0;
};

// The metrics the server gives for `name`.
struct Metrics {
    int width, height, ascent;
};

Metrics serverMetrics(const char* name)
{
    Metrics m{0, 0, 0};
    XFontStruct* f = XLoadQueryFont(testApp()->display(), name);
    if (f) {
        m = Metrics{f->max_bounds.width, f->ascent + f->descent, f->ascent};
        XFreeFont(testApp()->display(), f);
    }
    return m;
}

}  // namespace

TEST(TextCanvasFont, linesAreOnePointFourFontHeightsApart)
{
    testApp();
    Metrics m = serverMetrics("6x10");
    ASSERT_EQ(m.height, 10) << "the 6x10 core font is 10 pixels high";
    TextPane pane;
    ASSERT_EQ(pane.setFont("6x10"), 0);
    EXPECT_EQ(pane.charWidth(), m.width);
    EXPECT_EQ(pane.charHeight(), 10);
    EXPECT_EQ(pane.baseline(), m.ascent);
    EXPECT_EQ(pane.hPixels(), m.width);
    EXPECT_EQ(pane.vPixels(), 14);
    ASSERT_NE(pane.fontInfo(), nullptr);
    EXPECT_EQ(pane.font(), pane.fontInfo()->fid);

    Metrics big = serverMetrics("10x20");
    ASSERT_EQ(pane.setFont("10x20"), 0);
    EXPECT_EQ(pane.vPixels(), big.height * 7 / 5);
}

TEST(TextCanvasFont, anUnusableNameChangesNothing)
{
    testApp();
    TextPane pane;
    ASSERT_EQ(pane.setFont("6x10"), 0);
    EXPECT_EQ(pane.setFont(nullptr), -1);
    EXPECT_EQ(pane.setFont(""), -1);
    EXPECT_EQ(pane.setFont("-nobody-nosuchfont-*"), -1);
    EXPECT_EQ(pane.charHeight(), 10);
    EXPECT_EQ(pane.vPixels(), 14);
}

TEST(TextCanvasFont, repWidthCountsDigits)
{
    EXPECT_EQ(qipTCanvas::repWidth(0, 10), 1);
    EXPECT_EQ(qipTCanvas::repWidth(9, 10), 1);
    EXPECT_EQ(qipTCanvas::repWidth(10, 10), 2);
    EXPECT_EQ(qipTCanvas::repWidth(99999, 10), 5);
    EXPECT_EQ(qipTCanvas::repWidth(255, 16), 2);
    EXPECT_EQ(qipTCanvas::repWidth(256, 16), 3);
    EXPECT_EQ(qipTCanvas::repWidth(ULONG_MAX, 2), int(sizeof(unsigned long) * CHAR_BIT));
}

TEST(TextCanvasInstalled, fixedIsTheDefaultAndTheTextColourReachesRefresh)
{
    TestParent parent("tcanvasParent");
    TextPane pane;
    EXPECT_EQ(pane.setTextColor("red"), -1);
    pane.install(&parent);
    Metrics fixed = serverMetrics("Fixed");
    EXPECT_EQ(pane.charHeight(), fixed.height);
    EXPECT_EQ(pane.vPixels(), fixed.height * 7 / 5);
    EXPECT_EQ(pane.textColor(), pane.foreground());

    ASSERT_EQ(pane.setTextColor("red"), 0);
    Pixel red = makeColorPixel(pane.drawingArea(), "red", 0);
    EXPECT_EQ(pane.textColor(), red);
    parent.show();
    ASSERT_EQ(pane.render(), 0);
    EXPECT_EQ(pixelAt(pane.drawingArea(), 5, 5), red);
}

TEST(TextCanvasInstalled, aDrawingAreaOf140PixelsShowsTenLinesOfA10PixelFont)
{
    TestParent parent("tcanvasResize", 400, 400);
    TextPane pane;
    ASSERT_EQ(pane.setFont("6x10"), 0);
    pane.install(&parent);
    XtVaSetValues(pane.baseWidget(), XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    parent.show();
    Widget area = pane.drawingArea();
    XtVaSetValues(area, XmNheight, 140, nullptr);
    settle(100);
    ASSERT_EQ(height(area), 140);
    EXPECT_EQ(pane.view()._dy, 10);
    XtVaSetValues(area, XmNheight, 154, nullptr);
    settle(100);
    EXPECT_EQ(pane.view()._dy, 11);
}
