#include "web/link_scanner.h"

#include "web/list_util.h"
#include "web/site_util.h"
#include "web/url_util.h"

#include <array>
#include <cstring>

namespace zorone {
namespace {

constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

// Bytes that end a run of ordinary word bytes in the outer scan.
constexpr std::array<bool, 256> kOuterStops = [] {
    std::array<bool, 256> t {};
    for (const unsigned char c : {'"', '=', ' ', '\r', '\n'})
        t[c] = true;
    return t;
}();

class Scanner {
public:
    Scanner(std::string_view folderUrl, std::string_view text, std::string_view tags, LinkSink& sink)
        : m_folder(folderUrl)
        , m_text(text)
        , m_tags(tags)
        , m_sink(sink)
    {
    }

    void Run();

private:
    // Reads the value that starts at p (the byte after "="). Returns the
    // index of the byte that ended it, or the text's size when the text ended
    // first (the value is then dropped).
    size_t ReadValue(size_t p);
    void OnValue(const std::string& value);

    std::string_view m_folder;
    std::string_view m_text;
    std::string_view m_tags;
    LinkSink& m_sink;
    // Reused for every word and value, so the scan allocates only while they
    // grow to their longest.
    std::string m_word;
    std::string m_value;
};

void Scanner::Run()
{
    const char* const data = m_text.data();
    const size_t size = m_text.size();
    bool blankSeen = false;
    size_t p = 0;
    while (p < size) {
        const char b = data[p];
        if (b == '"') {
            // A double-quoted stretch outside a link value: skipped whole,
            // "name=" inside it included.
            const void* close = std::memchr(data + p + 1, '"', size - p - 1);
            if (!close)
                return;
            p = static_cast<size_t>(static_cast<const char*>(close) - data) + 1;
            continue;
        }
        if (b == '=') {
            if (CListUtil::IsInList(m_word, m_tags) == 1)
                p = ReadValue(p + 1);
            m_word.clear();
            ++p;
            continue;
        }
        if (IsBlank(b)) {
            blankSeen = true;
            ++p;
            continue;
        }
        // A run of ordinary bytes; after a blank it starts a new word.
        size_t end = p + 1;
        while (end < size && !kOuterStops[static_cast<unsigned char>(data[end])])
            ++end;
        if (blankSeen) {
            m_word.assign(data + p, end - p);
            blankSeen = false;
        } else {
            m_word.append(data + p, end - p);
        }
        p = end;
    }
}

size_t Scanner::ReadValue(size_t p)
{
    enum class Quote { None, Single, Double, Bare };
    Quote mode = Quote::None;
    m_value.clear();
    for (; p < m_text.size(); ++p) {
        const char b = m_text[p];
        bool complete = false;
        if (IsBlank(b)) {
            // Blanks before the value and inside quotes are dropped.
            complete = mode == Quote::Bare;
        } else if (b == '>') {
            if (mode == Quote::None || mode == Quote::Bare)
                complete = true;
            else
                m_value.push_back(b);
        } else if (b == '\'') {
            if (mode == Quote::None)
                mode = Quote::Single;
            else if (mode == Quote::Single)
                complete = true;
            else
                m_value.push_back(b);
        } else if (b == '"') {
            // Also opens a double-quoted part inside a single-quoted or bare
            // value.
            if (mode == Quote::Double)
                complete = true;
            else
                mode = Quote::Double;
        } else {
            if (mode == Quote::None)
                mode = Quote::Bare;
            m_value.push_back(b);
        }
        if (complete) {
            OnValue(m_value);
            return p;
        }
    }
    return p;
}

void Scanner::OnValue(const std::string& value)
{
    if (value.starts_with('#'))
        return;
    // "file:", "javascript:", "data:" and the like name nothing to fetch;
    // resolved as paths they would become requests for nonsense.
    if (value.starts_with("mailto:") || CUrlUtil::HasOtherScheme(value)) {
        m_sink.OnDropped(value, LinkSink::Dropped::OtherScheme);
        return;
    }
    std::string link = CSiteUtil::IsAbsoluteUrl(value) != 1 && CSiteUtil::IsValidUrlText(value) == 1
                           ? CUrlUtil::ResolveUrl(m_folder, value)
                           : value;
    if (CSiteUtil::IsAbsoluteUrl(link) == 1) {
        m_sink.OnLink(std::move(link));
        return;
    }
    // A value that did not resolve to an absolute URL (the folder is not
    // http:// or ftp://, say) may still be usable joined to the folder.
    link.insert(0, m_folder);
    if (CSiteUtil::IsValidUrlText(link) == 1)
        m_sink.OnLink(std::move(link));
    else
        m_sink.OnDropped(value, LinkSink::Dropped::Unusable);
}

} // namespace

void ScanLinks(std::string_view folderUrl, std::string_view text, std::string_view tags, LinkSink& sink)
{
    Scanner(folderUrl, text, tags, sink).Run();
}

} // namespace zorone
