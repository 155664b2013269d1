#include <benchmark/benchmark.h>

#include <X11/Intrinsic.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"
#include "app/shell/LmxStsBar.h"
#include "app/messages/MsgArea.h"
#include "bench/BenchApp.h"
#include "qip/Components/qipApplication.h"

// The message area with 100,000 messages listed: what a burst of arriving
// messages costs, and that stepping and scrolling cost what the screen shows,
// not what the list holds. Needs DISPLAY.

namespace {

const int bigList = 100000;
const long token = 77777;

// The loop runs until nothing is pending, as between two user actions.
void drain()
{
    XtAppContext c = theApplication->appContext();
    XSync(XtDisplay(theApplication->baseWidget()), False);
    while (XtAppPending(c))
        XtAppProcessEvent(c, XtIMAll);
}

ErrorMsg* message(int i)
{
    ErrorMsg* m = new ErrorMsg(token);
    std::string h = "<rt><host><d><12:00:00><1><0><CATEGORY_" + std::to_string(i % 17) + "><src/f" +
                    std::to_string(i) + ".c><" + std::to_string(i) + ">";
    m->extract(&h[0]);
    m->body("A message body\n<BEGINSTACKTRACE>\n<src/a.c:1>  f()\n<ENDSTACKTRACE>", 50);
    return m;
}

// The message area installed in a shell, with one client of `bigList`
// messages; made once.
MsgArea* bigArea(double* burstSeconds = nullptr)
{
    static MsgArea* area = nullptr;
    static double burst = 0;
    if (!area) {
        qipVCell* parent = benchParent();
        if (!parent)
            return nullptr;
        theStatusBar = new LmxStsBar("statusBar");
        area = theMessageContainer = new MsgArea("msgArea");
        area->install(parent);
        drain();
        ConxnMsg* signOn = new ConxnMsg(token);
        char header[] = "<Runtime><1><bench><1000><host><12:00:00>";
        signOn->extract(header);
        area->clientSignOn(new LmxClient(signOn));
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < bigList; ++i)
            area->newMessage(token, message(i));
        drain();
        burst = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (burstSeconds)
        *burstSeconds = burst;
    return area;
}

void BM_BurstOf100000Messages(benchmark::State& state)
{
    double seconds = 0;
    if (!bigArea(&seconds)) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    for (auto _ : state)
        state.SetIterationTime(seconds);
    state.counters["lines"] = bigArea()->headers().canvasHeight();
}
BENCHMARK(BM_BurstOf100000Messages)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// j and k at the end of the list, each with its redraw.
void BM_StepAtTheEndOfTheList(benchmark::State& state)
{
    MsgArea* area = bigArea();
    if (!area) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    MsgHeaders& h = area->headers();
    h.cursor().locate(bigList - 10);
    h.vertScroll(bigList - 20);
    for (auto _ : state) {
        h.next();
        h.prev();
        drain();
    }
}
BENCHMARK(BM_StepAtTheEndOfTheList)->Unit(benchmark::kMicrosecond);

// Scrolling by a page anywhere in the list.
void BM_ScrollAPage(benchmark::State& state)
{
    MsgArea* area = bigArea();
    if (!area) {
        state.SkipWithError("no DISPLAY");
        return;
    }
    MsgHeaders& h = area->headers();
    int line = 0;
    for (auto _ : state) {
        line = (line + 997) % bigList;
        h.vertScroll(line);
        h.render();
        drain();
    }
}
BENCHMARK(BM_ScrollAPage)->Unit(benchmark::kMicrosecond);

}  // namespace
