#pragma once
// Today's rules: finds every reference an HTML page or a style sheet needs,
// with the exact byte range of its raw text, so that a link converter can
// later rewrite the document in place. Nothing is resolved here: the caller
// resolves each reported text against the document's URL (or its <base>).
//
// The scanner reads a view of the whole document and never copies it; it
// allocates per reference found, not per byte, and runs in time linear in
// the document's size whatever its bytes are.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorone::today {

enum class RefRole {
    Page,      // a document to crawl: a/area href, link rel=alternate, next,
               // canonical..., meta refresh, svg <a href>
    Requisite, // what the page needs to display: style sheets, icons,
               // preloads, images, scripts, frames, media, fonts, CSS url()
    Base,      // the href of the first <base>: later references resolve
               // against it
};

enum class RefContext { Attribute, SrcsetEntry, MetaRefresh, CssUrl, CssImport };

struct FoundRef {
    // The raw text of the reference in the document: inside the quotes, after
    // "url(" and its quote, the URL of one srcset candidate (its descriptors
    // stay outside), the URL after "url=" of a refresh. Leading and trailing
    // ASCII whitespace is outside the range. A converter replaces exactly
    // [offset, offset + length); the ranges of one document are in increasing
    // order, never overlap and are never empty.
    std::size_t offset = 0;
    std::size_t length = 0;
    // The reference as UTF-8: converted from the document's charset, HTML
    // character references decoded (in markup), CSS escapes decoded (in
    // CSS), tabs and line breaks removed as a browser's URL parser does,
    // ASCII whitespace trimmed. Never empty; a NUL or an undecodable byte
    // becomes U+FFFD.
    std::string link;
    RefRole role = RefRole::Page;
    RefContext context = RefContext::Attribute;
};

class RefSink {
public:
    virtual ~RefSink() = default;
    virtual void OnRef(const FoundRef& ref) = 0;
};

enum class DocKind { Html, Css };

// The charset of a document, as a lower-case canonical name ("utf-8",
// "shift_jis", "euc-jp", "iso-2022-jp", "windows-1252", "utf-16le"...), or ""
// when nothing says. In order: a byte order mark (it outranks the header, as
// in browsers: a server's default "iso-8859-1" must not garble a UTF-8 file
// that says what it is), the Content-Type header's charset parameter, then
// for HTML a <meta charset> or <meta http-equiv=content-type> in the first
// 1024 bytes, for CSS a leading @charset rule.
std::string DetectCharset(std::string_view contentType, std::string_view bytes, DocKind kind);

// Reports every reference of the document to sink in document order. charset
// is what DetectCharset gives; "" means that a value that is valid UTF-8 is
// UTF-8 and any other is Shift_JIS (CP932). The markup is read as bytes of an
// ASCII-compatible charset: a UTF-16 document reports nothing.
void ScanReferences(std::string_view bytes, DocKind kind, std::string_view charset, RefSink& sink);

} // namespace zorone::today
