// The text steps behind each reported link of today's scanner: charset
// labels, conversion of raw bytes, CSS escapes and the final clean-up.
#include "web/today_charset.h"
#include "web/today_escapes.h"

#include <gtest/gtest.h>

#include <string>

namespace zorone::today {
namespace {

TEST(TodayText, CharsetLabels)
{
    const std::pair<std::string, std::string> cases[] = {
        {" Shift-JIS ", "shift_jis"}, {"Windows-31J", "shift_jis"}, {"MS932", "shift_jis"},
        {"x-euc-jp", "euc-jp"},       {"UTF8", "utf-8"},            {"US-ASCII", "windows-1252"},
        {"ISO-8859-1", "windows-1252"}, {"GB2312", "gbk"},          {"KOI8-R", "koi8-r"},
        // Not a label: must not reach iconv as a module name.
        {"../../x", ""},              {"utf 8", ""},                {std::string(41, 'a'), ""},
    };
    for (const auto& [label, expected] : cases)
        EXPECT_EQ(CanonicalCharset(label), expected) << label;
    EXPECT_EQ(CharsetFromContentType("text/html; Charset = 'EUC-JP'"), "euc-jp");
    EXPECT_EQ(CharsetFromContentType("text/html; charset=utf-8; x=y"), "utf-8");
    EXPECT_EQ(CharsetFromContentType("text/html; charsets; charset"), "");
}

TEST(TodayText, RawBytesToUtf8)
{
    struct Case {
        std::string charset;
        std::string raw;
        std::string utf8;
    };
    const Case cases[] = {
        {"", "plain/a.html", "plain/a.html"},
        {"", "\xE8\xA1\xA8", "\xE8\xA1\xA8"},       // valid UTF-8 stays
        {"", "\x95\x5C", "\xE8\xA1\xA8"},           // otherwise Shift_JIS
        {"shift_jis", "\x8e\x91\x97\xbf", "\xE8\xB3\x87\xE6\x96\x99"},
        {"euc-jp", "\xC9\xBD", "\xE8\xA1\xA8"},
        {"euc-jp", "\xAD\xA1", "\xE2\x91\xA0"},     // a vendor character: circled one
        {"iso-2022-jp", "\x1B$BI=\x1B(B.png", "\xE8\xA1\xA8.png"},
        {"windows-1252", "caf\xE9\x80", "caf\xC3\xA9\xE2\x82\xAC"},
        {"euc-jp", "a\xFF" "b", "a\xEF\xBF\xBD" "b"}, // an invalid byte, and the rest goes on
        {"no-such-charset", "\x95\x5C", "\xE8\xA1\xA8"},
    };
    for (const Case& c : cases) {
        TextDecoder decoder(c.charset);
        EXPECT_EQ(FinishLink(decoder.ToUtf8(c.raw)), c.utf8) << c.charset << " '" << c.raw << "'";
    }
    EXPECT_EQ(TextDecoder("").LeadBytesOf("a\x95\x5C"), LeadBytes::ShiftJis);
    EXPECT_EQ(TextDecoder("").LeadBytesOf("a\xE8\xA1\xA8"), LeadBytes::None);
    EXPECT_EQ(TextDecoder("big5").LeadBytesOf("a"), LeadBytes::Wide);
    EXPECT_FALSE(TextDecoder("utf-16be").AsciiCompatible());
}

TEST(TodayText, CssEscapesAndCleanUp)
{
    const std::pair<std::string, std::string> css[] = {
        {R"(\41 B)", "AB"},
        {"\\41\r\nB", "AB"},
        {R"(\0000411)", "A1"},   // at most six hex digits
        {R"(\0)", "\xEF\xBF\xBD"},
        {R"(\110000)", "\xEF\xBF\xBD"},
        {R"(\D800)", "\xEF\xBF\xBD"},
        {R"(\))", ")"},
        {"a\\\r\nb", "ab"},
        {"\\\xE8\xA1\xA8", "\xE8\xA1\xA8"},
        {"end\\", "end"},
    };
    for (const auto& [in, expected] : css) {
        std::string out;
        AppendCssUnescaped(out, in);
        EXPECT_EQ(out, expected) << in;
    }
    const std::pair<std::string, std::string> finish[] = {
        {" \f a\tb\r\nc \f", "abc"},
        {std::string("a\0b", 3), "a\xEF\xBF\xBD" "b"},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // an overlong "/" is no "/"
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"\xE8\xA1", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [in, expected] : finish)
        EXPECT_EQ(FinishLink(in), expected) << in;
}

} // namespace
} // namespace zorone::today
