// The reference scanner of today's rules on small documents: every reported
// range must hold exactly the raw text the table gives, and the link is what
// a browser would resolve.
#include "web/today_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorone::today {
namespace {

constexpr auto P = RefRole::Page;
constexpr auto R = RefRole::Requisite;
constexpr auto B = RefRole::Base;
constexpr auto Attr = RefContext::Attribute;
constexpr auto Set = RefContext::SrcsetEntry;
constexpr auto Refresh = RefContext::MetaRefresh;
constexpr auto Url = RefContext::CssUrl;
constexpr auto Import = RefContext::CssImport;

struct Ref {
    Ref(std::string r, std::string l = "", RefRole ro = P, RefContext c = Attr)
        : raw(std::move(r))
        , link(std::move(l))
        , role(ro)
        , context(c)
    {
    }
    std::string raw;  // the bytes at [offset, offset + length)
    std::string link; // "" when it is the raw text itself
    RefRole role;
    RefContext context;
};

bool operator==(const Ref& a, const Ref& b)
{
    return a.raw == b.raw && a.link == b.link && a.role == b.role && a.context == b.context;
}

void PrintTo(const Ref& r, std::ostream* os)
{
    *os << "{raw '" << r.raw << "', link '" << r.link << "', role " << static_cast<int>(r.role) << ", context "
        << static_cast<int>(r.context) << "}";
}

class Recorder : public RefSink {
public:
    explicit Recorder(std::string_view doc)
        : m_doc(doc)
    {
    }
    void OnRef(const FoundRef& ref) override
    {
        // Ranges lie in the document, in order, without overlap.
        EXPECT_LE(ref.offset + ref.length, m_doc.size());
        EXPECT_GE(ref.offset, m_end);
        EXPECT_GT(ref.length, 0u);
        m_end = ref.offset + ref.length;
        Ref r {std::string(m_doc.substr(ref.offset, ref.length)), ref.link, ref.role, ref.context};
        if (r.link == r.raw)
            r.link.clear();
        refs.push_back(r);
    }
    std::vector<Ref> refs;

private:
    std::string_view m_doc;
    size_t m_end = 0;
};

std::vector<Ref> Scan(std::string_view doc, DocKind kind = DocKind::Html, std::string_view charset = "")
{
    Recorder recorder(doc);
    ScanReferences(doc, kind, charset, recorder);
    return recorder.refs;
}

struct Case {
    std::string doc;
    std::vector<Ref> expected;
};

void Check(const std::vector<Case>& cases, DocKind kind = DocKind::Html)
{
    for (const Case& c : cases) {
        SCOPED_TRACE("document '" + c.doc + "'");
        EXPECT_EQ(Scan(c.doc, kind), c.expected);
    }
}

TEST(TodayScanner, TagsAttributesAndWhatIsNotMarkup)
{
    Check({
        {R"~(<a href="x.html">)~", {{"x.html"}}},
        {"<A HREF=x.html>", {{"x.html"}}},
        {"<a href='x y.html'>", {{"x y.html"}}},
        {"<a href = \" \tx.html\n\">", {{"x.html"}}},
        {"<a/href=\"x.html\">", {{"x.html"}}},
        {"<a href=\"a\nb.html\">", {{"a\nb.html", "ab.html"}}},
        {R"~(<a href="first" HREF="second">)~", {{"first"}}},
        {R"~(<a title="<a href='no'>" href=yes>)~", {{"yes"}}},
        {R"~(<ahref="no"><a xhref="no"><a href="">)~", {}},
        {R"~(<!-- <a href="no"> --><a href=yes>)~", {{"yes"}}},
        {R"~(<!--><a href=a><!---><a href=b><!-- x --!><a href=c>)~", {{"a"}, {"b"}, {"c"}}},
        {R"~(<!DOCTYPE html><!x <a href="no">><?php <a href="no"> ?><a href=yes>)~", {{"yes"}}},
        {R"~(</a href="no"></ x><a href=yes>)~", {{"yes"}}},
        {R"~(&lt;a href="no"&gt; 1 < 2 <a href=yes>)~", {{"yes"}}},
        {R"~(<script>document.write('<a href="no">')</script x><a href=yes>)~", {{"yes"}}},
        {R"~(<SCRIPT src="s.js"></scriptx><a href="no"></Script ><a href=yes>)~", {{"s.js", "", R}, {"yes"}}},
        {R"~(<title><a href="no"></title><textarea><img src=no></textarea><a href=yes>)~", {{"yes"}}},
        {R"~(<xmp><a href=no></xmp><noembed><a href=no></noembed><noframes><a href=no></noframes>)~", {}},
        {R"~(<iframe src="f.html"><a href="no"></iframe>)~", {{"f.html", "", R}}},
        {R"~(<svg><![CDATA[<a href="no">]]><image href="i.svg"/></svg><![CDATA[<a href="no">]]>)~",
         {{"i.svg", "", R}}},
        {R"~(<svg><script href="s.js"/><style/><a href="a.svg"/><title><a href="t"/></title></svg>)~",
         {{"s.js", "", R}, {"a.svg"}, {"t"}}},
        {R"~(<svg><style>@import "i.css";</style><p><![CDATA[<a href="no">]]><script><a href="no"></script>)~",
         {{"i.css", "", R, Import}}},
        {R"~(<plaintext><a href=no>)~", {}},
        {R"~(<a href=yes><a href="open)~", {{"yes"}}},
        {R"~(<a ping="no" href=x><form action="no"><img src="i.png" alt="y.png">)~", {{"x"}, {"i.png", "", R}}},
    });
}

TEST(TodayScanner, CharacterReferencesInValues)
{
    Check({
        {R"~(<a href="?a=1&amp;b=2&AMP;c">)~", {{"?a=1&amp;b=2&AMP;c", "?a=1&b=2&c"}}},
        {R"~(<a href="&#38;&#x26;&#X26&#0;&#128;&#x110000;&#55296;">)~",
         {{"&#38;&#x26;&#X26&#0;&#128;&#x110000;&#55296;", "&&&\xEF\xBF\xBD\xE2\x82\xAC\xEF\xBF\xBD\xEF\xBF\xBD"}}},
        // Bare names before "=" or another letter stay as written.
        {R"~(<a href="?x=1&copy=2&copy;&copy &copyx&lang=ja&amp">)~",
         {{"?x=1&copy=2&copy;&copy &copyx&lang=ja&amp", "?x=1&copy=2\xC2\xA9\xC2\xA9 &copyx&lang=ja&"}}},
        {R"~(<a href="&quot;&apos;&apos&lt&gt;&nbsp;&sol;&colon;&unknown;&#;&">)~",
         {{"&quot;&apos;&apos&lt&gt;&nbsp;&sol;&colon;&unknown;&#;&", "\"'&apos<>\xC2\xA0/:&unknown;&#;&"}}},
        {"<a href=\"&#9;x&#0\">", {{"&#9;x&#0", "x\xEF\xBF\xBD"}}},
    });
}

TEST(TodayScanner, SrcsetCandidatesKeepTheirDescriptorsOutside)
{
    Check({
        {R"~(<img srcset="a.jpg 1x, b.jpg 2x">)~", {{"a.jpg", "", R, Set}, {"b.jpg", "", R, Set}}},
        {R"~(<img srcset=" a,b.jpg 480w,c.jpg">)~", {{"a,b.jpg", "", R, Set}, {"c.jpg", "", R, Set}}},
        {R"~(<img srcset="a.jpg,b.jpg">)~", {{"a.jpg,b.jpg", "", R, Set}}},
        {R"~(<img srcset="a.jpg,, b.jpg ,,c.jpg">)~", {{"a.jpg", "", R, Set}, {"b.jpg", "", R, Set}, {"c.jpg", "", R, Set}}},
        {R"~(<img srcset="x.png (a, b) 2x, y.png?a=1&amp;b=2">)~",
         {{"x.png", "", R, Set}, {"y.png?a=1&amp;b=2", "y.png?a=1&b=2", R, Set}}},
        {R"~(<div data-srcset="d.jpg 1x"><link rel=preload imagesrcset="p.jpg 2x" href="p.jpg">)~",
         {{"d.jpg", "", R, Set}, {"p.jpg", "", R, Set}, {"p.jpg", "", R}}},
        {R"~(<source srcset=",,, ">)~", {}},
    });
}

TEST(TodayScanner, LinkRelationsAndBase)
{
    Check({
        {R"~(<link rel="stylesheet" href="s.css"><link href="i.ico" rel="SHORTCUT Icon">)~",
         {{"s.css", "", R}, {"i.ico", "", R}}},
        {R"~(<link rel=apple-touch-icon-precomposed href=a><link rel=modulepreload href=m><link rel=prefetch href=f>)~",
         {{"a", "", R}, {"m", "", R}, {"f", "", R}}},
        {R"~(<link rel=manifest href=w><link rel=mask-icon href=k><link rel="alternate stylesheet" href=alt>)~",
         {{"w", "", R}, {"k", "", R}, {"alt", "", R}}},
        {R"~(<link rel=canonical href=c><link rel="alternate" href=r><link rel=next href=n><link href=x>)~",
         {{"c"}, {"r"}, {"n"}, {"x"}}},
        // A server to connect to early is no file.
        {R"~(<link rel=preconnect href="//cdn"><link rel="dns-prefetch" href="//dns">)~", {}},
        {R"~(<base target=_top><base href="/b/"><base href="/c/"><a href=x>)~", {{"/b/", "", B}, {"x"}}},
    });
}

TEST(TodayScanner, ElementsAndTheirReferences)
{
    Check({
        {R"~(<img src=i><input type=IMAGE src=b><input type=text src=no><div src=no>)~",
         {{"i", "", R}, {"b", "", R}}},
        {R"~(<video poster=p src=v><source src=s><track src=t></video><audio src=a><embed src=e>)~",
         {{"p", "", R}, {"v", "", R}, {"s", "", R}, {"t", "", R}, {"a", "", R}, {"e", "", R}}},
        {R"~(<object data=o><frame src=f><div data-src=lazy poster=no data=no>)~",
         {{"o", "", R}, {"f", "", R}, {"lazy", "", R}}},
        {R"~(<body background=b><table background=t><tr><td background=c><div background=no>)~",
         {{"b", "", R}, {"t", "", R}, {"c", "", R}}},
        {R"~(<svg><a xlink:href="p.html"><image xlink:href="i.png"/><use href="s.svg#i"/><feImage href="f.png"/></svg>)~",
         {{"p.html"}, {"i.png", "", R}, {"s.svg#i", "", R}, {"f.png", "", R}}},
        {R"~(<div style="background:url(&quot;q.png&quot;); b: url('a&amp;b.png')">)~",
         {{"&quot;q.png&quot;", "q.png", R, Url}, {"a&amp;b.png", "a&b.png", R, Url}}},
    });
}

TEST(TodayScanner, MetaRefresh)
{
    const auto meta = [](std::string content) { return "<meta http-equiv=\"Refresh\" content=\"" + content + "\">"; };
    Check({
        {meta("5; url=/x"), {{"/x", "", P, Refresh}}},
        {meta("0;URL='x y.html'"), {{"x y.html", "", P, Refresh}}},
        {meta("0; /z?a=1&amp;b"), {{"/z?a=1&amp;b", "/z?a=1&b", P, Refresh}}},
        {meta("1.5, url = 'q' "), {{"q", "", P, Refresh}}},
        {meta("0;url=urls.html"), {{"urls.html", "", P, Refresh}}},
        {meta("0"), {}},
        {meta("url=/x"), {}},
        {meta("5x; url=/x"), {}},
        {R"~(<meta content="0; url=/x">)~", {}},
    });
}

TEST(TodayScanner, StyleSheets)
{
    Check(
        {
            {"a{background:url(a.png)}", {{"a.png", "", R, Url}}},
            {"a{b:URL( \"b c.png\" )}", {{"b c.png", "", R, Url}}},
            {"a{b:url( 'c.png' ) url(  d.png  )}", {{"c.png", "", R, Url}, {"d.png", "", R, Url}}},
            {R"~(a{b:url(d\(1\).png) url("\65 .png") url('a\
b')})~",
             {{R"(d\(1\).png)", "d(1).png", R, Url}, {R"(\65 .png)", "e.png", R, Url}, {"a\\\nb", "ab", R, Url}}},
            {R"~(/* url(no.png) */ a{content:"url(no.png)"; b: myurl(no) url(bad"x) url(a b) url("x" y)})~", {}},
            {R"~(@import "i.css"; @import url(j.css) screen; @IMPORT 'k.css';)~",
             {{"i.css", "", R, Import}, {"j.css", "", R, Import}, {"k.css", "", R, Import}}},
            {R"~(@namespace svg url(http://www.w3.org/2000/svg); a{b:url(x)})~", {{"x", "", R, Url}}},
            {R"~(a{b:image-set("1.png" 1x, url(2.png) 2x, type("image/webp") "3.webp")})~",
             {{"1.png", "", R, Url}, {"2.png", "", R, Url}, {"3.webp", "", R, Url}}},
            {R"~(@font-face{font-family:"F";src:url(f.woff2) format("woff2"),url('f.woff') format("woff"),local("G")})~",
             {{"f.woff2", "", R, Url}, {"f.woff", "", R, Url}}},
            {"a{b:url()} c{d:url(\"\")} e{f:url(z.png", {{"z.png", "", R, Url}}},
        },
        DocKind::Css);
    Check({
        {R"~(<style>@import "i.css"; a{b:url(x.png)}</style><p style="x:url(y.png)">)~",
         {{"i.css", "", R, Import}, {"x.png", "", R, Url}, {"y.png", "", R, Url}}},
        {R"~(<style>a::after{content:"</styles>"} b{c:url(k.png)}</STYLE><a href=h>)~",
         {{"k.png", "", R, Url}, {"h"}}},
    });
}

// "資料/表.png" and "表.css": 表 is 0x95 0x5C in Shift_JIS, whose second byte is
// a backslash to a reader that ignores the charset.
const std::string kHyouUtf8 = "\xE8\xA1\xA8";
const std::string kShiryouUtf8 = "\xE8\xB3\x87\xE6\x96\x99";

TEST(TodayScanner, JapanesePagesInTheirCharsets)
{
    const std::string sjisHyou = "\x95\x5C";
    const std::string sjis = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"
                             "<style>a{b:url(\"" + sjisHyou + "\")} c{d:url(" + sjisHyou + ".png)}</style>"
                             "<a href=\"\x8e\x91\x97\xbf/" + sjisHyou + ".html\">" + sjisHyou + "</a>";
    const std::string charset = DetectCharset("", sjis, DocKind::Html);
    EXPECT_EQ(charset, "shift_jis");
    std::vector<Ref> expected = {{sjisHyou, kHyouUtf8, R, Url},
                                 {sjisHyou + ".png", kHyouUtf8 + ".png", R, Url},
                                 {"\x8e\x91\x97\xbf/" + sjisHyou + ".html", kShiryouUtf8 + "/" + kHyouUtf8 + ".html"}};
    EXPECT_EQ(Scan(sjis, DocKind::Html, charset), expected);
    // Unnamed, the same bytes are not UTF-8 and are read as Shift_JIS.
    EXPECT_EQ(Scan(sjis, DocKind::Html, ""), expected);

    const std::string eucHyou = "\xC9\xBD";
    const std::string euc = "<meta charset=\"EUC-JP\"><img src=\"\xBB\xF1\xCE\xC1/" + eucHyou + ".png\" alt=\"" +
                            eucHyou + "\"><a href=\"x.html\">";
    EXPECT_EQ(DetectCharset("", euc, DocKind::Html), "euc-jp");
    EXPECT_EQ(Scan(euc, DocKind::Html, "euc-jp"),
              (std::vector<Ref> {{"\xBB\xF1\xCE\xC1/" + eucHyou + ".png", kShiryouUtf8 + "/" + kHyouUtf8 + ".png", R},
                                 {"x.html"}}));

    const std::string utf8 = "<a href=\"" + kShiryouUtf8 + "/\xFF.html\">";
    EXPECT_EQ(Scan(utf8, DocKind::Html, "utf-8"),
              (std::vector<Ref> {{kShiryouUtf8 + "/\xFF.html", kShiryouUtf8 + "/\xEF\xBF\xBD.html"}}));
    // Read as UTF-16 these bytes are CJK text, not markup: nothing is
    // reported rather than garbage.
    EXPECT_TRUE(Scan("<a href=x.html>", DocKind::Html, "utf-16le").empty());
}

TEST(TodayScanner, CharsetSources)
{
    struct CharsetCase {
        std::string contentType;
        std::string bytes;
        DocKind kind;
        std::string expected;
    };
    const std::string far(1100, ' ');
    const CharsetCase cases[] = {
        {"text/html; charset=EUC-JP", "<meta charset=utf-8>", DocKind::Html, "euc-jp"},
        {"text/html;charset=\"x-sjis\"", "", DocKind::Html, "shift_jis"},
        {"text/html; charset=iso-8859-1", "\xEF\xBB\xBF<p>", DocKind::Html, "utf-8"},
        {"text/html", "<html><head><meta charset='Windows-31J'>", DocKind::Html, "shift_jis"},
        {"", R"~(<META HTTP-EQUIV="content-type" CONTENT="text/html; charset=euc-jp">)~", DocKind::Html, "euc-jp"},
        {"", R"~(<!-- <meta charset="utf-8"> --><p title="<meta charset=big5>"><meta charset="us-ascii">)~",
         DocKind::Html, "windows-1252"},
        {"", "<meta charset=\"utf-16\">", DocKind::Html, "utf-8"},
        {"", "<html>" + far + "<meta charset=euc-jp>", DocKind::Html, ""},
        {"", "<html><p>", DocKind::Html, ""},
        {"", "\xFF\xFE<\0", DocKind::Html, "utf-16le"},
        {"", "@charset \"EUC-JP\";\na{}", DocKind::Css, "euc-jp"},
        {"", "@charset 'EUC-JP';", DocKind::Css, ""},
        {"text/css", " @charset \"EUC-JP\";", DocKind::Css, ""},
        {"text/css; charset=Shift_JIS", "@charset \"EUC-JP\";", DocKind::Css, "shift_jis"},
    };
    for (const CharsetCase& c : cases) {
        SCOPED_TRACE("'" + c.contentType + "' / '" + c.bytes + "'");
        EXPECT_EQ(DetectCharset(c.contentType, c.bytes, c.kind), c.expected);
    }
}

TEST(TodayScanner, PresentDayPage)
{
    const std::string page = R"~(<!DOCTYPE html>
<html lang="ja"><head><meta charset="utf-8">
<title>Shop &lt;a href="no.html"&gt;</title>
<base href="https://shop.example/">
<link rel="preconnect" href="https://fonts.example">
<link rel="stylesheet" href="/css/site.css?v=3">
<link rel="icon" href="/favicon.ico"><link rel="canonical" href="https://shop.example/">
<style>@import url("print.css") print; .hero{background-image:url(/img/hero.jpg)}</style>
<script src="/js/app.js" defer></script>
<script>var s = '<img src="no.png">'; loadCss("url(no.css)");</script>
</head><body>
<!-- <a href="old.html">old</a> -->
<picture><source type="image/webp" srcset="/img/a.webp 1x, /img/a@2x.webp 2x">
<img src="/img/a.jpg" alt="a" loading="lazy"></picture>
<img class="lazy" data-src="/img/b.jpg" data-srcset="/img/b.jpg 400w, /img/b-800.jpg 800w" sizes="50vw">
<div class="card" style="background: url('/img/card.png') no-repeat">
<a href="list?page=2&amp;sort=new#top">next</a></div>
<video controls poster="/media/poster.jpg"><source src="/media/clip.mp4" type="video/mp4"></video>
<iframe src="/embed/map.html" title="map"></iframe>
</body></html>
)~";
    EXPECT_EQ(DetectCharset("text/html", page, DocKind::Html), "utf-8");
    const std::vector<Ref> expected = {
        {"https://shop.example/", "", B},
        {"/css/site.css?v=3", "", R},
        {"/favicon.ico", "", R},
        {"https://shop.example/", "", P},
        {"print.css", "", R, Import},
        {"/img/hero.jpg", "", R, Url},
        {"/js/app.js", "", R},
        {"/img/a.webp", "", R, Set},
        {"/img/a@2x.webp", "", R, Set},
        {"/img/a.jpg", "", R},
        {"/img/b.jpg", "", R},
        {"/img/b.jpg", "", R, Set},
        {"/img/b-800.jpg", "", R, Set},
        {"/img/card.png", "", R, Url},
        {"list?page=2&amp;sort=new#top", "list?page=2&sort=new#top", P},
        {"/media/poster.jpg", "", R},
        {"/media/clip.mp4", "", R},
        {"/embed/map.html", "", R},
    };
    EXPECT_EQ(Scan(page, DocKind::Html, "utf-8"), expected);
}

} // namespace
} // namespace zorone::today
