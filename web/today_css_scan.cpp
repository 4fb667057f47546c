#include "web/today_css_scan.h"

#include "web/today_html_tag.h"

namespace zorone::today {
namespace {

bool IsNameByte(char c)
{
    return IsAsciiAlpha(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool IsNewline(char c)
{
    return c == '\n' || c == '\r' || c == '\f';
}

// Bytes a bare url() may not hold: they make it a bad URL, which is no
// reference.
bool BreaksBareUrl(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return c == '"' || c == '\'' || c == '(' || b <= 0x08 || b == 0x0B || (b >= 0x0E && b <= 0x1F) || b == 0x7F;
}

class CssScanner {
public:
    CssScanner(RefEmitter& emitter, size_t begin, size_t end, Decoding decoding)
        : m_emitter(emitter)
        , m_doc(emitter.Doc())
        , m_pos(begin)
        , m_end(end)
        , m_decoding(decoding)
        , m_lead(emitter.Decoder().LeadBytesOf(m_doc.substr(begin, end - begin)))
    {
    }

    void Run()
    {
        while (m_pos < m_end)
            Step();
    }

private:
    // The width of the character at i: 2 for the lead byte of a double-byte
    // character, whose second byte may be "\".
    size_t Width(size_t i) const
    {
        const auto b = static_cast<unsigned char>(m_doc[i]);
        const bool lead = (m_lead == LeadBytes::ShiftJis && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)))
                          || (m_lead == LeadBytes::Wide && b >= 0x81 && b <= 0xFE);
        return lead && i + 1 < m_end ? 2 : 1;
    }

    void Step()
    {
        const char c = m_doc[m_pos];
        if (c == '/' && m_pos + 1 < m_end && m_doc[m_pos + 1] == '*') {
            const size_t close = m_doc.substr(0, m_end).find("*/", m_pos + 2);
            m_pos = close == std::string_view::npos ? m_end : close + 2;
        } else if (c == '"' || c == '\'') {
            String();
        } else if (c == '\\') {
            m_pos += m_pos + 1 < m_end ? 1 + Width(m_pos + 1) : 1;
        } else if (c == '@') {
            AtKeyword();
        } else if (c == '(' || c == ')') {
            if (m_imageSetDepth > 0)
                m_imageSetDepth += c == '(' ? 1 : -1;
            ++m_pos;
        } else if (c == ';' || c == '{' || c == '}') {
            m_import = false;
            m_namespace = false;
            m_imageSetDepth = 0;
            ++m_pos;
        } else if (IsAsciiAlpha(c) || c == '-' || c == '_' || static_cast<unsigned char>(c) >= 0x80) {
            Name();
        } else {
            ++m_pos;
        }
    }

    // Skips the string whose quote is at m_pos; false when a line break
    // ends it (a bad string). [contentBegin, contentEnd) is its text.
    bool SkipString(size_t& contentBegin, size_t& contentEnd)
    {
        const char quote = m_doc[m_pos];
        contentBegin = ++m_pos;
        while (m_pos < m_end) {
            const char c = m_doc[m_pos];
            if (c == quote) {
                contentEnd = m_pos++;
                return true;
            }
            if (IsNewline(c)) {
                contentEnd = m_pos;
                return false;
            }
            if (c == '\\' && m_pos + 1 < m_end)
                m_pos += 1 + Width(m_pos + 1);
            else
                m_pos += Width(m_pos);
        }
        // The end of the sheet closes an open string.
        contentEnd = m_end;
        return true;
    }

    void String()
    {
        size_t begin = 0;
        size_t end = 0;
        if (!SkipString(begin, end) || m_namespace)
            return;
        if (m_import)
            m_emitter.Emit(begin, end, RefRole::Requisite, RefContext::CssImport, m_decoding);
        else if (m_imageSetDepth == 1)
            m_emitter.Emit(begin, end, RefRole::Requisite, RefContext::CssUrl, m_decoding);
        m_import = false;
    }

    void AtKeyword()
    {
        const size_t nameBegin = ++m_pos;
        while (m_pos < m_end && IsNameByte(m_doc[m_pos]))
            ++m_pos;
        const std::string_view name = m_doc.substr(nameBegin, m_pos - nameBegin);
        m_import = EqualsLower(name, "import");
        m_namespace = EqualsLower(name, "namespace");
    }

    void Name()
    {
        const size_t begin = m_pos;
        while (m_pos < m_end && (IsNameByte(m_doc[m_pos]) || m_doc[m_pos] == '\\')) {
            if (m_doc[m_pos] == '\\')
                m_pos += m_pos + 1 < m_end ? 1 + Width(m_pos + 1) : 1;
            else
                m_pos += Width(m_pos);
        }
        if (m_pos >= m_end || m_doc[m_pos] != '(')
            return;
        const std::string_view name = m_doc.substr(begin, m_pos - begin);
        ++m_pos;
        if (EqualsLower(name, "url"))
            Url();
        else if (EqualsLower(name, "image-set") || EqualsLower(name, "-webkit-image-set"))
            m_imageSetDepth = 1;
        else if (m_imageSetDepth > 0)
            ++m_imageSetDepth;
    }

    void SkipSpace()
    {
        while (m_pos < m_end && IsHtmlSpace(m_doc[m_pos]))
            ++m_pos;
    }

    // After "url(": a quoted string or a bare URL up to ")".
    void Url()
    {
        const RefContext context = m_import ? RefContext::CssImport : RefContext::CssUrl;
        // A namespace's URL names it; nothing is fetched from there.
        const bool report = !m_namespace;
        m_import = false;
        SkipSpace();
        if (m_pos < m_end && (m_doc[m_pos] == '"' || m_doc[m_pos] == '\'')) {
            size_t begin = 0;
            size_t end = 0;
            if (!SkipString(begin, end))
                return;
            SkipSpace();
            if (m_pos >= m_end || m_doc[m_pos] == ')') {
                if (report)
                    m_emitter.Emit(begin, end, RefRole::Requisite, context, m_decoding);
                ++m_pos;
            }
            return;
        }
        const size_t begin = m_pos;
        while (m_pos < m_end) {
            const char c = m_doc[m_pos];
            if (c == ')' || IsHtmlSpace(c))
                break;
            if (BreaksBareUrl(c) || (c == '\\' && (m_pos + 1 >= m_end || IsNewline(m_doc[m_pos + 1])))) {
                SkipBadUrl();
                return;
            }
            m_pos += c == '\\' ? 1 + Width(m_pos + 1) : Width(m_pos);
        }
        const size_t end = m_pos;
        SkipSpace();
        if (m_pos < m_end && m_doc[m_pos] != ')') {
            SkipBadUrl();
            return;
        }
        if (report)
            m_emitter.Emit(begin, end, RefRole::Requisite, context, m_decoding);
        ++m_pos;
    }

    void SkipBadUrl()
    {
        while (m_pos < m_end && m_doc[m_pos] != ')')
            m_pos += m_doc[m_pos] == '\\' && m_pos + 1 < m_end ? 1 + Width(m_pos + 1) : Width(m_pos);
        ++m_pos;
    }

    RefEmitter& m_emitter;
    std::string_view m_doc;
    size_t m_pos;
    size_t m_end;
    Decoding m_decoding;
    LeadBytes m_lead;
    bool m_import = false;    // after @import, until its URL or the rule's end
    bool m_namespace = false; // after @namespace, until the rule's end
    int m_imageSetDepth = 0; // 1 directly inside image-set(), more in a nested function
};

} // namespace

void ScanCss(RefEmitter& emitter, size_t begin, size_t end, Decoding decoding)
{
    CssScanner(emitter, begin, end, decoding).Run();
}

} // namespace zorone::today
