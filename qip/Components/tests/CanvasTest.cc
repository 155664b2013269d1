#include <gtest/gtest.h>

#include "qip/Components/qipCanvas.h"
#include "qip/Components/qipColor.h"
#include "qip/Components/qipHorizScrollBar.h"
#include "qip/Components/qipScrolledWindow.h"
#include "qip/Components/qipTCanvas.h"
#include "qip/Components/qipVertScrollBar.h"
#include "qip/Components/testsupport/TestApp.h"
#include "tests/support/XTestInput.h"

#include <Xm/Form.h>
#include <Xm/ScrollBar.h>

#include <vector>

using namespace lumox_test;

namespace {

// The view arithmetic alone: nothing is drawn.
class ViewOnly : public qipScrolledWindow {
public:
    explicit ViewOnly(const char* name = "viewOnly") : qipScrolledWindow(name) {}
    int render(qipView) override { return 0; }
    int render() override { return 0; }
};

struct BarValues {
    int value, max, slider, pageIncrement;
};

BarValues barValues(qipScrollBar* bar)
{
    BarValues b{};
    XtVaGetValues(bar->baseWidget(), XmNvalue, &b.value, XmNmaximum, &b.max, XmNsliderSize, &b.slider,
                  XmNpageIncrement, &b.pageIncrement, nullptr);
    return b;
}

// Inner size of a widget, without its border.
void sizeOf(Widget w, int& width, int& height)
{
    Dimension dw = 0, dh = 0;
    XtVaGetValues(w, XmNwidth, &dw, XmNheight, &dh, nullptr);
    width = dw;
    height = dh;
}

const int CellW = 8;
const int CellH = 10;

// Content of 40 x 100 cells, one of which (5, 7) is marked; every view drawn
// is recorded.
class MarkedCanvas : public qipCanvas {
public:
    MarkedCanvas() : qipCanvas("marked")
    {
        setCellSize(CellW, CellH);
        resizeCanvas(40, 100);
        viewSize(20, 10);
    }
    void refresh(Drawable d, qipView v) override
    {
        views.push_back(v);
        XSetForeground(display(), gc(), mark);
        XFillRectangle(display(), d, gc(), (MarkCol - v._x) * CellW, (MarkLine - v._y) * CellH, CellW, CellH);
    }
    enum { MarkCol = 5, MarkLine = 7 };
    Pixel mark = 0;
    std::vector<qipView> views;
};

class CanvasTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent = new TestParent("canvasParent", 300, 200);
        canvas.install(parent);
        canvas.mark = makeColorPixel(canvas.drawingArea(), "red", 0);
        parent->show();
        area = canvas.drawingArea();
        settle();
    }
    void TearDown() override { delete parent; }

    // The window pixel in the middle of the marked cell in the current view.
    unsigned long markPixel()
    {
        const qipView& v = canvas.view();
        return pixelAt(area, (MarkedCanvas::MarkCol - v._x) * CellW + CellW / 2,
                       (MarkedCanvas::MarkLine - v._y) * CellH + CellH / 2);
    }

    TestParent* parent = nullptr;
    MarkedCanvas canvas;
    Widget area = nullptr;
};

// Fills its first cell with the graphics context as refresh() receives it.
class TextPane : public qipTCanvas {
public:
    TextPane() : qipTCanvas("textPane")
    {
        resizeCanvas(80, 200);
        viewSize(30, 8);
    }
    void refresh(Drawable d, qipView) override { XFillRectangle(display(), d, gc(), 4, 4, hPixels(), vPixels()); }
};

// The height and ascent the server gives for the font `name`.
int fontHeight(const char* name, int* ascent = nullptr)
{
    XFontStruct* f = XLoadQueryFont(testApp()->display(), name);
    if (!f)
        return 0;
    int h = f->ascent + f->descent;
    if (ascent)
        *ascent = f->ascent;
    XFreeFont(testApp()->display(), f);
    return h;
}

}  // namespace

TEST(ScrolledWindowView, theViewStaysInsideTheContentAndShortContentStartsAtZeroOrIsCentred)
{
    ViewOnly shortContent;
    shortContent.resizeCanvas(5, 3);
    shortContent.viewSize(10, 10);
    shortContent.viewPosition(4, 2);
    EXPECT_EQ(shortContent.view(), qipView(0, 0, 10, 10));
    shortContent.centerWhenOversize(1);
    shortContent.viewPosition(4, 2);
    // (3 - 10) / 2 and (5 - 10) / 2, rounded toward zero.
    EXPECT_EQ(shortContent.view()._y, -3);
    EXPECT_EQ(shortContent.view()._x, -2);

    ViewOnly w;
    w.resizeCanvas(80, 100);
    w.viewSize(20, 10);
    w.vertScroll(95);
    EXPECT_EQ(w.view()._y, 90);
    w.vertIScroll(50);
    EXPECT_EQ(w.view()._y, 90);
    w.vertIScroll(-7);
    EXPECT_EQ(w.view()._y, 83);
    w.vertScroll(-4);
    EXPECT_EQ(w.view()._y, 0);
    w.horizScroll(70);
    EXPECT_EQ(w.view()._x, 60);
    w.horizIScroll(-100);
    EXPECT_EQ(w.view()._x, 0);

    // Shrinking the content pulls the view back; sizes stay positive.
    w.vertScroll(90);
    w.resizeCanvas(80, 50);
    EXPECT_EQ(w.view()._y, 40);
    w.resizeCanvas(0, -5);
    EXPECT_EQ(w.canvasWidth(), 1);
    EXPECT_EQ(w.canvasHeight(), 1);
    EXPECT_EQ(w.view(), qipView(0, 0, 20, 10));
}

TEST(ScrolledWindowBars, theMotifBarsFollowTheView)
{
    TestParent parent("barsParent");
    ViewOnly w("bars");
    w.resizeCanvas(40, 3);
    w.viewSize(20, 10);
    w.install(&parent);
    parent.show();
    ASSERT_TRUE(w.vertScrollBar() && w.horizScrollBar());
    EXPECT_STREQ(XtName(w.vertScrollBar()->baseWidget()), "bars_vsb");
    EXPECT_STREQ(XtName(w.horizScrollBar()->baseWidget()), "bars_hsb");

    // Three lines in ten: the slider covers the whole range.
    BarValues v = barValues(w.vertScrollBar());
    EXPECT_EQ(v.value, 0);
    EXPECT_EQ(v.max, 3);
    EXPECT_EQ(v.slider, 3);

    w.resizeCanvas(40, 100);
    w.vertScroll(40);
    w.horizScroll(7);
    v = barValues(w.vertScrollBar());
    EXPECT_EQ(v.value, 40);
    EXPECT_EQ(v.max, 100);
    EXPECT_EQ(v.slider, 10);
    EXPECT_EQ(v.pageIncrement, 9);
    BarValues h = barValues(w.horizScrollBar());
    EXPECT_EQ(h.value, 7);
    EXPECT_EQ(h.max, 40);
    EXPECT_EQ(h.slider, 20);

    // A view with no lines still has a one-line page.
    w.viewSize(20, 0);
    EXPECT_EQ(w.vertScrollBar()->pageLength(), 1);
    v = barValues(w.vertScrollBar());
    EXPECT_EQ(v.slider, 1);
    EXPECT_EQ(v.pageIncrement, 1);
}

TEST(CanvasAlone, nothingIsDrawnWithoutAWindowOrWithAnEmptyView)
{
    MarkedCanvas c;
    EXPECT_EQ(c.render(), -1);
    EXPECT_EQ(c.render(qipView(0, 0, 0, 5)), -1);
    EXPECT_TRUE(c.views.empty());
}

TEST_F(CanvasTest, theWindowShowsTheViewThatRefreshDrewInsideABevel)
{
    ASSERT_FALSE(canvas.views.empty()) << "the first expose renders";
    EXPECT_STREQ(XtName(area), "marked");
    EXPECT_EQ(markPixel(), canvas.mark);
    const int x = MarkedCanvas::MarkCol * CellW + CellW / 2, y = MarkedCanvas::MarkLine * CellH + CellH / 2;
    EXPECT_EQ(pixelAt(area, x + CellW, y), canvas.background());
    EXPECT_EQ(pixelAt(area, x, y + CellH), canvas.background());

    int w, h;
    sizeOf(area, w, h);
    EXPECT_EQ(pixelAt(area, 0, h / 2), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, 1, h / 2), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, w / 2, 1), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, w - 2, h / 2), canvas.bottomShadow());
    EXPECT_EQ(pixelAt(area, w / 2, h - 2), canvas.bottomShadow());
    EXPECT_EQ(pixelAt(area, 2, h / 2), canvas.background());

    // A render draws only the view, wherever it has moved.
    canvas.vertScroll(4);
    canvas.horizScroll(2);
    canvas.views.clear();
    ASSERT_EQ(canvas.render(), 0);
    ASSERT_EQ(canvas.views.size(), 1u);
    EXPECT_EQ(canvas.views[0]._y, 4);
    EXPECT_EQ(canvas.views[0]._x, 2);
    EXPECT_EQ(pixelAt(area, 3 * CellW + 4, 3 * CellH + 5), canvas.mark);
    EXPECT_EQ(pixelAt(area, x, y), canvas.background());
    canvas.vertScroll(50);
    ASSERT_EQ(canvas.render(), 0);
    EXPECT_EQ(countPixels(XtDisplay(area), XtWindow(area), 0, 0, w, h, canvas.mark), 0);
}

TEST_F(CanvasTest, theScrollBarArrowScrollsAndRenders)
{
    Widget bar = canvas.vertScrollBar()->baseWidget();
    int x, y, w, h;
    sizeOf(bar, w, h);
    rootPoint(bar, w / 2, h - 4, x, y);
    canvas.views.clear();
    click(XtDisplay(bar), x, y);
    ASSERT_TRUE(runLoopUntil(testContext(), [&] { return canvas.view()._y != 0; }));
    settle();
    EXPECT_EQ(canvas.view()._y, 1);
    ASSERT_FALSE(canvas.views.empty());
    EXPECT_EQ(canvas.views.back()._y, 1);
    EXPECT_EQ(pixelAt(area, 5 * CellW + 4, 6 * CellH + 5), canvas.mark);
}

TEST(TextCanvas, linesAreOnePointFourFontHeightsApartAndAnUnusableFontChangesNothing)
{
    int ascent = 0;
    ASSERT_EQ(fontHeight("6x10", &ascent), 10) << "the 6x10 core font is 10 pixels high";
    TextPane pane;
    ASSERT_EQ(pane.setFont("6x10"), 0);
    EXPECT_EQ(pane.charHeight(), 10);
    EXPECT_EQ(pane.baseline(), ascent);
    EXPECT_EQ(pane.vPixels(), 14);
    for (const char* bad : {(const char*)nullptr, "", "-nobody-nosuchfont-*"})
        EXPECT_EQ(pane.setFont(bad), -1);
    EXPECT_EQ(pane.vPixels(), 14);
    ASSERT_EQ(pane.setFont("10x20"), 0);
    EXPECT_EQ(pane.vPixels(), fontHeight("10x20") * 7 / 5);

    EXPECT_EQ(qipTCanvas::repWidth(9, 10), 1);
    EXPECT_EQ(qipTCanvas::repWidth(10, 10), 2);
    EXPECT_EQ(qipTCanvas::repWidth(255, 16), 2);
    EXPECT_EQ(qipTCanvas::repWidth(256, 16), 3);
}

TEST(TextCanvas, installedItDrawsInFixedAndTheTextColourAndShowsWholeLinesOfItsFont)
{
    TestParent parent("tcanvasParent", 400, 400);
    TextPane pane;
    EXPECT_EQ(pane.setTextColor("red"), -1) << "no widget yet";
    pane.install(&parent);
    XtVaSetValues(pane.baseWidget(), XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, nullptr);
    EXPECT_EQ(pane.charHeight(), fontHeight("Fixed"));
    EXPECT_EQ(pane.textColor(), pane.foreground());
    ASSERT_EQ(pane.setTextColor("red"), 0);
    parent.show();
    ASSERT_EQ(pane.render(), 0);
    EXPECT_EQ(pixelAt(pane.drawingArea(), 5, 5), makeColorPixel(pane.drawingArea(), "red", 0));

    // A 10-pixel font in a drawing area of 140 pixels shows ten whole lines.
    ASSERT_EQ(pane.setFont("6x10"), 0);
    Widget area = pane.drawingArea();
    XtVaSetValues(area, XmNheight, 140, XmNwidth, 200, nullptr);
    settle(100);
    int w, h;
    sizeOf(area, w, h);
    ASSERT_EQ(h, 140);
    EXPECT_EQ(pane.view()._dy, 10);
    EXPECT_EQ(pane.view()._dx, w / pane.charWidth());
    EXPECT_EQ(pane.vertScrollBar()->pageLength(), 10);
    XtVaSetValues(area, XmNheight, 154, nullptr);
    settle(100);
    EXPECT_EQ(pane.view()._dy, 11);
}
