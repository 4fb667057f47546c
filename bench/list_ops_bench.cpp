// Whole-list operations on a 100000-row list: sorting, duplicate removal and
// the CSV writer and reader, each with the status line and progress bar
// updates it makes for every row. Each should stay well under a second.
#include "engine/core.h"
#include "listops/list_files.h"
#include "listops/list_maintenance.h"
#include "listops/list_sort.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zorone;

constexpr int kRows = 100000;

// A headless core; the loop has nothing queued, so each dispatch point costs
// what it costs when the window is idle.
struct Bench {
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    Core core { loop, ui, nullptr };

    Bench() { ui.QueueAnswer(platform::MbAnswer::Yes); }
};

// Rows as a crawl of a large site leaves them: mostly done, some waiting,
// one URL in twenty listed twice, Japanese file names here and there.
void Fill(Core& core)
{
    core.list.DeleteAllItems();
    for (int i = 0; i < kRows; ++i) {
        const int n = i % 20 == 0 ? i / 2 : i;
        const std::string name = (n % 9 == 0 ? std::string("\x8f\xa4\x95\x69") : std::string("page"))
            + std::to_string(n * 7919 % kRows) + (n % 4 == 0 ? ".jpg" : ".html");
        DownloadItem item;
        item.cols[kColMark] = i % 3 == 0 ? "\x81\x7c" : "\x81\x9b";
        item.cols[kColFileName] = name;
        item.cols[kColExtension] = n % 4 == 0 ? "jpg" : "html";
        item.cols[kColSize] = std::to_string(n * 37 % 100000);
        item.cols[kColUrl] = "http://www.example.co.jp/dir" + std::to_string(n % 100) + "/" + name;
        core.list.InsertRow(core.list.GetItemCount(), std::move(item));
    }
}

void BM_SortByFileName(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(b.core);
        b.ui.QueueAnswer(platform::MbAnswer::Yes);
        state.ResumeTiming();
        SortByColumn(b.core, kColFileName);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_SortByFileName)->Unit(benchmark::kMillisecond);

void BM_RemoveDuplicateURLs(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(b.core);
        b.ui.QueueAnswer(platform::MbAnswer::Yes);
        state.ResumeTiming();
        RemoveDuplicateURLs(b.core);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_RemoveDuplicateURLs)->Unit(benchmark::kMillisecond);

void BM_BuildCsvText(benchmark::State& state)
{
    Bench b;
    Fill(b.core);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = BuildCsvText(b.core);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_BuildCsvText)->Unit(benchmark::kMillisecond);

void BM_ParseCsvText(benchmark::State& state)
{
    Bench b;
    Fill(b.core);
    const std::string text = BuildCsvText(b.core);
    for (auto _ : state) {
        state.PauseTiming();
        b.core.list.DeleteAllItems();
        state.ResumeTiming();
        ParseCsvText(b.core, text);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseCsvText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
