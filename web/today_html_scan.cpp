// The markup tokenizer of today's rules: a single pass in the manner of the
// HTML tokenizer, for what decides where references are. Text, comments,
// script text and escaped markup ("&lt;a href=...&gt;") hold none; tags and
// <style> text do. A tag the document ends inside is dropped, as a browser
// drops it.
#include "web/today_css_scan.h"
#include "web/today_html_tag.h"
#include "web/today_ref_emitter.h"
#include "web/today_scanner.h"
#include "web/today_tag_refs.h"

namespace zorone::today {
namespace {

constexpr size_t kEnd = std::string_view::npos;

bool StartsWith(std::string_view doc, size_t pos, std::string_view prefix)
{
    return doc.size() - pos >= prefix.size() && doc.compare(pos, prefix.size(), prefix) == 0;
}

size_t After(std::string_view doc, size_t pos, std::string_view what)
{
    const size_t at = doc.find(what, pos);
    return at == kEnd ? kEnd : at + what.size();
}

class HtmlScanner {
public:
    HtmlScanner(std::string_view doc, TextDecoder& decoder, RefSink& sink)
        : m_doc(doc)
        , m_emitter(doc, decoder, sink)
    {
    }

    void Run()
    {
        size_t pos = 0;
        while (pos != kEnd && pos < m_doc.size()) {
            const size_t lt = m_doc.find('<', pos);
            if (lt == kEnd || lt + 1 >= m_doc.size())
                return;
            pos = Markup(lt + 1);
        }
    }

private:
    // What follows a "<" at pos; returns where text resumes, or kEnd.
    size_t Markup(size_t pos)
    {
        const char c = m_doc[pos];
        if (c == '!')
            return Declaration(pos + 1);
        if (c == '?')
            return After(m_doc, pos, ">");
        if (c == '/') {
            if (pos + 1 < m_doc.size() && IsAsciiAlpha(m_doc[pos + 1]))
                return EndTag(pos + 1);
            return After(m_doc, pos, ">");
        }
        if (IsAsciiAlpha(c))
            return StartTag(pos);
        return pos; // a "<" that is text
    }

    // After "<!": a comment, a CDATA section in svg or math, or a bogus
    // comment (DOCTYPE included) up to ">".
    size_t Declaration(size_t pos)
    {
        if (StartsWith(m_doc, pos, "--")) {
            pos += 2;
            if (StartsWith(m_doc, pos, ">"))
                return pos + 1;
            if (StartsWith(m_doc, pos, "->"))
                return pos + 2;
            return CommentEnd(pos);
        }
        if (m_foreignDepth > 0 && StartsWith(m_doc, pos, "[CDATA["))
            return After(m_doc, pos + 7, "]]>");
        return After(m_doc, pos, ">");
    }

    // A comment ends at "-->" or "--!>".
    size_t CommentEnd(size_t pos)
    {
        for (;;) {
            const size_t gt = m_doc.find('>', pos);
            if (gt == kEnd)
                return kEnd;
            if (gt >= pos + 2 && m_doc[gt - 1] == '-' && m_doc[gt - 2] == '-')
                return gt + 1;
            if (gt >= pos + 3 && m_doc[gt - 1] == '!' && m_doc[gt - 2] == '-' && m_doc[gt - 3] == '-')
                return gt + 1;
            pos = gt + 1;
        }
    }

    size_t EndTag(size_t pos)
    {
        const size_t end = ParseTag(m_doc, pos, m_tag);
        if (end != kTagNotClosed && m_foreignDepth > 0 && ClassifyTag(TagName()) == TagKind::Foreign)
            --m_foreignDepth;
        return end == kTagNotClosed ? kEnd : end;
    }

    size_t StartTag(size_t pos)
    {
        const size_t end = ParseTag(m_doc, pos, m_tag);
        if (end == kTagNotClosed)
            return kEnd;
        const TagKind kind = ClassifyTag(TagName());
        EmitTagRefs(m_emitter, m_tag, kind, m_baseSeen);
        if (m_foreignDepth > 0 && IsForeignBreakout(TagName()))
            m_foreignDepth = 0;
        if (m_foreignDepth > 0 && kind != TagKind::Foreign)
            return ForeignContent(kind, end);
        switch (kind) {
        case TagKind::Foreign:
            if (!m_tag.selfClosing)
                ++m_foreignDepth;
            return end;
        case TagKind::Plaintext:
            return kEnd;
        case TagKind::Style:
            return StyleText(end);
        case TagKind::Script:
        case TagKind::Iframe:
        case TagKind::RawText:
        case TagKind::Rcdata:
            return TextEnd(end);
        default:
            return end;
        }
    }

    // Inside svg or math, elements have no raw text: only a style element's
    // text is still read as CSS, and a self-closed one has none.
    size_t ForeignContent(TagKind kind, size_t end)
    {
        return kind == TagKind::Style && !m_tag.selfClosing ? StyleText(end) : end;
    }

    // A style element's text, from pos to its end tag, is a style sheet.
    size_t StyleText(size_t pos)
    {
        const size_t close = TextEnd(pos);
        ScanCss(m_emitter, pos, close, Decoding::Css);
        return close;
    }

    // The text of a raw text or RCDATA element runs from pos to the first
    // end tag with its name.
    size_t TextEnd(size_t pos)
    {
        const std::string_view name = TagName();
        for (;;) {
            const size_t close = m_doc.find("</", pos);
            if (close == kEnd)
                return m_doc.size();
            const size_t after = close + 2 + name.size();
            if (after <= m_doc.size() && EqualsLowerAscii(m_doc.substr(close + 2, name.size()), name)
                && (after == m_doc.size() || IsHtmlSpace(m_doc[after]) || m_doc[after] == '/' || m_doc[after] == '>'))
                return close;
            pos = close + 2;
        }
    }

    static bool EqualsLowerAscii(std::string_view a, std::string_view b)
    {
        for (size_t i = 0; i < a.size(); ++i) {
            const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    }

    std::string_view TagName() const { return m_doc.substr(m_tag.nameBegin, m_tag.nameEnd - m_tag.nameBegin); }

    std::string_view m_doc;
    RefEmitter m_emitter;
    Tag m_tag;
    bool m_baseSeen = false;
    int m_foreignDepth = 0;
};

} // namespace

void ScanReferences(std::string_view bytes, DocKind kind, std::string_view charset, RefSink& sink)
{
    TextDecoder decoder(charset);
    if (!decoder.AsciiCompatible())
        return;
    if (kind == DocKind::Css) {
        RefEmitter emitter(bytes, decoder, sink);
        ScanCss(emitter, 0, bytes.size(), Decoding::Css);
        return;
    }
    HtmlScanner(bytes, decoder, sink).Run();
}

} // namespace zorone::today
