#pragma once
// Which attributes of which elements are references, and in what role.
#include "web/today_html_tag.h"
#include "web/today_ref_emitter.h"

#include <cstddef>
#include <string_view>

namespace zorone::today {

enum class TagKind {
    A,
    Area,
    Link,
    Base,
    Meta,
    Img,
    Script,
    Iframe,
    Frame,
    Embed,
    Source,
    Track,
    Audio,
    Video,
    Input,
    Object,
    Body,
    TablePart, // table, its sections, rows and cells: the legacy background=
    SvgImage,  // svg image, use, feImage
    Style,
    RawText,   // xmp, noembed, noframes: text up to the end tag, never read
    Rcdata,    // title, textarea: text with no tags in it
    Plaintext, // the rest of the document is text
    Foreign,   // svg, math: CDATA sections are text inside them
    Other,
};

TagKind ClassifyTag(std::string_view name);

// True for the HTML elements whose start tag ends svg or math content that a
// page left open (p, div, img, table, ...).
bool IsForeignBreakout(std::string_view name);

// Reports the references among the attributes of one start tag, in their
// order. baseSeen is set by the first <base href>, which alone counts.
void EmitTagRefs(RefEmitter& emitter, const Tag& tag, TagKind kind, bool& baseSeen);

// The URL part of a refresh's content ("5; url=/x", "0;URL='x'", "0; /x"),
// or false when it has none. [begin, end) is inside doc.
bool FindRefreshUrl(std::string_view doc, std::size_t& begin, std::size_t& end);

} // namespace zorone::today
