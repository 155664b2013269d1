#include <benchmark/benchmark.h>

#include <X11/Intrinsic.h>
#include <Xm/Form.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>

#include "qip/Components/qipApplication.h"
#include "qip/Components/qipTCanvas.h"

// Redrawing a text pane: the header list may hold 100,000 lines, and every
// selection or scroll redraws it, so a render must cost what the view shows
// whatever the size of the content and wherever the view is. Needs DISPLAY.

#include "bench/BenchApp.h"

namespace {

// Draws one text line per visible line, as the list panes do.
class LinesPane : public qipTCanvas {
public:
    LinesPane() : qipTCanvas("linesPane") {}
    void refresh(Drawable d, qipView v) override
    {
        char text[64];
        for (int i = 0; i < v._dy && v._y + i < _canvasHeight; ++i) {
            int n = snprintf(text, sizeof text, "line %d of the pane", v._y + i);
            XDrawString(_display, d, _gc, 3, i * _vPixels + _baseline, text, n);
        }
    }
};

void BM_RenderTextPane(benchmark::State& state)
{
    qipVCell* parent = benchParent();
    if (!parent) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    LinesPane pane;
    pane.resizeCanvas(90, static_cast<int>(state.range(0)));
    pane.viewSize(90, 25);
    pane.install(parent);
    Display* d = XtDisplay(pane.baseWidget());
    XSync(d, False);
    XtAppContext context = theApplication->appContext();
    while (XtAppPending(context))
        XtAppProcessEvent(context, XtIMAll);
    // The view at the end of the content.
    pane.vertScroll(pane.canvasHeight());
    for (auto _ : state) {
        pane.render();
        XSync(d, False);
    }
    XtDestroyWidget(pane.baseWidget());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderTextPane)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
