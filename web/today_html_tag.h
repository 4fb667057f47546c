#pragma once
// One start or end tag of an HTML document, read as the HTML tokenizer reads
// it: names are compared without ASCII case, values may be double-quoted,
// single-quoted or bare, and of an attribute given twice the first counts.
// Only the attributes that can hold or qualify a reference are kept.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorone::today {

enum class AttrName : std::uint8_t {
    Href,
    XlinkHref,
    Src,
    Srcset,
    DataSrcset,
    ImageSrcset,
    DataSrc,
    Poster,
    Data,
    Background,
    Style,
    Content,
    HttpEquiv,
    Rel,
    Type,
    Charset,
};
inline constexpr std::size_t kAttrNameCount = 16;

struct AttrValue {
    AttrName name = AttrName::Href;
    std::size_t begin = 0; // the value's raw bytes in the document
    std::size_t end = 0;
};

struct Tag {
    std::size_t nameBegin = 0;
    std::size_t nameEnd = 0;
    bool selfClosing = false;
    // The kept attributes in document order, each name at most once.
    std::array<AttrValue, kAttrNameCount> attrs {};
    std::size_t attrCount = 0;

    const AttrValue* Find(AttrName name) const;
};

inline constexpr std::size_t kTagNotClosed = static_cast<std::size_t>(-1);

// Reads the tag whose name starts at doc[pos] (just after "<" or "</").
// Returns the index after its ">", or kTagNotClosed when the document ends
// inside the tag (a browser drops such a tag).
std::size_t ParseTag(std::string_view doc, std::size_t pos, Tag& tag);

// True when text equals lowerName without regard to ASCII case.
bool EqualsLower(std::string_view text, std::string_view lowerName);

inline bool IsHtmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

inline bool IsAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace zorone::today
