// Where a document says its charset.
#include "web/today_charset.h"
#include "web/today_html_tag.h"
#include "web/today_scanner.h"

namespace zorone::today {
namespace {

// Browsers look for a <meta> charset this far into a page.
constexpr size_t kPrescanBytes = 1024;

std::string FromBom(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return "utf-8";
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return "utf-16be";
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return "utf-16le";
    return "";
}

// A page that says it is UTF-16 in its own ASCII bytes cannot be: browsers
// read it as UTF-8, and the user-defined charset as Windows-1252.
std::string FromMeta(std::string_view label, bool contentType)
{
    std::string charset = contentType ? CharsetFromContentType(label) : CanonicalCharset(label);
    if (charset.rfind("utf-16", 0) == 0)
        return "utf-8";
    if (charset == "x-user-defined")
        return "windows-1252";
    return charset;
}

std::string MetaCharset(std::string_view head, const Tag& tag)
{
    const auto value = [&](const AttrValue* attr) { return head.substr(attr->begin, attr->end - attr->begin); };
    if (const AttrValue* charset = tag.Find(AttrName::Charset)) {
        std::string found = FromMeta(value(charset), false);
        if (!found.empty())
            return found;
    }
    const AttrValue* equiv = tag.Find(AttrName::HttpEquiv);
    const AttrValue* content = tag.Find(AttrName::Content);
    if (equiv && content && EqualsLower(value(equiv), "content-type"))
        return FromMeta(value(content), true);
    return "";
}

std::string FromHtmlHead(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, kPrescanBytes);
    Tag tag;
    size_t pos = 0;
    for (;;) {
        const size_t lt = head.find('<', pos);
        if (lt == std::string_view::npos || lt + 1 >= head.size())
            return "";
        const char next = head[lt + 1];
        size_t end = 0;
        if (head.compare(lt, 4, "<!--") == 0) {
            end = head.find("-->", lt + 2);
            end = end == std::string_view::npos ? end : end + 3;
        } else if (IsAsciiAlpha(next) || (next == '/' && lt + 2 < head.size() && IsAsciiAlpha(head[lt + 2]))) {
            end = ParseTag(head, lt + (next == '/' ? 2 : 1), tag);
            if (end == kTagNotClosed)
                return "";
            if (next != '/' && EqualsLower(head.substr(tag.nameBegin, tag.nameEnd - tag.nameBegin), "meta")) {
                std::string charset = MetaCharset(head, tag);
                if (!charset.empty())
                    return charset;
            }
        } else if (next == '!' || next == '/' || next == '?') {
            end = head.find('>', lt);
            end = end == std::string_view::npos ? end : end + 1;
        } else {
            end = lt + 1;
        }
        if (end == std::string_view::npos)
            return "";
        pos = end;
    }
}

std::string FromCssCharsetRule(std::string_view bytes)
{
    constexpr std::string_view kRule = "@charset \"";
    if (bytes.substr(0, kRule.size()) != kRule)
        return "";
    const size_t close = bytes.find('"', kRule.size());
    if (close == std::string_view::npos || bytes.substr(close, 2) != "\";")
        return "";
    return FromMeta(bytes.substr(kRule.size(), close - kRule.size()), false);
}

} // namespace

std::string DetectCharset(std::string_view contentType, std::string_view bytes, DocKind kind)
{
    std::string charset = FromBom(bytes);
    if (charset.empty())
        charset = CharsetFromContentType(contentType);
    if (charset.empty())
        charset = kind == DocKind::Html ? FromHtmlHead(bytes) : FromCssCharsetRule(bytes);
    return charset;
}

} // namespace zorone::today
