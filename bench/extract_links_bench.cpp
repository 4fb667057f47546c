// Throughput of the link scanners (bytes of document per second) on generated
// pages that look like the ones a crawl meets: markup with the usual
// attributes, inline scripts and styles, comments, and Japanese text; and a
// present-day page with srcset, picture, lazy loading and style blocks.
// ScanLinks is the classic scanner, ScanReferences the one of today's rules.
#include "web/link_scanner.h"
#include "web/today_scanner.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::string_view kFolder = "http://www.example.co.jp/shop/items/";
constexpr std::string_view kTags = "href,background,src";

// A fixed-seed generator, so every run scans the same bytes.
class Random {
public:
    std::uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    std::uint32_t Below(std::uint32_t n) { return Next() % n; }
    template <typename T, size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }

private:
    std::uint32_t m_state = 12345;
};

const char* const kWords[] = {"the", "shop", "new", "item", "price", "order", "free", "shipping", "review",
                              "about", "contact", "size", "colour", "stock", "today", "sale"};
// "商品のご案内です。" and friends, in CP932.
const char* const kJapanese[] = {"\x8f\xa4\x95\x69\x82\xcc\x82\xb2\x88\xc4\x93\xe0\x82\xc5\x82\xb7\x81\x42",
                                 "\x90\x56\x92\x85\x8f\xee\x95\xf1", "\x82\xa8\x96\xe2\x82\xa2\x8d\x87\x82\xed\x82\xb9",
                                 "\x95\x5c\x8e\xa6"};
const char* const kLinks[] = {"item{}.html", "../index.html", "/~shop/top.htm", "detail.cgi?id={}&lang=ja",
                              "http://www.example.co.jp/shop/cart.cgi?add={}", "#top", "mailto:shop@example.co.jp",
                              "img/photo{}.jpg", "sub/page{}.htm", "./list{}.shtml", "https://cdn.example.net/x{}.js",
                              "ftp://ftp.example.co.jp/pub/cat{}.pdf"};

std::string Fill(std::string_view pattern, std::uint32_t n)
{
    std::string out(pattern);
    if (const size_t at = out.find("{}"); at != std::string::npos)
        out.replace(at, 2, std::to_string(n));
    return out;
}

void AppendText(std::string& out, Random& rnd, int words)
{
    for (int i = 0; i < words; ++i) {
        out += rnd.Below(4) == 0 ? kJapanese[rnd.Below(4)] : kWords[rnd.Below(16)];
        out += ' ';
    }
}

void AppendBlock(std::string& out, Random& rnd)
{
    const std::uint32_t n = rnd.Below(1000);
    switch (rnd.Below(10)) {
    case 0:
    case 1:
    case 2:
        out += "<li class=\"item\"><a href=\"" + Fill(rnd.Pick(kLinks), n) + "\" title=\"";
        AppendText(out, rnd, 3);
        out += "\">";
        AppendText(out, rnd, 4);
        out += "</a></li>\r\n";
        break;
    case 3:
        out += "<img src=\"" + Fill("img/photo{}.jpg", n) + "\" width=\"120\" height=\"90\" alt=\"";
        AppendText(out, rnd, 2);
        out += "\" border=0>\r\n";
        break;
    case 4:
        out += "<table width=\"100%\" cellpadding=2><tr><td background=bg" + std::to_string(n % 7) +
               ".gif bgcolor=#ffffff style=\"padding: 4px; color: #333\">";
        AppendText(out, rnd, 6);
        out += "</td></tr></table>\r\n";
        break;
    case 5:
        out += "<script type=\"text/javascript\">\r\nvar n = " + std::to_string(n) +
               ";\r\nif (n > 3 && document.images) { img.src = 'img/roll' + n + '.gif'; }\r\n"
               "document.write(\"<a href='\" + base + \"'>\" + label + \"</a>\");\r\n</script>\r\n";
        break;
    case 6:
        out += "<!-- ";
        AppendText(out, rnd, 8);
        out += "-->\r\n<p>";
        AppendText(out, rnd, 30);
        out += "</p>\r\n";
        break;
    case 7:
        out += "<link rel=\"stylesheet\" type=\"text/css\" href=\"css/style.css\">\r\n"
               "<div style=\"background: url(img/bg.png) no-repeat; margin: 0 auto\" id=\"box" +
               std::to_string(n) + "\">";
        AppendText(out, rnd, 10);
        out += "</div>\r\n";
        break;
    default:
        out += "<p>";
        AppendText(out, rnd, 40);
        out += "<br>\r\n";
        AppendText(out, rnd, 20);
        out += "</p>\r\n";
        break;
    }
}

std::string MakePage(size_t bytes)
{
    Random rnd;
    std::string page = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                       "<title>shop</title></head>\r\n<body bgcolor=\"#ffffff\" background=\"img/back.gif\">\r\n";
    while (page.size() < bytes)
        AppendBlock(page, rnd);
    page += "</body></html>\r\n";
    return page;
}

class CountingSink : public zorone::LinkSink {
public:
    void OnLink(std::string url) override
    {
        ++count;
        benchmark::DoNotOptimize(url.data());
    }
    std::int64_t count = 0;
};

void Run(benchmark::State& state, const std::string& page)
{
    CountingSink sink;
    for (auto _ : state) {
        zorone::ScanLinks(kFolder, page, kTags, sink);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(page.size()));
    state.counters["links/page"] =
        benchmark::Counter(static_cast<double>(sink.count) / static_cast<double>(state.iterations()));
    state.counters["page_bytes"] = benchmark::Counter(static_cast<double>(page.size()));
}

void BM_ScanLinks_TypicalPage(benchmark::State& state)
{
    static const std::string page = MakePage(1 << 20);
    Run(state, page);
}
BENCHMARK(BM_ScanLinks_TypicalPage);

// One megabyte without a blank or quote: every byte grows the same word.
void BM_ScanLinks_OneLongWord(benchmark::State& state)
{
    static const std::string page = std::string(1 << 20, 'A') + "=x";
    Run(state, page);
}
BENCHMARK(BM_ScanLinks_OneLongWord);

// A page that is almost nothing but links.
void BM_ScanLinks_LinkDense(benchmark::State& state)
{
    static const std::string page = [] {
        std::string p;
        for (int i = 0; p.size() < (1 << 20); ++i)
            p += "<a href=\"sub/page" + std::to_string(i) + ".html\">" + std::to_string(i) + "</a>\r\n";
        return p;
    }();
    Run(state, page);
}
BENCHMARK(BM_ScanLinks_LinkDense);

// "商品のご案内です。" and friends, in UTF-8, for the present-day page.
const char* const kJapaneseUtf8[] = {
    "\xe5\x95\x86\xe5\x93\x81\xe3\x81\xae\xe3\x81\x94\xe6\xa1\x88\xe5\x86\x85\xe3\x81\xa7\xe3\x81\x99\xe3\x80\x82",
    "\xe6\x96\xb0\xe7\x9d\x80\xe6\x83\x85\xe5\xa0\xb1", "\xe3\x81\x8a\xe5\x95\x8f\xe3\x81\x84\xe5\x90\x88\xe3\x82\x8f\xe3\x81\x9b",
    "\xe8\xa1\xa8\xe7\xa4\xba"};

void AppendTextUtf8(std::string& out, Random& rnd, int words)
{
    for (int i = 0; i < words; ++i) {
        out += rnd.Below(4) == 0 ? kJapaneseUtf8[rnd.Below(4)] : kWords[rnd.Below(16)];
        out += ' ';
    }
}

void AppendPresentDayBlock(std::string& out, Random& rnd)
{
    const std::string n = std::to_string(rnd.Below(1000));
    switch (rnd.Below(8)) {
    case 0:
        out += "<picture><source type=\"image/webp\" srcset=\"/img/p" + n + ".webp 1x, /img/p" + n +
               "@2x.webp 2x\"><img src=\"/img/p" + n + ".jpg\" alt=\"";
        AppendTextUtf8(out, rnd, 3);
        out += "\" loading=\"lazy\" width=\"640\" height=\"480\"></picture>\n";
        break;
    case 1:
        out += "<img class=\"lazyload\" data-src=\"/img/l" + n + ".jpg\" data-srcset=\"/img/l" + n +
               "-400.jpg 400w, /img/l" + n + "-800.jpg 800w\" sizes=\"(max-width: 600px) 100vw, 50vw\">\n";
        break;
    case 2:
        out += "<div class=\"card card--" + n + "\" style=\"background-image: url('/img/card" + n +
               ".png'); padding: 1rem\"><h3>";
        AppendTextUtf8(out, rnd, 4);
        out += "</h3><p>";
        AppendTextUtf8(out, rnd, 25);
        out += "</p><a class=\"btn\" href=\"/items/" + n + "?ref=top&amp;lang=ja#detail\">";
        AppendTextUtf8(out, rnd, 2);
        out += "</a></div>\n";
        break;
    case 3:
        out += "<style>.hero-" + n + "{background:url(/img/hero" + n +
               ".jpg) center/cover no-repeat}@media (min-width:768px){.hero-" + n +
               "{background-image:url(\"/img/hero" + n + "-wide.jpg\")}}</style>\n";
        break;
    case 4:
        out += "<script>window.dataLayer=window.dataLayer||[];dataLayer.push({event:'view',item:" + n +
               ",url:'/items/" + n + "'});if(a<b&&c>d){document.querySelector('.x').src='/img/y.png'}</script>\n";
        break;
    case 5:
        out += "<nav><ul><li><a href=\"/\">Home</a></li><li><a href=\"/category/" + n +
               "/\">";
        AppendTextUtf8(out, rnd, 2);
        out += "</a></li><li><a href=\"https://www.example.co.jp/news/" + n + "\">News</a></li></ul></nav>\n";
        break;
    default:
        out += "<section><h2>";
        AppendTextUtf8(out, rnd, 3);
        out += "</h2><p>";
        AppendTextUtf8(out, rnd, 50);
        out += "</p><!-- " + n + " --></section>\n";
        break;
    }
}

std::string MakePresentDayPage(size_t bytes)
{
    Random rnd;
    std::string page = "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<link rel=\"preconnect\" href=\"https://fonts.example.net\">\n"
                       "<link rel=\"stylesheet\" href=\"/assets/site.css?v=20260101\">\n"
                       "<link rel=\"icon\" href=\"/favicon.ico\"><link rel=\"canonical\" href=\"https://www.example.co.jp/\">\n"
                       "<script type=\"module\" src=\"/assets/app.js\"></script>\n<title>shop</title></head>\n<body>\n";
    while (page.size() < bytes)
        AppendPresentDayBlock(page, rnd);
    page += "</body></html>\n";
    return page;
}

std::string MakeStyleSheet(size_t bytes)
{
    Random rnd;
    std::string sheet = "@charset \"UTF-8\";\n@import url(\"reset.css\");\n"
                        "@font-face{font-family:\"Site\";src:url(/fonts/site.woff2) format(\"woff2\"),"
                        "url('/fonts/site.woff') format(\"woff\")}\n";
    while (sheet.size() < bytes) {
        const std::string n = std::to_string(rnd.Below(1000));
        sheet += ".c" + n + ",.c" + n + ":hover{color:#333;margin:0 auto;padding:4px 8px;font:14px/1.5 \"Site\",sans-serif}\n";
        if (rnd.Below(3) == 0)
            sheet += ".b" + n + "{background:url(../img/b" + n + ".png) no-repeat 0 0/contain}\n";
        if (rnd.Below(8) == 0)
            sheet += "/* section " + n + ": url(old.png) */\n";
    }
    return sheet;
}

class CountingRefSink : public zorone::today::RefSink {
public:
    void OnRef(const zorone::today::FoundRef& ref) override
    {
        ++count;
        benchmark::DoNotOptimize(ref.link.data());
    }
    std::int64_t count = 0;
};

void RunToday(benchmark::State& state, const std::string& doc, zorone::today::DocKind kind)
{
    using namespace zorone::today;
    const std::string charset = DetectCharset("", doc, kind);
    CountingRefSink sink;
    for (auto _ : state) {
        ScanReferences(doc, kind, charset, sink);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(doc.size()));
    state.counters["refs/page"] =
        benchmark::Counter(static_cast<double>(sink.count) / static_cast<double>(state.iterations()));
    state.counters["page_bytes"] = benchmark::Counter(static_cast<double>(doc.size()));
}

void BM_ScanLinks_PresentDayPage(benchmark::State& state)
{
    static const std::string page = MakePresentDayPage(1 << 20);
    Run(state, page);
}
BENCHMARK(BM_ScanLinks_PresentDayPage);

void BM_ScanReferences_TypicalPage(benchmark::State& state)
{
    static const std::string page = MakePage(1 << 20);
    RunToday(state, page, zorone::today::DocKind::Html);
}
BENCHMARK(BM_ScanReferences_TypicalPage);

void BM_ScanReferences_PresentDayPage(benchmark::State& state)
{
    static const std::string page = MakePresentDayPage(1 << 20);
    RunToday(state, page, zorone::today::DocKind::Html);
}
BENCHMARK(BM_ScanReferences_PresentDayPage);

void BM_ScanReferences_LinkDense(benchmark::State& state)
{
    static const std::string page = [] {
        std::string p;
        for (int i = 0; p.size() < (1 << 20); ++i)
            p += "<a href=\"sub/page" + std::to_string(i) + ".html\">" + std::to_string(i) + "</a>\r\n";
        return p;
    }();
    RunToday(state, page, zorone::today::DocKind::Html);
}
BENCHMARK(BM_ScanReferences_LinkDense);

// One tag of a megabyte of attributes: the tag reader's worst case.
void BM_ScanReferences_OneHugeTag(benchmark::State& state)
{
    static const std::string page = [] {
        std::string p = "<div";
        while (p.size() < (1 << 20))
            p += " data-x=\"1\" href=y";
        return p + ">";
    }();
    RunToday(state, page, zorone::today::DocKind::Html);
}
BENCHMARK(BM_ScanReferences_OneHugeTag);

void BM_ScanReferences_StyleSheet(benchmark::State& state)
{
    static const std::string sheet = MakeStyleSheet(1 << 20);
    RunToday(state, sheet, zorone::today::DocKind::Css);
}
BENCHMARK(BM_ScanReferences_StyleSheet);

} // namespace

BENCHMARK_MAIN();
