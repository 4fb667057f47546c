#include "web/today_escapes.h"

#include "web/percent_escape.h"

#include <array>
#include <cstring>

namespace zorone::today {
namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

struct NamedRef {
    std::string_view name;
    std::uint32_t cp;
    bool bare; // may be written without its ";"
};

// The frequent names: the ASCII punctuation names (which also disguise URLs),
// the Latin-1 symbols that HTML lets stand without ";", and typographic
// quotes and dashes. Letters with accents are left out: they rarely occur in
// addresses, and a name not in the table stays as written.
constexpr NamedRef kNamedRefs[] = {
    {"amp", '&', true},       {"AMP", '&', true},       {"lt", '<', true},         {"LT", '<', true},
    {"gt", '>', true},        {"GT", '>', true},        {"quot", '"', true},       {"QUOT", '"', true},
    {"nbsp", 0xA0, true},     {"iexcl", 0xA1, true},    {"cent", 0xA2, true},      {"pound", 0xA3, true},
    {"curren", 0xA4, true},   {"yen", 0xA5, true},      {"brvbar", 0xA6, true},    {"sect", 0xA7, true},
    {"uml", 0xA8, true},      {"copy", 0xA9, true},     {"COPY", 0xA9, true},      {"ordf", 0xAA, true},
    {"laquo", 0xAB, true},    {"not", 0xAC, true},      {"shy", 0xAD, true},       {"reg", 0xAE, true},
    {"REG", 0xAE, true},      {"macr", 0xAF, true},     {"deg", 0xB0, true},       {"plusmn", 0xB1, true},
    {"sup2", 0xB2, true},     {"sup3", 0xB3, true},     {"acute", 0xB4, true},     {"micro", 0xB5, true},
    {"para", 0xB6, true},     {"middot", 0xB7, true},   {"cedil", 0xB8, true},     {"sup1", 0xB9, true},
    {"ordm", 0xBA, true},     {"raquo", 0xBB, true},    {"frac14", 0xBC, true},    {"frac12", 0xBD, true},
    {"frac34", 0xBE, true},   {"iquest", 0xBF, true},   {"times", 0xD7, true},     {"divide", 0xF7, true},
    {"apos", '\'', false},    {"Tab", '\t', false},     {"NewLine", '\n', false},  {"excl", '!', false},
    {"num", '#', false},      {"dollar", '$', false},   {"percnt", '%', false},    {"lpar", '(', false},
    {"rpar", ')', false},     {"ast", '*', false},      {"plus", '+', false},      {"comma", ',', false},
    {"period", '.', false},   {"sol", '/', false},      {"colon", ':', false},     {"semi", ';', false},
    {"equals", '=', false},   {"quest", '?', false},    {"commat", '@', false},    {"lsqb", '[', false},
    {"bsol", '\\', false},    {"rsqb", ']', false},     {"lowbar", '_', false},    {"grave", '`', false},
    {"lcub", '{', false},     {"verbar", '|', false},   {"vert", '|', false},      {"rcub", '}', false},
    {"ndash", 0x2013, false}, {"mdash", 0x2014, false}, {"lsquo", 0x2018, false},  {"rsquo", 0x2019, false},
    {"ldquo", 0x201C, false}, {"rdquo", 0x201D, false}, {"bull", 0x2022, false},   {"hellip", 0x2026, false},
    {"euro", 0x20AC, false},  {"trade", 0x2122, false},
};

// What a browser shows for the numeric references 0x80-0x9F: the
// Windows-1252 characters (0 where that code page has none, kept as is).
constexpr std::array<std::uint16_t, 32> kC1Replacements = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::uint32_t NumericRefValue(std::uint32_t value)
{
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kReplacement;
    if (value >= 0x80 && value <= 0x9F && kC1Replacements[value - 0x80] != 0)
        return kC1Replacements[value - 0x80];
    return value;
}

// Decodes the numeric reference whose "&#" starts at s[at]; returns the
// index after it, or at when there is none (no digit).
size_t DecodeNumericRef(std::string& out, std::string_view s, size_t at)
{
    size_t i = at + 2;
    const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
    if (hex)
        ++i;
    const size_t digitsStart = i;
    std::uint32_t value = 0;
    for (; i < s.size(); ++i) {
        const int digit = hex ? HexDigitValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (digit < 0)
            break;
        // Saturate: any longer number is past U+10FFFF anyway.
        if (value <= 0x10FFFF)
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (i == digitsStart)
        return at;
    if (i < s.size() && s[i] == ';')
        ++i;
    AppendCodePoint(out, NumericRefValue(value));
    return i;
}

const NamedRef* FindNamed(std::string_view name)
{
    for (const NamedRef& ref : kNamedRefs)
        if (ref.name == name)
            return &ref;
    return nullptr;
}

// Decodes the named reference whose "&" is s[at]; returns the index after
// it, or at when it stays as written.
size_t DecodeNamedRef(std::string& out, std::string_view s, size_t at)
{
    size_t end = at + 1;
    while (end < s.size() && end - at <= 32 && IsAsciiAlnum(s[end]))
        ++end;
    const NamedRef* ref = FindNamed(s.substr(at + 1, end - at - 1));
    if (!ref)
        return at;
    if (end < s.size() && s[end] == ';') {
        AppendCodePoint(out, ref->cp);
        return end + 1;
    }
    // Without ";" inside an attribute value: only the bare Latin-1 names,
    // and never before "=" (a query parameter such as "&copy=2").
    if (!ref->bare || (end < s.size() && s[end] == '='))
        return at;
    AppendCodePoint(out, ref->cp);
    return end;
}

bool IsCssNewline(char c)
{
    return c == '\n' || c == '\r' || c == '\f';
}

bool IsCssWhitespace(char c)
{
    return c == ' ' || c == '\t' || IsCssNewline(c);
}

} // namespace

void AppendCodePoint(std::string& out, std::uint32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendCharRefsDecoded(std::string& out, std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const size_t amp = s.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(s.substr(i));
            return;
        }
        out.append(s.substr(i, amp - i));
        const bool numeric = amp + 1 < s.size() && s[amp + 1] == '#';
        const size_t next = numeric ? DecodeNumericRef(out, s, amp) : DecodeNamedRef(out, s, amp);
        if (next == amp) {
            out += '&';
            i = amp + 1;
        } else {
            i = next;
        }
    }
}

void AppendCssUnescaped(std::string& out, std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const size_t slash = s.find('\\', i);
        if (slash == std::string_view::npos) {
            out.append(s.substr(i));
            return;
        }
        out.append(s.substr(i, slash - i));
        i = slash + 1;
        if (i == s.size())
            return;
        if (IsCssNewline(s[i])) {
            i += s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
            continue;
        }
        if (HexDigitValue(s[i]) < 0) {
            // The escaped character itself; the rest of a multi-byte
            // character follows as ordinary bytes.
            out += s[i++];
            continue;
        }
        std::uint32_t value = 0;
        for (int digits = 0; digits < 6 && i < s.size() && HexDigitValue(s[i]) >= 0; ++digits, ++i)
            value = value * 16 + static_cast<std::uint32_t>(HexDigitValue(s[i]));
        if (i < s.size() && IsCssWhitespace(s[i]))
            i += s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
        AppendCodePoint(out, value == 0 ? kReplacement : value);
    }
}

std::string FinishLink(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\t' || c == '\n' || c == '\r') {
            ++i;
            continue;
        }
        const size_t n = c == '\0' ? 0 : Utf8SequenceLength(text, i);
        if (n == 0) {
            AppendCodePoint(out, kReplacement);
            ++i;
            continue;
        }
        out.append(text.substr(i, n));
        i += n;
    }
    const auto isSpace = [](char b) { return b == ' ' || b == '\f'; };
    size_t begin = 0;
    size_t end = out.size();
    while (begin < end && isSpace(out[begin]))
        ++begin;
    while (end > begin && isSpace(out[end - 1]))
        --end;
    return out.substr(begin, end - begin);
}

} // namespace zorone::today
