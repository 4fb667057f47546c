// The URL text rules, case by case. Each table row is one input and the exact
// bytes expected, quirks included.
#include "web/list_util.h"
#include "web/site_util.h"
#include "web/url_util.h"

#include <gtest/gtest.h>

#include <string>

namespace zorone {
namespace {

struct TextCase {
    std::string input;
    std::string expected;
};

struct PairCase {
    std::string first;
    std::string second;
    std::string expected;
};

struct IntCase {
    std::string input;
    int expected;
};

template <typename Fn>
void CheckText(const std::vector<TextCase>& cases, Fn fn)
{
    for (const auto& c : cases) {
        SCOPED_TRACE("input '" + c.input + "'");
        EXPECT_EQ(fn(c.input), c.expected);
    }
}

template <typename Fn>
void CheckInt(const std::vector<IntCase>& cases, Fn fn)
{
    for (const auto& c : cases) {
        SCOPED_TRACE("input '" + c.input + "'");
        EXPECT_EQ(fn(c.input), c.expected);
    }
}

TEST(UrlParts, GetUrlFolderKeepsThePrefixThroughTheLastSeparator)
{
    CheckText({{"http://host/dir/a.htm", "http://host/dir/"},
               {"http://host/dir/", "http://host/dir/"},
               {"a.htm", ""},
               {"", ""},
               {"C:\\dl\\a.htm", "C:\\dl\\"},
               {"http://host/a\\b.htm", "http://host/a\\"}},
              CSiteUtil::GetUrlFolder);
}

TEST(UrlParts, GetFileNameIsEmptyWithoutSeparatorOrAfterATrailingOne)
{
    CheckText({{"http://host/dir/a.htm", "a.htm"},
               {"http://host/dir/", ""},
               {"a.htm", ""},
               {"", ""},
               {"dir\\x.gif", "x.gif"}},
              CSiteUtil::GetFileName);
}

TEST(UrlParts, GetFolderNameDropsOneTrailingSeparator)
{
    CheckText({{"C:\\dl\\site\\", "site"},
               {"http://host/dir/", "dir"},
               {"http://host/dir/a.htm", "a.htm"},
               {"abc", ""},
               {"", ""},
               {"http://host", "host"},
               {"http://host/dir//", ""}},
              CSiteUtil::GetFolderName);
}

TEST(UrlParts, GetExtensionWalksPastSeparatorsButNeverLooksAtIndexZero)
{
    CheckText({{"a.tar.gz", "gz"},
               {".htaccess", ""},
               {"http://host/readme", ""},
               {"http://host.name/readme", "name/readme"},
               {"http://host.name/file", "name/file"},
               {"http://host/a.b/c", "b/c"},
               {"a.", ""},
               {"page.HTML", "HTML"},
               {"", ""}},
              CSiteUtil::GetExtension);
}

TEST(UrlParts, IsAbsoluteUrlAcceptsOnlyExactHttpHttpsAndFtp)
{
    CheckInt({{"http://host/", 1},
              {"ftp://host/", 1},
              {"ftp://", 1},
              {"http://", 1},
              {"http:/", 0},
              {"HTTP://host/", 0},
              {"https://host/", 1},
              {"HTTPS://host/", 0},
              {"https:/host/", 0},
              {"mailto:x", 0},
              {"", 0}},
             CSiteUtil::IsAbsoluteUrl);
}

TEST(UrlParts, IsValidUrlTextAllowsColonOnlyWhereASchemeEnds)
{
    CheckInt({{"page.cgi?id=1", 0},
              {"ftp://x", 1},
              {"http://host/a_b-c~d/*+.htm", 1},
              {"a:b", 0},
              {"abc:", 1},
              {"abcd:", 1},
              {"abcde:", 1},
              {"abcdef:", 0},
              {"https://host/", 1},
              {"http://host:8080/", 0},
              {"a%20b", 0},
              {"a b", 0},
              {"a\tb", 0},
              {"a\\b", 0},
              {"#top", 0},
              {"x@y", 0},
              {"\x95\x5C", 0},
              {std::string("\x7F"), 0},
              {"", 1}},
             CSiteUtil::IsValidUrlText);
}

TEST(UrlParts, CountSeparatorsCountsBothSlashes)
{
    CheckInt({{"http://host/a.htm", 3}, {"a\\b/c", 2}, {"", 0}, {"abc", 0}}, CSiteUtil::CountSeparators);
}

TEST(UrlParts, StripQueryAndFragmentCutsAtTheFirstOfEither)
{
    CheckText({{"http://h/a.htm#top?x", "http://h/a.htm"},
               {"http://host/page.cgi?id=3#top", "http://host/page.cgi"},
               {"http://h/a.htm", "http://h/a.htm"},
               {"?x", ""},
               {"", ""}},
              CUrlUtil::StripQueryAndFragment);
}

TEST(ResolveUrl, AgainstADocument)
{
    const std::vector<PairCase> cases = {
        // Plain, parent and empty links.
        {"http://host/d/p.htm", "a.htm", "http://host/d/a.htm"},
        {"http://host/d/p.htm", "../a.htm", "http://host/a.htm"},
        // The step up stops at the host's root.
        {"http://host/d/p.htm", "../../a.htm", "http://host/a.htm"},
        {"http://host/d/p.htm", "../../../a.htm", "http://host/a.htm"},
        {"https://[::1]:8443/p.htm", "../a.htm", "https://[::1]:8443/a.htm"},
        {"http://host/d/p.htm", "", "http://host/d/"},
        {"http://host/a/b/c/p.htm", "../../x.htm", "http://host/a/x.htm"},
        // Every "../" removes three bytes from the front, wherever it was:
        // "x/." leaves "./y.htm"; "ab/" leaves a second "../" to step up.
        {"http://host/a/b/p.htm", "x/../y.htm", "http://host/a/y.htm"},
        {"http://host/a/b/p.htm", "ab/../y.htm", "http://host/y.htm"},
        // A single "/" starts at the host's root.
        {"http://host/d/p.htm", "/img/a.gif", "http://host/img/a.gif"},
        {"https://host:8443/blog/a.html", "/css/site.css", "https://host:8443/css/site.css"},
        {"http://[::1]:8080/d/p.htm", "/a/../b.htm", "http://[::1]:8080/b.htm"},
        {"ftp://host/pub/f", "/x", "ftp://host/x"},
        // Home-directory links go to the host.
        {"http://host/d/p.htm", "/~me/x.htm", "http://host/~me/x.htm"},
        {"http://host/a/b/p.htm", "/~u/x.htm", "http://host/~u/x.htm"},
        {"https://host/a/p.htm", "/~u/x.htm", "https://host/~u/x.htm"},
        {"ftp://host/pub/f", "/~u/x", "ftp://host/~u/x"},
        // "http://h/" is 9 bytes, long enough; "ftp://h/" is 8 and takes the
        // ordinary steps, whose "//" below index 9 stays.
        {"http://h/p.htm", "/~u/x.htm", "http://h/~u/x.htm"},
        {"ftp://h/p", "/~u/x", "ftp://h//~u/x"},
        {"a/b/p.htm", "/~u/x.htm", "a/b//~u/x.htm"},
        // Long enough, but not a known scheme at the third "/".
        {"file://host/d/p.htm", "/~u/x.htm", "file://host/d/~u/x.htm"},
        {"HTTP://host/d/p.htm", "/~u/x.htm", "HTTP://host/d/~u/x.htm"},
        // "./" is dropped, "//" collapsed after the first nine bytes.
        {"http://host/d/p.htm", "./x", "http://host/d/x"},
        {"http://host/d/p.htm", "sub//x.htm", "http://host/d/sub/x.htm"},
        {"http://host/d/p.htm", "a/./b/.//c", "http://host/d/a/b/c"},
        {"http://host/d/p.htm", "HTTP://other/x.htm", "http://host/d/HTTP:/other/x.htm"},
        {"http://h/p.htm", "/x", "http://h/x"},
        // A pair ending at the last byte consumes it.
        {"http://host/d/p.htm", "a./", "http://host/d/a"},
        {"http://host/d/p.htm", "/", "http://host/"},
        {"http://host/d/p.htm", "x/", "http://host/d/x/"},
        // Reaching the "/" at index 0 gives the empty text.
        {"/a/p.htm", "../x.htm", ""},
        {"/a/b/p.htm", "../x.htm", "/a/x.htm"},
        {"/a/b/p.htm", "../../x.htm", ""},
        // No "/" left to step up to: base and link stay.
        {"p.htm", "../x.htm", ".x.htm"},
        {"a\\b\\p.htm", "../x.htm", "a\\b\\.x.htm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("document '" + c.first + "', link '" + c.second + "'");
        EXPECT_EQ(CUrlUtil::ResolveUrl(c.first, c.second), c.expected);
    }
}

TEST(ExtractUrlsFromText, RecognisesHttpAndFtpInTypedText)
{
    CheckText(
        {
            {"see http://host1/x, ftp://host2/y", "http://host1/x\r\nftp://host2/y"},
            {"http://host/a.htm", "http://host/a.htm"},
            {"http://host/a.htm\r\n", "http://host/a.htm\r\n"},
            {"http://a/1\r\nhttp://b/2", "http://a/1\r\nhttp://b/2"},
            {"https://host/p", "https://host/p"},
            {"go https://a/ http://b/", "https://a/\r\nhttp://b/"},
            // An IPv6 literal host keeps its brackets; elsewhere they end a URL.
            {"http://[::1]:8080/a.htm", "http://[::1]:8080/a.htm"},
            {"[http://h/a]", "http://h/a\r\n"},
            {"http://h/[x]", "http://h/\r\n"},
            // Unmatched URL bytes are skipped rather than resetting.
            {"httpxs://host/p", "https://host/p"},
            {"hxttp://h/", "http://h/"},
            {"fetch ftp://h/", "ftp://h/"},
            // URLs without a non-URL byte between them join.
            {"http://a/http://b/", "http://a/http://b/"},
            // A non-URL byte resets the recogniser.
            {"htt p://h/", ""},
            {"http://h/p?q=1", "http://h/p\r\n"},
            {"http://user@host:80/~a", "http://user@host:80/~a"},
            {"no address here", ""},
            {"", ""},
        },
        CUrlUtil::ExtractUrlsFromText);
}

TEST(UrlSchemes, OnlyWebSchemesAreFollowedAndBareHostsGetTheirRoot)
{
    CheckInt({{"mailto:x", 1},
              {"file:///usr/share/doc/x.html", 1},
              {"javascript:void(0)", 1},
              {"data:image/png;base64,AA", 1},
              {"tel:+123", 1},
              {"news:comp.lang", 1},
              {"svn+ssh://h/", 1},
              {"http://h/", 0},
              {"HTTPS://h/", 0},
              {"ftp://h/", 0},
              {"a/b:c", 0},
              {"1a:b", 0},
              {"page.htm", 0},
              {":x", 0},
              {"", 0}},
             [](std::string_view t) { return CUrlUtil::HasOtherScheme(t) ? 1 : 0; });
    CheckText({{"http://host:8080", "http://host:8080/"},
               {"https://[::1]:8443", "https://[::1]:8443/"},
               {"http://host/a.htm", "http://host/a.htm"},
               {"http://host/", "http://host/"},
               {"host", "host"}},
              CUrlUtil::WithRootPath);
}

TEST(TrimBlanks, RemovesSpacesCrAndLfButNotTabs)
{
    CheckText({{"  htm \r\n", "htm"},
               {"\r\n", ""},
               {" ", ""},
               {"", ""},
               {"a", "a"},
               {"a ", "a"},
               {"\ta\t", "\ta\t"},
               {" a b ", "a b"}},
              CListUtil::TrimBlanks);
}

TEST(IsInList, MatchesTrimmedElementsIgnoringAsciiCase)
{
    const std::vector<PairCase> cases = {
        {"HTM", "htm, html", "1"},
        {"html", "htm, html", "1"},
        {"htm ", "htm", "0"},
        {"", "a,,b", "1"},
        {"", "a,", "0"},
        {"", ",a", "1"},
        {"", ",", "1"},
        {"", "", "0"},
        {"a", "", "0"},
        {"href", "href,background,src", "1"},
        {"SRC", "href,background,src", "1"},
        {"<a\thref", "href,background,src", "0"},
        {"src", " src \r\n", "1"},
        {"src", "\tsrc", "0"},
        {"jpg", "JPG,JPEG", "1"},
        {"jp", "jpg", "0"},
        // Trail bytes in A..Z are not letters: 0x83 0x41 and 0x83 0x61 are
        // two different characters.
        {"\x83\x41", "\x83\x61", "0"},
        {"\x83\x41", "\x83\x41", "1"},
        {"\x83\x41X", "\x83\x41x", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("word '" + c.first + "', list '" + c.second + "'");
        EXPECT_EQ(CListUtil::IsInList(c.first, c.second), std::stoi(c.expected));
    }
}

} // namespace
} // namespace zorone
