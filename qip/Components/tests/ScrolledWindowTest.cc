#include <gtest/gtest.h>

#include "qip/Components/qipHorizScrollBar.h"
#include "qip/Components/qipScrolledWindow.h"
#include "qip/Components/qipVertScrollBar.h"
#include "qip/Components/tests/CanvasProbe.h"
#include "qip/Components/tests/TestApp.h"

#include <Xm/ScrollBar.h>

namespace {

// The view arithmetic alone: nothing is drawn.
class ViewOnly : public qipScrolledWindow {
public:
    explicit ViewOnly(const char* name = "viewOnly") : qipScrolledWindow(name) {}
    int render(qipView) override { return 0; }
    int render() override { return 0; }
};

struct BarValues {
    int value, min, max, slider, pageIncrement;
};

BarValues barValues(qipScrollBar* bar)
{
    BarValues b{};
    XtVaGetValues(bar->baseWidget(), XmNvalue, &b.value, XmNminimum, &b.min, XmNmaximum, &b.max, XmNsliderSize,
                  &b.slider, XmNpageIncrement, &b.pageIncrement, nullptr);
    return b;
}

}  // namespace

TEST(ScrolledWindowView, contentShorterThanTheViewStartsAtZeroOrIsCentred)
{
    ViewOnly w;
    w.resizeCanvas(5, 3);
    w.viewSize(10, 10);
    w.viewPosition(4, 2);
    EXPECT_EQ(w.view(), qipView(0, 0, 10, 10));

    w.centerWhenOversize(1);
    w.viewPosition(4, 2);
    // (3 - 10) / 2 and (5 - 10) / 2, rounded toward zero.
    EXPECT_EQ(w.view()._y, -3);
    EXPECT_EQ(w.view()._x, -2);
}

TEST(ScrolledWindowView, scrollingStaysInsideTheContent)
{
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
    EXPECT_EQ(w.view()._dx, 20);
    EXPECT_EQ(w.view()._dy, 10);
}

TEST(ScrolledWindowView, shrinkingTheContentPullsTheViewBackAndSizesStayPositive)
{
    ViewOnly w;
    w.resizeCanvas(80, 100);
    w.viewSize(20, 10);
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
    ASSERT_NE(w.vertScrollBar(), nullptr);
    ASSERT_NE(w.horizScrollBar(), nullptr);
    EXPECT_STREQ(XtName(w.vertScrollBar()->baseWidget()), "bars_vsb");
    EXPECT_STREQ(XtName(w.horizScrollBar()->baseWidget()), "bars_hsb");

    // Three lines in ten: the slider covers the whole range.
    BarValues v = barValues(w.vertScrollBar());
    EXPECT_EQ(v.value, 0);
    EXPECT_EQ(v.min, 0);
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
    w.viewSize(20, 1);
    EXPECT_EQ(barValues(w.vertScrollBar()).pageIncrement, 1);
}
