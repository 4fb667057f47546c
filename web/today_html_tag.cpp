#include "web/today_html_tag.h"

namespace zorone::today {
namespace {

struct KnownAttr {
    std::string_view name;
    AttrName id;
};

constexpr KnownAttr kKnownAttrs[] = {
    {"href", AttrName::Href},
    {"xlink:href", AttrName::XlinkHref},
    {"src", AttrName::Src},
    {"srcset", AttrName::Srcset},
    {"data-srcset", AttrName::DataSrcset},
    {"imagesrcset", AttrName::ImageSrcset},
    {"data-src", AttrName::DataSrc},
    {"poster", AttrName::Poster},
    {"data", AttrName::Data},
    {"background", AttrName::Background},
    {"style", AttrName::Style},
    {"content", AttrName::Content},
    {"http-equiv", AttrName::HttpEquiv},
    {"rel", AttrName::Rel},
    {"type", AttrName::Type},
    {"charset", AttrName::Charset},
};

bool FindKnown(std::string_view name, AttrName& id)
{
    if (name.size() < 3 || name.size() > 11)
        return false;
    for (const KnownAttr& known : kKnownAttrs) {
        if (EqualsLower(name, known.name)) {
            id = known.id;
            return true;
        }
    }
    return false;
}

void Keep(Tag& tag, std::uint32_t& seen, std::string_view doc, size_t nameBegin, size_t nameEnd, size_t valueBegin,
          size_t valueEnd)
{
    AttrName id {};
    if (!FindKnown(doc.substr(nameBegin, nameEnd - nameBegin), id))
        return;
    const std::uint32_t bit = 1u << static_cast<unsigned>(id);
    if (seen & bit)
        return;
    seen |= bit;
    tag.attrs[tag.attrCount++] = AttrValue {id, valueBegin, valueEnd};
}

} // namespace

bool EqualsLower(std::string_view text, std::string_view lowerName)
{
    if (text.size() != lowerName.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerName[i])
            return false;
    }
    return true;
}

const AttrValue* Tag::Find(AttrName name) const
{
    for (size_t i = 0; i < attrCount; ++i)
        if (attrs[i].name == name)
            return &attrs[i];
    return nullptr;
}

size_t ParseTag(std::string_view doc, size_t pos, Tag& tag)
{
    const size_t n = doc.size();
    tag.attrCount = 0;
    tag.selfClosing = false;
    tag.nameBegin = pos;
    while (pos < n && !IsHtmlSpace(doc[pos]) && doc[pos] != '/' && doc[pos] != '>')
        ++pos;
    tag.nameEnd = pos;
    std::uint32_t seen = 0;
    for (;;) {
        // Before an attribute name; a "/" not before ">" counts as a blank.
        while (pos < n && (IsHtmlSpace(doc[pos]) || doc[pos] == '/')) {
            if (doc[pos] == '/' && pos + 1 < n && doc[pos + 1] == '>') {
                tag.selfClosing = true;
                return pos + 2;
            }
            ++pos;
        }
        if (pos >= n)
            return kTagNotClosed;
        if (doc[pos] == '>')
            return pos + 1;
        // The name; a leading "=" belongs to it.
        const size_t nameBegin = pos++;
        while (pos < n && !IsHtmlSpace(doc[pos]) && doc[pos] != '/' && doc[pos] != '>' && doc[pos] != '=')
            ++pos;
        const size_t nameEnd = pos;
        while (pos < n && IsHtmlSpace(doc[pos]))
            ++pos;
        if (pos >= n)
            return kTagNotClosed;
        if (doc[pos] != '=') {
            Keep(tag, seen, doc, nameBegin, nameEnd, nameEnd, nameEnd);
            continue;
        }
        ++pos;
        while (pos < n && IsHtmlSpace(doc[pos]))
            ++pos;
        if (pos >= n)
            return kTagNotClosed;
        const char quote = doc[pos];
        if (quote == '>') {
            Keep(tag, seen, doc, nameBegin, nameEnd, pos, pos);
            return pos + 1;
        }
        size_t valueBegin = pos;
        size_t valueEnd = pos;
        if (quote == '"' || quote == '\'') {
            valueBegin = pos + 1;
            valueEnd = doc.find(quote, valueBegin);
            if (valueEnd == std::string_view::npos)
                return kTagNotClosed;
            pos = valueEnd + 1;
        } else {
            while (pos < n && !IsHtmlSpace(doc[pos]) && doc[pos] != '>')
                ++pos;
            if (pos >= n)
                return kTagNotClosed;
            valueEnd = pos;
        }
        Keep(tag, seen, doc, nameBegin, nameEnd, valueBegin, valueEnd);
    }
}

} // namespace zorone::today
