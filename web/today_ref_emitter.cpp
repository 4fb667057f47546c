#include "web/today_ref_emitter.h"

#include "web/today_escapes.h"
#include "web/today_html_tag.h"

namespace zorone::today {

void RefEmitter::Emit(size_t begin, size_t end, RefRole role, RefContext context, Decoding decoding)
{
    while (begin < end && IsHtmlSpace(m_doc[begin]))
        ++begin;
    while (end > begin && IsHtmlSpace(m_doc[end - 1]))
        --end;
    if (begin == end)
        return;
    std::string text = m_decoder.ToUtf8(m_doc.substr(begin, end - begin));
    if (decoding != Decoding::Css && text.find('&') != std::string::npos) {
        std::string decoded;
        AppendCharRefsDecoded(decoded, text);
        text.swap(decoded);
    }
    if (decoding != Decoding::Markup && text.find('\\') != std::string::npos) {
        std::string decoded;
        AppendCssUnescaped(decoded, text);
        text.swap(decoded);
    }
    // Quotes written as character references inside a style attribute
    // (url(&quot;x&quot;)) are quotes to the CSS that reads the value.
    if (decoding == Decoding::StyleAttribute && text.size() >= 2 && (text.front() == '"' || text.front() == '\'')
        && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    m_ref.link = FinishLink(text);
    if (m_ref.link.empty())
        return;
    m_ref.offset = begin;
    m_ref.length = end - begin;
    m_ref.role = role;
    m_ref.context = context;
    m_sink.OnRef(m_ref);
}

} // namespace zorone::today
