// Per-item costs of the engine: adding a URL to lists of growing length (the
// duplicate rule must not scan the list) and rebuilding the summary.
#include "engine/add_url.h"
#include "engine/core.h"
#include "engine/output.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "settings/settings.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zorone;

// A UI service that records nothing: the headless one keeps every call.
class SilentUi final : public platform::HeadlessUi {
};

void FillList(Core& core, int rows)
{
    for (int i = 0; i < rows; ++i) {
        const int r = core.list.InsertItem(i, res::kMarkDone);
        core.list.SetItemText(r, kColUrl, "http://host/dir/page" + std::to_string(i) + ".html");
    }
}

void BM_AddURL(benchmark::State& state)
{
    platform::HeadlessLoop loop;
    SilentUi ui;
    Core core(loop, ui, nullptr);
    core.settings = DefaultSettings("/tmp/");
    core.settings.m_sTopURL = "http://host/dir/top.html";
    FillList(core, static_cast<int>(state.range(0)));
    const int base = core.list.GetItemCount();
    int n = 0;
    for (auto _ : state) {
        // Half new URLs, half duplicates of rows already listed.
        const std::string url = (n % 2) ? "http://host/dir/new" + std::to_string(n) + ".html"
                                        : "http://host/dir/page" + std::to_string(n % (base + 1)) + ".html";
        benchmark::DoNotOptimize(AddURL(core, url));
        ++n;
    }
    state.counters["rows"] = static_cast<double>(core.list.GetItemCount());
}
BENCHMARK(BM_AddURL)->Arg(0)->Arg(10000)->Arg(100000);

void BM_UpdateSummary(benchmark::State& state)
{
    platform::HeadlessLoop loop;
    SilentUi ui;
    Core core(loop, ui, nullptr);
    core.settings = DefaultSettings("/tmp/");
    for (int i = 0; i < state.range(0); ++i)
        for (int k = 0; k <= i % 7; ++k)
            core.tally.TallyListed("e" + std::to_string(i));
    for (auto _ : state)
        UpdateSummary(core);
}
BENCHMARK(BM_UpdateSummary)->Arg(100);

} // namespace

BENCHMARK_MAIN();
