#include "web/today_charset.h"

#include "platform/code_page.h"
#include "web/percent_escape.h"
#include "web/today_escapes.h"

#include <iconv.h>

#include <cerrno>

namespace zorone::today {
namespace {

struct Alias {
    std::string_view label;
    std::string_view name;
};

// Labels seen on the web for the charsets that matter here, after the
// encoding labels browsers accept.
constexpr Alias kAliases[] = {
    {"utf8", "utf-8"},
    {"unicode-1-1-utf-8", "utf-8"},
    {"x-unicode20utf8", "utf-8"},
    {"shift-jis", "shift_jis"},
    {"sjis", "shift_jis"},
    {"x-sjis", "shift_jis"},
    {"ms_kanji", "shift_jis"},
    {"ms932", "shift_jis"},
    {"cp932", "shift_jis"},
    {"windows-31j", "shift_jis"},
    {"csshiftjis", "shift_jis"},
    {"x-euc-jp", "euc-jp"},
    {"eucjp", "euc-jp"},
    {"cseucpkdfmtjapanese", "euc-jp"},
    {"csiso2022jp", "iso-2022-jp"},
    {"iso-8859-1", "windows-1252"},
    {"iso8859-1", "windows-1252"},
    {"iso_8859-1", "windows-1252"},
    {"latin1", "windows-1252"},
    {"l1", "windows-1252"},
    {"us-ascii", "windows-1252"},
    {"ascii", "windows-1252"},
    {"cp1252", "windows-1252"},
    {"x-cp1252", "windows-1252"},
    {"cp819", "windows-1252"},
    {"gb2312", "gbk"},
    {"x-gbk", "gbk"},
    {"cp936", "gbk"},
    {"big5-hkscs", "big5"},
    {"x-x-big5", "big5"},
    {"ks_c_5601-1987", "euc-kr"},
    {"windows-949", "euc-kr"},
    {"utf-16", "utf-16le"},
    {"unicode", "utf-16le"},
};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// The name iconv knows a canonical charset by. EUC-JP as pages use it
// includes the vendor characters of the Microsoft variant.
std::string IconvName(const std::string& charset)
{
    if (charset == "euc-jp")
        return "EUC-JP-MS";
    std::string upper;
    for (const char c : charset)
        upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return upper;
}

} // namespace

std::string CanonicalCharset(std::string_view label)
{
    // A label is a short token; anything else is no charset and must not
    // reach iconv as a name to look up.
    constexpr size_t kLongestLabel = 40;
    std::string lower;
    for (const char c : Trim(label)) {
        const char l = Lower(c);
        if (!((l >= 'a' && l <= 'z') || (l >= '0' && l <= '9') || l == '-' || l == '_' || l == '.' || l == ':'))
            return "";
        lower += l;
    }
    if (lower.size() > kLongestLabel)
        return "";
    for (const Alias& alias : kAliases)
        if (alias.label == lower)
            return std::string(alias.name);
    return lower;
}

std::string CharsetFromContentType(std::string_view content)
{
    // As browsers read a <meta> content: the first "charset" followed by
    // "=" (blanks around it allowed), then a quoted or a bare value.
    size_t at = 0;
    while (at + 7 <= content.size()) {
        size_t i = at;
        bool match = true;
        for (const char c : std::string_view("charset"))
            match = match && Lower(content[i++]) == c;
        at += 1;
        if (!match)
            continue;
        while (i < content.size() && IsSpace(content[i]))
            ++i;
        if (i == content.size() || content[i] != '=') {
            at = i;
            continue;
        }
        ++i;
        while (i < content.size() && IsSpace(content[i]))
            ++i;
        if (i == content.size())
            return "";
        if (content[i] == '"' || content[i] == '\'') {
            const size_t close = content.find(content[i], i + 1);
            if (close == std::string_view::npos)
                return "";
            return CanonicalCharset(content.substr(i + 1, close - i - 1));
        }
        size_t end = i;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';')
            ++end;
        return CanonicalCharset(content.substr(i, end - i));
    }
    return "";
}

TextDecoder::TextDecoder(std::string_view charset)
    : m_charset(charset)
{
    if (m_charset.empty())
        m_kind = Kind::Guess;
    else if (m_charset == "utf-8")
        m_kind = Kind::Utf8;
    else if (m_charset == "shift_jis")
        m_kind = Kind::ShiftJis;
    else if (m_charset.rfind("utf-16", 0) == 0)
        m_kind = Kind::Utf16;
    else
        m_kind = Kind::Iconv;
    m_escapeCoded = m_charset.rfind("iso-2022-", 0) == 0;
    if (m_kind == Kind::ShiftJis)
        m_lead = LeadBytes::ShiftJis;
    else if (m_charset == "gbk" || m_charset == "gb18030" || m_charset == "big5")
        m_lead = LeadBytes::Wide;
}

TextDecoder::~TextDecoder()
{
    if (m_iconv)
        iconv_close(static_cast<iconv_t>(m_iconv));
}

LeadBytes TextDecoder::LeadBytesOf(std::string_view region) const
{
    if (m_kind == Kind::Guess)
        return IsValidUtf8(region) ? LeadBytes::None : LeadBytes::ShiftJis;
    return m_lead;
}

std::string TextDecoder::ToUtf8(std::string_view raw)
{
    bool ascii = true;
    for (const char c : raw)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80 && !(m_escapeCoded && c == '\x1B');
    if (ascii)
        return std::string(raw);
    switch (m_kind) {
    case Kind::Utf8:
    case Kind::Utf16:
        return std::string(raw);
    case Kind::Guess:
        return IsValidUtf8(raw) ? std::string(raw) : platform::Cp932ToUtf8(raw);
    case Kind::ShiftJis:
        return platform::Cp932ToUtf8(raw);
    case Kind::Iconv:
        return IconvToUtf8(raw);
    }
    return std::string(raw);
}

std::string TextDecoder::IconvToUtf8(std::string_view raw)
{
    if (!m_iconv && !m_iconvFailed) {
        iconv_t cd = iconv_open("UTF-8", IconvName(m_charset).c_str());
        if (cd == reinterpret_cast<iconv_t>(-1) && m_charset == "euc-jp")
            cd = iconv_open("UTF-8", "EUC-JP");
        if (cd == reinterpret_cast<iconv_t>(-1))
            m_iconvFailed = true;
        else
            m_iconv = cd;
    }
    // A charset this system cannot convert: read the text as an unnamed
    // one would be.
    if (!m_iconv)
        return IsValidUtf8(raw) ? std::string(raw) : platform::Cp932ToUtf8(raw);
    const auto cd = static_cast<iconv_t>(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(raw.data());
    size_t srcLeft = raw.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // An invalid or cut-off sequence: one byte becomes U+FFFD and the
        // conversion goes on after it.
        AppendCodePoint(out, 0xFFFD);
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return out;
}

} // namespace zorone::today
