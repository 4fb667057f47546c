// Link conversion: before/after tables of references, and what is left alone.
#include "web/today_converter.h"

#include <gtest/gtest.h>

#include <map>

namespace zorone::today {
namespace {

class Mirror final : public StoredFiles {
public:
    explicit Mirror(std::map<std::string, std::string> files)
        : m_files(std::move(files))
    {
    }
    const std::string* FileOf(const std::string& url) const override
    {
        const auto found = m_files.find(url);
        return found == m_files.end() ? nullptr : &found->second;
    }

private:
    std::map<std::string, std::string> m_files;
};

const Mirror& SiteMirror()
{
    static const Mirror mirror({
        {"https://h/dir/page.html", "h/dir/page.html"},
        {"https://h/dir/a.png", "h/dir/a.png"},
        {"https://h/img/b.png", "h/img/b.png"},
        {"https://h/css/s.css", "h/css/s.css"},
        {"https://h/css/font.woff2", "h/css/font.woff2"},
        {"https://h/list?page=2", "h/list@page=2.html"},
        {"https://h/dir/%E6%97%A5%20x.html", "h/dir/\x93\xfa x.html"},
        {"https://h/", "h/index.html"},
    });
    return mirror;
}

TEST(ConvertDocument, ReferencesBecomeRelativePathsOrAbsoluteAddresses)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"<a href=\"a.png\">", "<a href=\"a.png\">"},
        {"<a href=\"/img/b.png#top\">", "<a href=\"../img/b.png#top\">"},
        {"<a href='https://h/'>", "<a href='../index.html'>"},
        {"<a href=//h/list?page=2>", "<a href=../list@page=2.html>"},
        {"<img srcset=\"a.png 1x, /img/b.png 2x, missing.png 480w\">",
         "<img srcset=\"a.png 1x, ../img/b.png 2x, https://h/dir/missing.png 480w\">"},
        {"<a href=\"%E6%97%A5%20x.html\">", "<a href=\"%E6%97%A5%20x.html\">"},
        {"<a href=\"gone.html?a=1&amp;copy=2\">", "<a href=\"https://h/dir/gone.html?a=1&amp;copy=2\">"},
        {"<a href=\"mailto:x@h\"><a href=\"#sec\">", "<a href=\"mailto:x@h\"><a href=\"#sec\">"},
        {"<base href=\"/css/\"><link rel=stylesheet href=\"s.css\">",
         "<base href=\"page.html\"><link rel=stylesheet href=\"../css/s.css\">"},
        {"<div style=\"background:url(a.png)\">", "<div style=\"background:url(a.png)\">"},
        {"<style>@import \"/css/s.css\"; p{background:url( '/img/b.png' )}</style>",
         "<style>@import \"../css/s.css\"; p{background:url( '../img/b.png' )}</style>"},
    };
    for (const Case& c : cases) {
        const ConvertedDocument out
            = ConvertDocument(c.before, DocKind::Html, "utf-8", "https://h/dir/page.html", "h/dir/page.html", SiteMirror());
        EXPECT_EQ(out.bytes, c.after) << c.before;
    }
}

TEST(ConvertDocument, StyleSheetsAndTheBytesAroundReferences)
{
    const std::string css = "/* url(x.png) */@import url(\"../img/b.png\");\r\n"
                            "@font-face{src:url(font.woff2) format('woff2'),url(/gone.woff)}";
    const ConvertedDocument out
        = ConvertDocument(css, DocKind::Css, "", "https://h/css/s.css", "h/css/s.css", SiteMirror());
    EXPECT_EQ(out.bytes, "/* url(x.png) */@import url(\"../img/b.png\");\r\n"
                         "@font-face{src:url(font.woff2) format('woff2'),url(https://h/gone.woff)}");
    EXPECT_EQ(out.toFiles, 2);
    EXPECT_EQ(out.toNetwork, 1);
}

TEST(RelativeReference, EscapesNamesAsABrowserReadsThemFromDisk)
{
    EXPECT_EQ(RelativeReference("h/a/b/p.html", "h/a/c/q.html"), "../c/q.html");
    EXPECT_EQ(RelativeReference("h/p.html", "h/p.html"), "p.html");
    EXPECT_EQ(RelativeReference("h/p.html", "g:80/x y#?%.png"), "../g%3A80/x%20y%23%3F%25.png");
    EXPECT_EQ(RelativeReference("h/p.html", "h/\x93\xfa.html"), "%E6%97%A5.html");
}

} // namespace
} // namespace zorone::today
