#include "engine/combo_model.h"

#include <algorithm>

namespace zorone {
namespace {

unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

bool StartsWithNoCase(std::string_view item, std::string_view prefix)
{
    if (prefix.size() > item.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (FoldAscii(static_cast<unsigned char>(item[i])) != FoldAscii(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The order of a sorted combo box: ASCII case ignored, then bytes.
bool ComboLess(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = FoldAscii(static_cast<unsigned char>(a[i]));
        const unsigned char y = FoldAscii(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

const std::string kEmpty;

} // namespace

const std::string& ComboModel::GetText(int index) const
{
    if (index < 0 || index >= GetCount())
        return kEmpty;
    return m_items[static_cast<size_t>(index)];
}

int ComboModel::FindStringPrefix(std::string_view text) const
{
    // An empty text selects nothing: otherwise an empty URL field would show
    // (and the next read would take) the first history entry.
    if (text.empty())
        return -1;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (StartsWithNoCase(m_items[i], text))
            return static_cast<int>(i);
    return -1;
}

int ComboModel::FindStringExact(std::string_view text) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i] == text)
            return static_cast<int>(i);
    return -1;
}

int ComboModel::SelectString(std::string_view text)
{
    const int i = FindStringExact(text);
    if (i >= 0 && m_edit != m_items[static_cast<size_t>(i)]) {
        m_edit = m_items[static_cast<size_t>(i)];
        ++m_revision;
    }
    return i;
}

int ComboModel::InsertString(int index, std::string text)
{
    if (index < 0 || index > GetCount())
        index = GetCount();
    m_items.insert(m_items.begin() + index, std::move(text));
    ++m_revision;
    return index;
}

int ComboModel::AddString(std::string text)
{
    if (!m_sorted)
        return InsertString(-1, std::move(text));
    const auto it = std::upper_bound(m_items.begin(), m_items.end(), text, ComboLess);
    return InsertString(static_cast<int>(it - m_items.begin()), std::move(text));
}

int ComboModel::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return -1;
    m_items.erase(m_items.begin() + index);
    ++m_revision;
    return GetCount();
}

} // namespace zorone
