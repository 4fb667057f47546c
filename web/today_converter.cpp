#include "web/today_converter.h"

#include "platform/code_page.h"
#include "web/site_util.h"
#include "web/text_case.h"
#include "web/today_local_name.h"
#include "web/today_url.h"

#include <vector>

namespace zorone::today {
namespace {

std::vector<std::string_view> Split(std::string_view path)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
        if (slash == std::string_view::npos)
            return parts;
        start = slash + 1;
    }
}

bool IsSafe(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '@' || c == '=';
}

void AppendEscaped(std::string& out, std::string_view cp932Name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const unsigned char c : platform::Cp932ToUtf8(cp932Name)) {
        if (IsSafe(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
}

// The "#..." part of a reference as written, kept across the rewrite.
std::string_view FragmentOf(std::string_view link)
{
    const size_t hash = link.find('#');
    return hash == std::string_view::npos ? std::string_view() : link.substr(hash);
}

// An absolute address written back into an HTML attribute: "&" as "&amp;"
// so that a query like "?a=1&copy=2" is not read as an entity.
std::string ForAttribute(std::string_view url)
{
    std::string out;
    out.reserve(url.size());
    for (const char c : url) {
        if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

bool IsHtmlAttribute(RefContext context)
{
    return context == RefContext::Attribute || context == RefContext::SrcsetEntry ||
           context == RefContext::MetaRefresh;
}

class Rewriter final : public RefSink {
public:
    Rewriter(std::string_view bytes, DocKind kind, const std::string& docUrl, const std::string& docFile,
             const StoredFiles& files)
        : m_bytes(bytes)
        , m_kind(kind)
        , m_docFile(docFile)
        , m_files(files)
        , m_base(docUrl)
    {
        m_out.bytes.reserve(bytes.size() + bytes.size() / 8);
    }

    void OnRef(const FoundRef& ref) override
    {
        if (ref.offset < m_done || ref.offset + ref.length > m_bytes.size())
            return;
        std::string replacement;
        if (ref.role == RefRole::Base) {
            if (m_baseSeen)
                return;
            m_baseSeen = true;
            if (std::string base = ResolveLink(m_base, ref.link); !base.empty())
                m_base = std::move(base);
            replacement = RelativeReference(m_docFile, m_docFile);
        } else {
            // A lone "#x" points into this very page, on disk as online.
            if (!ref.link.empty() && ref.link.front() == '#')
                return;
            const std::string url = ResolveLink(m_base, ref.link);
            if (url.empty())
                return;
            const std::string_view fragment = FragmentOf(ref.link);
            if (const std::string* file = m_files.FileOf(url)) {
                replacement = RelativeReference(m_docFile, *file);
                ++m_out.toFiles;
            } else {
                const bool escape = m_kind == DocKind::Html && IsHtmlAttribute(ref.context);
                replacement = escape ? ForAttribute(url) : url;
                ++m_out.toNetwork;
            }
            replacement += fragment;
        }
        m_out.bytes.append(m_bytes.substr(m_done, ref.offset - m_done));
        m_out.bytes += replacement;
        m_out.edits.push_back({ref.offset, ref.length, replacement.size()});
        m_done = ref.offset + ref.length;
    }

    ConvertedDocument Finish()
    {
        m_out.bytes.append(m_bytes.substr(m_done));
        return std::move(m_out);
    }

private:
    std::string_view m_bytes;
    DocKind m_kind;
    const std::string& m_docFile;
    const StoredFiles& m_files;
    std::string m_base;
    bool m_baseSeen = false;
    size_t m_done = 0;
    ConvertedDocument m_out;
};

} // namespace

std::optional<DocKind> DocumentKindOf(std::string_view contentType, std::string_view localPath)
{
    if (!contentType.empty()) {
        if (IsHtmlType(contentType) || IsSvgType(contentType))
            return DocKind::Html;
        if (IsCssType(contentType))
            return DocKind::Css;
        return std::nullopt;
    }
    const std::string ext = ToLowerCp932(CSiteUtil::GetExtension(CSiteUtil::GetFileName(localPath)));
    if (ext == "html" || ext == "htm" || ext == "xhtml" || ext == "shtml" || ext == "svg")
        return DocKind::Html;
    if (ext == "css")
        return DocKind::Css;
    return std::nullopt;
}

std::string RelativeReference(std::string_view fromFile, std::string_view toFile)
{
    const std::vector<std::string_view> from = Split(fromFile);
    const std::vector<std::string_view> to = Split(toFile);
    // Folders both paths share, the file names left out.
    size_t common = 0;
    while (common + 1 < from.size() && common + 1 < to.size() && from[common] == to[common])
        ++common;
    std::string out;
    for (size_t i = common; i + 1 < from.size(); ++i)
        out += "../";
    for (size_t i = common; i < to.size(); ++i) {
        AppendEscaped(out, to[i]);
        if (i + 1 < to.size())
            out += '/';
    }
    return out;
}

ConvertedDocument ConvertDocument(std::string_view bytes, DocKind kind, std::string_view charset,
                                  const std::string& docUrl, const std::string& docFile, const StoredFiles& files)
{
    Rewriter rewriter(bytes, kind, docUrl, docFile, files);
    ScanReferences(bytes, kind, charset, rewriter);
    return rewriter.Finish();
}

} // namespace zorone::today
