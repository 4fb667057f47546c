// Cost of today's URL model per link: resolving a reference found in a page,
// normalising a typed URL, and naming the local file. A page's links are
// resolved one by one, so this bounds how fast a crawl can add them.
#include "web/today_local_name.h"
#include "web/today_url.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr const char* kBase = "https://docs.example.org/3.11/library/functions.html";
// What a documentation page links to: siblings, parents with fragments,
// root-relative assets with version queries, other hosts, fragments alone,
// and Japanese names.
const char* const kLinks[] = {"stdtypes.html#str",
                              "../reference/datamodel.html#object.__len__",
                              "/3.11/_static/pydoctheme.css?2022.1",
                              "https://www.python.org/",
                              "#built-in-functions",
                              "../_images/\xE5\x9B\xB3\xE8\xA7\xA3.png",
                              "//cdn.example.net/js/search.js?v=3",
                              "mailto:docs@example.org"};

void ResolveLinks(benchmark::State& state)
{
    size_t bytes = 0;
    for (auto _ : state)
        for (const char* link : kLinks)
            bytes += zorone::today::ResolveLink(kBase, link).size();
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * std::size(kLinks)));
}
BENCHMARK(ResolveLinks);

void NormaliseTypedUrl(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(zorone::today::NormaliseUrl("HTTPS://Docs.Example.org:443/3.11/%7euser/a%2fb?x=%41"));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(NormaliseTypedUrl);

void NameLocalFile(benchmark::State& state)
{
    const std::string url = "https://docs.example.org/3.11/library/%E5%9B%B3%E8%A7%A3/index?page=2";
    for (auto _ : state)
        benchmark::DoNotOptimize(zorone::today::LocalRelativePath(url, "text/html; charset=utf-8"));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(NameLocalFile);

} // namespace

BENCHMARK_MAIN();
