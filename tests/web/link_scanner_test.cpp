// The link scanner on small documents. Unless a case says otherwise the
// document is http://host/d/p.htm and the attribute names are the defaults.
#include "web/link_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorone {
namespace {

constexpr std::string_view kFolder = "http://host/d/";
constexpr std::string_view kTags = "href,background,src";

class RecordingSink : public LinkSink {
public:
    void OnLink(std::string url) override { links.push_back(std::move(url)); }
    std::vector<std::string> links;
};

std::vector<std::string> Scan(std::string_view text, std::string_view folder = kFolder,
                              std::string_view tags = kTags)
{
    RecordingSink sink;
    ScanLinks(folder, text, tags, sink);
    return sink.links;
}

using Links = std::vector<std::string>;

struct ScanCase {
    std::string text;
    Links expected;
};

void CheckScans(const std::vector<ScanCase>& cases, std::string_view folder = kFolder)
{
    for (const auto& c : cases) {
        SCOPED_TRACE("text '" + c.text + "'");
        EXPECT_EQ(Scan(c.text, folder), c.expected);
    }
}

TEST(LinkScanner, AttributeNamesAndValueDelimiters)
{
    CheckScans({
        {R"(<a href="x.htm">)", {"http://host/d/x.htm"}},
        {"<A HREF=x.htm>", {"http://host/d/x.htm"}},
        {"<a href='x.htm'>", {"http://host/d/x.htm"}},
        {R"(<img src = "a.gif">)", {"http://host/d/a.gif"}},
        {"<body background=bg.jpg text=red>", {"http://host/d/bg.jpg"}},
        {"<a href=x.htm title=y.htm>", {"http://host/d/x.htm"}},
        // The name must be the whole word since the last blank.
        {"<a\thref=\"x.htm\">", {}},
        {"<a xhref=x.htm>", {}},
        {"<a\r\nhref=x.htm>", {"http://host/d/x.htm"}},
        {R"(<a name="x.htm">)", {}},
    });
}

TEST(LinkScanner, FragmentMailAndEmptyValues)
{
    CheckScans({
        {R"(<a href="#top">)", {}},
        {R"(<a href="mailto:x">)", {}},
        {R"(<a href="MAILTO:x@y">)", {}},
        {R"(<a href="">)", {"http://host/d/"}},
        {"<a href=>", {"http://host/d/"}},
        {R"(<a href="x.htm#top">)", {}},
    });
}

TEST(LinkScanner, ValueBytes)
{
    CheckScans({
        // Blanks inside quotes are dropped.
        {R"(<a href="my page.htm">)", {"http://host/d/mypage.htm"}},
        {"<a href=' a.htm '>", {"http://host/d/a.htm"}},
        {R"(<a href="p.cgi?x=1">)", {}},
        // Absolute links are passed whole, query and all.
        {R"(<a href="http://other/p.cgi?x=1">)", {"http://other/p.cgi?x=1"}},
        {R"(<a href="ftp://other/f.zip">)", {"ftp://other/f.zip"}},
        {R"(<a href="HTTP://other/x.htm">)", {"http://host/d/HTTP:/other/x.htm"}},
        {R"(<a href="https://other/x.htm">)", {"https://other/x.htm"}},
        // Links of other schemes are not followed, nor resolved as paths.
        {R"(<link rel="canonical" href="file:///usr/share/doc/x.html">)", {}},
        {R"(<a href="news:comp.lang.python">)", {}},
        {R"x(<a href="javascript:go()">)x", {}},
        {R"(<a href="tel:+12">)", {}},
        // A quoted value keeps ">"; the result then fails the byte check.
        {R"(<a href="a>b">)", {}},
        {"<a href='a>b'>", {}},
        // Quotes of the other kind are ordinary bytes inside a value.
        {R"(<a href='a"b'>)", {}},
        {R"(<a href="it's.htm">)", {}},
        // '"' switches a single-quoted or bare value to double quotes.
        {R"(<a href='a"b.htm">)", {"http://host/d/ab.htm"}},
        {R"(<a href=a"b c.htm">)", {"http://host/d/abc.htm"}},
        {"<a href=../up.htm>", {"http://host/up.htm"}},
        {"<a href=/~me/x.htm>", {"http://host/~me/x.htm"}},
        {"<a href=\"\x95\x5C.htm\">", {}},
    });
}

TEST(LinkScanner, QuotedStretchesOutsideValuesAreSkipped)
{
    CheckScans({
        {R"(<a title="see href=x.htm" href="y.htm">)", {"http://host/d/y.htm"}},
        {"<a title='go href=x.htm now' href=\"y.htm\">", {"http://host/d/x.htm", "http://host/d/y.htm"}},
        // Bytes on either side of a skipped stretch form one word.
        {R"(<a hr"x"ef=y.htm>)", {"http://host/d/y.htm"}},
        // An unclosed stretch hides the rest of the text.
        {R"(<a title="x href=a.htm>)", {}},
    });
}

TEST(LinkScanner, EndOfText)
{
    CheckScans({
        {R"(<a href="a.htm)", {}},
        {"<a href=a.htm", {}},
        {"<a href=", {}},
        {"<a href=a.htm ", {"http://host/d/a.htm"}},
        {"", {}},
    });
}

TEST(LinkScanner, AnyTextIsScannedAlike)
{
    CheckScans({
        {"<script>var s = 'x'; u.src=a.js; </script>", {}},
        {"<script>img.src='a.js'; </script>", {}},
        {"<script>var img; img src='a.js' </script>", {"http://host/d/a.js"}},
        {"Write href=plain.htm in text", {"http://host/d/plain.htm"}},
        {"<a href=a.htm><img src=b.gif><a href=\"#x\"><a href=c.htm>",
         {"http://host/d/a.htm", "http://host/d/b.gif", "http://host/d/c.htm"}},
        // The byte that ends a value is consumed: "a.htm>" then "href=b.htm".
        {"<a href=a.htm href=b.htm>", {"http://host/d/a.htm", "http://host/d/b.htm"}},
    });
}

TEST(LinkScanner, DocumentsOutsideHttpAndFtp)
{
    // An https:// page resolves its links as an http:// one does.
    CheckScans({{R"(<a href="x.htm">)", {"https://host/d/x.htm"}},
                {R"(<link href="/css/a.css">)", {"https://host/css/a.css"}},
                {R"(<a href="http://o/x.htm">)", {"http://o/x.htm"}}},
               "https://host/d/");
    // A folder without scheme: the resolved text is joined to the folder.
    CheckScans({{"<a href=x.htm>", {"d/d/x.htm"}}}, "d/");
    // Resolving to "" (the step up reached the "/" at index 0) leaves the
    // folder itself.
    CheckScans({{"<a href=../x.htm>", {"/a/"}}}, "/a/");
}

TEST(LinkScanner, AttributeNamesComeFromTheSetting)
{
    EXPECT_EQ(Scan("<a href=x.htm data=y.htm>", kFolder, "DATA"), Links {"http://host/d/y.htm"});
    EXPECT_EQ(Scan("<a href=x.htm>", kFolder, ""), Links {});
    EXPECT_EQ(Scan("<a href=x.htm>", kFolder, " href , src"), Links {"http://host/d/x.htm"});
}

} // namespace
} // namespace zorone
