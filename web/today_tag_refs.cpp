#include "web/today_tag_refs.h"

#include "web/today_css_scan.h"

namespace zorone::today {
namespace {

struct KnownTag {
    std::string_view name;
    TagKind kind;
};

constexpr KnownTag kKnownTags[] = {
    {"a", TagKind::A},
    {"area", TagKind::Area},
    {"link", TagKind::Link},
    {"base", TagKind::Base},
    {"meta", TagKind::Meta},
    {"img", TagKind::Img},
    {"script", TagKind::Script},
    {"iframe", TagKind::Iframe},
    {"frame", TagKind::Frame},
    {"embed", TagKind::Embed},
    {"source", TagKind::Source},
    {"track", TagKind::Track},
    {"audio", TagKind::Audio},
    {"video", TagKind::Video},
    {"input", TagKind::Input},
    {"object", TagKind::Object},
    {"body", TagKind::Body},
    {"table", TagKind::TablePart},
    {"thead", TagKind::TablePart},
    {"tbody", TagKind::TablePart},
    {"tfoot", TagKind::TablePart},
    {"tr", TagKind::TablePart},
    {"td", TagKind::TablePart},
    {"th", TagKind::TablePart},
    {"image", TagKind::SvgImage},
    {"use", TagKind::SvgImage},
    {"feimage", TagKind::SvgImage},
    {"style", TagKind::Style},
    {"xmp", TagKind::RawText},
    {"noembed", TagKind::RawText},
    {"noframes", TagKind::RawText},
    {"title", TagKind::Rcdata},
    {"textarea", TagKind::Rcdata},
    {"plaintext", TagKind::Plaintext},
    {"svg", TagKind::Foreign},
    {"math", TagKind::Foreign},
};

constexpr std::string_view kForeignBreakouts[] = {
    "b",   "big", "blockquote", "body", "br",     "center", "code",   "dd",    "div",  "dl", "dt", "em",
    "embed", "h1", "h2",        "h3",   "h4",     "h5",     "h6",     "head",  "hr",   "i",  "img", "li",
    "listing", "menu", "meta",  "nobr", "ol",     "p",      "pre",    "ruby",  "s",    "small", "span", "strong",
    "strike", "sub", "sup",     "table", "tt",    "u",      "ul",     "var",
};

// rel tokens whose href the page needs to display.
constexpr std::string_view kRequisiteRels[] = {
    "stylesheet", "icon",     "shortcut", "preload",   "modulepreload", "prefetch",
    "manifest",   "mask-icon", "apple-touch-startup-image",
};

// rel tokens whose href names a server, not a file: nothing to fetch.
constexpr std::string_view kOriginRels[] = {"preconnect", "dns-prefetch"};

std::string_view Value(std::string_view doc, const AttrValue& attr)
{
    return doc.substr(attr.begin, attr.end - attr.begin);
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsHtmlSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsHtmlSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool AttrIs(std::string_view doc, const Tag& tag, AttrName name, std::string_view lowerValue)
{
    const AttrValue* attr = tag.Find(name);
    return attr && EqualsLower(Trimmed(Value(doc, *attr)), lowerValue);
}

bool IsRequisiteRel(std::string_view token)
{
    for (const std::string_view rel : kRequisiteRels)
        if (EqualsLower(token, rel))
            return true;
    constexpr std::string_view kTouchIcon = "apple-touch-icon";
    return token.size() >= kTouchIcon.size() && EqualsLower(token.substr(0, kTouchIcon.size()), kTouchIcon);
}

bool IsOriginRel(std::string_view token)
{
    for (const std::string_view rel : kOriginRels)
        if (EqualsLower(token, rel))
            return true;
    return false;
}

// The role of a <link href>, false when it is no reference.
bool LinkRole(std::string_view doc, const Tag& tag, RefRole& role)
{
    const AttrValue* rel = tag.Find(AttrName::Rel);
    const std::string_view tokens = rel ? Value(doc, *rel) : std::string_view();
    bool origin = false;
    size_t i = 0;
    while (i < tokens.size()) {
        while (i < tokens.size() && IsHtmlSpace(tokens[i]))
            ++i;
        const size_t start = i;
        while (i < tokens.size() && !IsHtmlSpace(tokens[i]))
            ++i;
        const std::string_view token = tokens.substr(start, i - start);
        if (IsRequisiteRel(token)) {
            role = RefRole::Requisite;
            return true;
        }
        origin = origin || IsOriginRel(token);
    }
    role = RefRole::Page;
    return !origin;
}

bool HrefRole(std::string_view doc, const Tag& tag, TagKind kind, AttrName name, bool& baseSeen, RefRole& role)
{
    switch (kind) {
    case TagKind::A:
    case TagKind::Area:
        role = RefRole::Page;
        return true;
    case TagKind::SvgImage:
    case TagKind::Script:
        role = RefRole::Requisite;
        return true;
    case TagKind::Link:
        return name == AttrName::Href && LinkRole(doc, tag, role);
    case TagKind::Base:
        if (name != AttrName::Href || baseSeen)
            return false;
        baseSeen = true;
        role = RefRole::Base;
        return true;
    default:
        return false;
    }
}

bool TakesSrc(std::string_view doc, const Tag& tag, TagKind kind)
{
    switch (kind) {
    case TagKind::Img:
    case TagKind::Script:
    case TagKind::Iframe:
    case TagKind::Frame:
    case TagKind::Embed:
    case TagKind::Source:
    case TagKind::Track:
    case TagKind::Audio:
    case TagKind::Video:
        return true;
    case TagKind::Input:
        return AttrIs(doc, tag, AttrName::Type, "image");
    default:
        return false;
    }
}

// Each candidate of a srcset is "url [descriptors]"; the URL is everything up
// to a blank, without trailing commas, and a comma outside parentheses ends
// the descriptors.
void EmitSrcset(RefEmitter& emitter, size_t begin, size_t end)
{
    const std::string_view doc = emitter.Doc();
    size_t pos = begin;
    for (;;) {
        while (pos < end && (IsHtmlSpace(doc[pos]) || doc[pos] == ','))
            ++pos;
        if (pos >= end)
            return;
        const size_t urlBegin = pos;
        while (pos < end && !IsHtmlSpace(doc[pos]))
            ++pos;
        size_t urlEnd = pos;
        if (doc[urlEnd - 1] == ',') {
            while (doc[urlEnd - 1] == ',')
                --urlEnd;
            emitter.Emit(urlBegin, urlEnd, RefRole::Requisite, RefContext::SrcsetEntry, Decoding::Markup);
            continue;
        }
        emitter.Emit(urlBegin, urlEnd, RefRole::Requisite, RefContext::SrcsetEntry, Decoding::Markup);
        while (pos < end && doc[pos] != ',') {
            if (doc[pos] == '(') {
                while (pos < end && doc[pos] != ')')
                    ++pos;
            }
            if (pos < end)
                ++pos;
        }
    }
}

bool StartsWithUrlEquals(std::string_view doc, size_t& pos, size_t end)
{
    if (end - pos < 3 || !EqualsLower(doc.substr(pos, 3), "url"))
        return false;
    size_t i = pos + 3;
    while (i < end && IsHtmlSpace(doc[i]))
        ++i;
    if (i >= end || doc[i] != '=')
        return false;
    pos = i + 1;
    while (pos < end && IsHtmlSpace(doc[pos]))
        ++pos;
    return true;
}

void EmitAttr(RefEmitter& emitter, const Tag& tag, TagKind kind, const AttrValue& attr, bool& baseSeen)
{
    const std::string_view doc = emitter.Doc();
    const auto emit = [&](RefRole role) {
        emitter.Emit(attr.begin, attr.end, role, RefContext::Attribute, Decoding::Markup);
    };
    RefRole role = RefRole::Page;
    switch (attr.name) {
    case AttrName::Href:
    case AttrName::XlinkHref:
        if (HrefRole(doc, tag, kind, attr.name, baseSeen, role))
            emit(role);
        break;
    case AttrName::Src:
        if (TakesSrc(doc, tag, kind))
            emit(RefRole::Requisite);
        break;
    case AttrName::Srcset:
    case AttrName::DataSrcset:
    case AttrName::ImageSrcset:
        EmitSrcset(emitter, attr.begin, attr.end);
        break;
    case AttrName::DataSrc:
        emit(RefRole::Requisite);
        break;
    case AttrName::Poster:
        if (kind == TagKind::Video)
            emit(RefRole::Requisite);
        break;
    case AttrName::Data:
        if (kind == TagKind::Object)
            emit(RefRole::Requisite);
        break;
    case AttrName::Background:
        if (kind == TagKind::Body || kind == TagKind::TablePart)
            emit(RefRole::Requisite);
        break;
    case AttrName::Style:
        ScanCss(emitter, attr.begin, attr.end, Decoding::StyleAttribute);
        break;
    case AttrName::Content: {
        size_t begin = attr.begin;
        size_t end = attr.end;
        if (kind == TagKind::Meta && AttrIs(doc, tag, AttrName::HttpEquiv, "refresh")
            && FindRefreshUrl(doc, begin, end))
            emitter.Emit(begin, end, RefRole::Page, RefContext::MetaRefresh, Decoding::Markup);
        break;
    }
    default:
        break;
    }
}

} // namespace

TagKind ClassifyTag(std::string_view name)
{
    if (name.size() > 9)
        return TagKind::Other;
    for (const KnownTag& known : kKnownTags)
        if (EqualsLower(name, known.name))
            return known.kind;
    return TagKind::Other;
}

bool IsForeignBreakout(std::string_view name)
{
    if (name.size() > 10)
        return false;
    for (const std::string_view breakout : kForeignBreakouts)
        if (EqualsLower(name, breakout))
            return true;
    return false;
}

void EmitTagRefs(RefEmitter& emitter, const Tag& tag, TagKind kind, bool& baseSeen)
{
    for (size_t i = 0; i < tag.attrCount; ++i)
        EmitAttr(emitter, tag, kind, tag.attrs[i], baseSeen);
}

bool FindRefreshUrl(std::string_view doc, size_t& begin, size_t& end)
{
    size_t pos = begin;
    while (pos < end && IsHtmlSpace(doc[pos]))
        ++pos;
    const size_t timeBegin = pos;
    while (pos < end && ((doc[pos] >= '0' && doc[pos] <= '9') || doc[pos] == '.'))
        ++pos;
    if (pos == timeBegin)
        return false;
    if (pos < end && !IsHtmlSpace(doc[pos]) && doc[pos] != ';' && doc[pos] != ',')
        return false;
    while (pos < end && IsHtmlSpace(doc[pos]))
        ++pos;
    if (pos < end && (doc[pos] == ';' || doc[pos] == ','))
        ++pos;
    while (pos < end && IsHtmlSpace(doc[pos]))
        ++pos;
    if (pos >= end)
        return false;
    StartsWithUrlEquals(doc, pos, end);
    if (pos < end && (doc[pos] == '"' || doc[pos] == '\'')) {
        const char quote = doc[pos++];
        const size_t close = doc.substr(0, end).find(quote, pos);
        if (close != std::string_view::npos)
            end = close;
    }
    begin = pos;
    return begin < end;
}

} // namespace zorone::today
