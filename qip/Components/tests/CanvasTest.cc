#include <gtest/gtest.h>

#include "qip/Components/qipCanvas.h"
#include "qip/Components/qipColor.h"
#include "qip/Components/qipVertScrollBar.h"
#include "qip/Components/tests/CanvasProbe.h"
#include "qip/Components/tests/TestApp.h"

#include <X11/extensions/XTest.h>
#include <Xm/Form.h>

#include <vector>

using namespace canvas_probe;

namespace {

const int CellW = 8;
const int CellH = 10;

// Content of 40 x 100 cells, one of which (5, 7) is marked; every view drawn
// and every vertScroll() is recorded.
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
    void vertScroll(int line) override
    {
        scrolledTo.push_back(line);
        qipCanvas::vertScroll(line);
    }

    enum { MarkCol = 5, MarkLine = 7 };
    Pixel mark = 0;
    std::vector<qipView> views;
    std::vector<int> scrolledTo;
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

    // Centre of the window pixel of content cell (col, line) in the current view.
    unsigned long cellPixel(int col, int line)
    {
        const qipView& v = canvas.view();
        return pixelAt(area, (col - v._x) * CellW + CellW / 2, (line - v._y) * CellH + CellH / 2);
    }

    TestParent* parent = nullptr;
    MarkedCanvas canvas;
    Widget area = nullptr;
};

}  // namespace

TEST(CanvasAlone, nothingIsDrawnWithoutAWindowOrWithAnEmptyView)
{
    MarkedCanvas c;
    EXPECT_EQ(c.render(), -1);
    EXPECT_EQ(c.render(qipView(0, 0, 0, 5)), -1);
    EXPECT_TRUE(c.views.empty());
    EXPECT_EQ(c.drawingArea(), nullptr);
}

TEST_F(CanvasTest, theWindowShowsWhatRefreshDrewInsideABevel)
{
    ASSERT_FALSE(canvas.views.empty()) << "the first expose renders";
    EXPECT_STREQ(XtName(area), "marked");
    ASSERT_EQ(canvas.render(), 0);
    EXPECT_EQ(canvas.views.back(), canvas.view());
    EXPECT_EQ(cellPixel(MarkedCanvas::MarkCol, MarkedCanvas::MarkLine), canvas.mark);
    EXPECT_EQ(cellPixel(MarkedCanvas::MarkCol + 1, MarkedCanvas::MarkLine), canvas.background());
    EXPECT_EQ(cellPixel(MarkedCanvas::MarkCol, MarkedCanvas::MarkLine + 1), canvas.background());

    int w = width(area), h = height(area);
    EXPECT_EQ(pixelAt(area, 0, h / 2), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, 1, h / 2), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, w / 2, 1), canvas.topShadow());
    EXPECT_EQ(pixelAt(area, w - 1, h / 2), canvas.bottomShadow());
    EXPECT_EQ(pixelAt(area, w - 2, h / 2), canvas.bottomShadow());
    EXPECT_EQ(pixelAt(area, w / 2, h - 2), canvas.bottomShadow());
    EXPECT_EQ(pixelAt(area, 2, h / 2), canvas.background());
}

TEST_F(CanvasTest, aRenderDrawsOnlyTheViewAndMovesThePicture)
{
    canvas.vertScroll(4);
    canvas.horizScroll(2);
    canvas.views.clear();
    ASSERT_EQ(canvas.render(), 0);
    ASSERT_EQ(canvas.views.size(), 1u);
    EXPECT_EQ(canvas.views[0]._y, 4);
    EXPECT_EQ(canvas.views[0]._x, 2);
    EXPECT_EQ(pixelAt(area, 3 * CellW + 4, 3 * CellH + 5), canvas.mark);
    EXPECT_EQ(pixelAt(area, 5 * CellW + 4, 7 * CellH + 5), canvas.background());

    // Scrolled out of the view: the mark is gone.
    canvas.vertScroll(50);
    ASSERT_EQ(canvas.render(), 0);
    for (int line = 0; line < canvas.view()._dy; ++line)
        EXPECT_NE(pixelAt(area, 3 * CellW + 4, line * CellH + 5), canvas.mark) << line;
}

TEST_F(CanvasTest, theScrollBarArrowScrollsAndRenders)
{
    Widget bar = canvas.vertScrollBar()->baseWidget();
    int x, y;
    rootPoint(bar, width(bar) / 2, height(bar) - 4, x, y);
    Display* d = XtDisplay(bar);
    canvas.views.clear();
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
    ASSERT_TRUE(lumox_test::runLoopUntil(testContext(), [&] { return !canvas.scrolledTo.empty(); }));
    settle();
    EXPECT_EQ(canvas.scrolledTo[0], 1);
    EXPECT_EQ(canvas.view()._y, 1);
    ASSERT_FALSE(canvas.views.empty());
    EXPECT_EQ(canvas.views.back()._y, 1);
    EXPECT_EQ(cellPixel(MarkedCanvas::MarkCol, MarkedCanvas::MarkLine), canvas.mark);
    EXPECT_EQ(pixelAt(area, 5 * CellW + 4, 6 * CellH + 5), canvas.mark);
}

TEST_F(CanvasTest, resizingTheDrawingAreaResizesTheViewInWholeCells)
{
    XtVaSetValues(parent->shell(), XmNwidth, 400, XmNheight, 300, nullptr);
    XtVaSetValues(canvas.baseWidget(), XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM,
                  XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, nullptr);
    settle(150);
    int w = width(area), h = height(area);
    EXPECT_GT(h, 10 * CellH);
    EXPECT_EQ(canvas.view()._dx, w / CellW);
    EXPECT_EQ(canvas.view()._dy, h / CellH);
    EXPECT_EQ(canvas.vertScrollBar()->pageLength(), h / CellH);
}
