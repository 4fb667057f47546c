#include "qt/list_filter.h"

#include "platform/code_page.h"
#include "qt/qt_text.h"
#include "res/texts.h"

namespace zorone::qt {
namespace {

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t CharLength(std::string_view s, size_t i)
{
    return platform::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// Whether needle matches url at i, character by character.
bool MatchesAt(std::string_view url, size_t i, std::string_view needle)
{
    size_t j = 0;
    while (j < needle.size()) {
        if (i >= url.size())
            return false;
        const size_t len = CharLength(url, i);
        if (len != CharLength(needle, j))
            return false;
        if (len == 1 ? FoldAscii(url[i]) != FoldAscii(needle[j]) : url.substr(i, 2) != needle.substr(j, 2))
            return false;
        i += len;
        j += len;
    }
    return true;
}

} // namespace

bool UrlContains(std::string_view url, std::string_view needle)
{
    if (needle.empty())
        return true;
    for (size_t i = 0; i < url.size(); i += CharLength(url, i))
        if (MatchesAt(url, i, needle))
            return true;
    return false;
}

bool MarkPasses(const std::string& mark, MarkFilter filter)
{
    switch (filter) {
    case MarkFilter::All:
        return true;
    case MarkFilter::Waiting:
        // As the crawl sees it: any mark but done and being downloaded waits.
        return mark != res::kMarkDone && mark != res::kMarkActive && mark != res::kMarkCross;
    case MarkFilter::Done:
        return mark == res::kMarkDone;
    case MarkFilter::Failed:
        return mark == res::kMarkCross;
    }
    return true;
}

ListFilterModel::ListFilterModel(const DownloadList& list, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_list(list)
{
    // Rows whose mark or URL changes are filtered again as they change.
    setDynamicSortFilter(true);
}

void ListFilterModel::SetFilter(const QString& text, MarkFilter marks)
{
    std::string needle = FromQt(text);
    if (needle == m_needle && marks == m_marks)
        return;
    // A reset rather than invalidateFilter: on a long list the rows that
    // come and go are scattered, and telling the view of each run of them
    // separately costs seconds where one reset costs milliseconds.
    beginResetModel();
    m_needle = std::move(needle);
    m_marks = marks;
    endResetModel();
}

bool ListFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (!Active())
        return true;
    // The source model may still be catching up with a list that has
    // already shrunk; such a row is on its way out.
    if (sourceRow >= m_list.GetItemCount())
        return false;
    return MarkPasses(m_list.GetItemText(sourceRow, kColMark), m_marks)
        && UrlContains(m_list.GetItemText(sourceRow, kColUrl), m_needle);
}

} // namespace zorone::qt
