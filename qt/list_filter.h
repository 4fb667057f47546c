#pragma once
// The rows of the download list the user wants to see: those whose URL
// contains a typed text, with a chosen kind of mark. Filtering only hides
// rows from the view; the list itself, its order and what is saved stay as
// they are, and every command still works on list rows (map through
// mapToSource).
#include "engine/download_list.h"

#include <QSortFilterProxyModel>

#include <string>
#include <string_view>

namespace zorone::qt {

enum class MarkFilter { All, Waiting, Done, Failed };

// Whether url contains needle, both CP932, ASCII letters compared without
// case. A match starts on a character boundary, so the second byte of a
// double-byte character never starts one.
bool UrlContains(std::string_view url, std::string_view needle);

// Whether a row with this mark passes the mark filter. Waiting means neither
// done, being downloaded nor failed.
bool MarkPasses(const std::string& mark, MarkFilter filter);

class ListFilterModel final : public QSortFilterProxyModel {
public:
    explicit ListFilterModel(const DownloadList& list, QObject* parent = nullptr);

    // text is what the user typed; empty shows every URL.
    void SetFilter(const QString& text, MarkFilter marks);
    bool Active() const { return !m_needle.empty() || m_marks != MarkFilter::All; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const DownloadList& m_list;
    std::string m_needle;
    MarkFilter m_marks = MarkFilter::All;
};

} // namespace zorone::qt
