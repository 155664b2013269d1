#include <benchmark/benchmark.h>

#include <cstdio>

#include "app/records/ConxnMsg.h"
#include "app/records/ErrorMsg.h"
#include "app/sessions/LmxClient.h"

// Sorting a client's messages: the user toggles the order of every client
// with one button, so a large session must re-sort without a visible pause.
static void BM_SortClient(benchmark::State& state)
{
    LmxClient client(new ConxnMsg(1));
    const int n = static_cast<int>(state.range(0));
    unsigned seed = 12345;
    for (int i = 0; i < n; ++i) {
        ErrorMsg* m = new ErrorMsg(1);
        seed = seed * 1103515245u + 12345u;
        char text[32];
        snprintf(text, sizeof text, "%02u:%02u:%02u.%05u", (seed >> 8) % 24, (seed >> 13) % 60, (seed >> 19) % 60, i);
        m->_time = text;
        snprintf(text, sizeof text, "CAT%03u", (seed >> 4) % 200);
        m->_errorCategory = text;
        client.append(m);
    }
    int by = sortByErrorCategory;
    for (auto _ : state) {
        client.sort(static_cast<SortBy>(by));
        by = by == sortByTime ? sortByErrorCategory : sortByTime;
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_SortClient)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
