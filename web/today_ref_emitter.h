#pragma once
// Turns a byte range of the document into a reported reference: trims it,
// converts it to UTF-8 and decodes it as its context asks.
#include "web/today_charset.h"
#include "web/today_scanner.h"

#include <cstddef>
#include <string_view>

namespace zorone::today {

enum class Decoding {
    Markup,         // an attribute value: character references
    Css,            // a style sheet: CSS escapes
    StyleAttribute, // CSS inside an attribute: character references, then CSS escapes
};

class RefEmitter {
public:
    RefEmitter(std::string_view doc, TextDecoder& decoder, RefSink& sink)
        : m_doc(doc)
        , m_decoder(decoder)
        , m_sink(sink)
    {
    }

    std::string_view Doc() const { return m_doc; }
    TextDecoder& Decoder() { return m_decoder; }

    // Reports doc[begin, end) without its surrounding ASCII whitespace;
    // nothing when no text is left.
    void Emit(std::size_t begin, std::size_t end, RefRole role, RefContext context, Decoding decoding);

private:
    std::string_view m_doc;
    TextDecoder& m_decoder;
    RefSink& m_sink;
    FoundRef m_ref;
};

} // namespace zorone::today
