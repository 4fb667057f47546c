#pragma once
// A drop-down combo box with an edit field, without a toolkit: the folder box
// (1046, unsorted) and the URL box (1047, sorted) of the main window.
#include <string>
#include <string_view>
#include <vector>

namespace zorone {

class ComboModel {
public:
    explicit ComboModel(bool sorted)
        : m_sorted(sorted)
    {
    }

    bool IsSorted() const { return m_sorted; }

    const std::string& EditText() const { return m_edit; }
    void SetEditText(std::string text) { m_edit = std::move(text); }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const std::string& GetText(int index) const;
    const std::vector<std::string>& Items() const { return m_items; }

    // Index of the first item (from index 0) that begins with text, ASCII
    // case ignored; -1 when none does or text is empty.
    int FindStringPrefix(std::string_view text) const;
    // Index of the first item equal to text byte for byte, or -1.
    int FindStringExact(std::string_view text) const;
    // Selects the item equal to text and shows it in the edit field; returns
    // its index, or -1 (the edit field is then unchanged). Only an exact
    // match selects: a prefix match would swap what the user typed for a
    // longer history entry.
    int SelectString(std::string_view text);
    // Inserts at index (the end for -1), not sorted; returns the index.
    int InsertString(int index, std::string text);
    // Adds in sorted position for a sorted box, at the end otherwise.
    int AddString(std::string text);
    // Deletes the item at index; returns the remaining count, or -1.
    int DeleteString(int index);
    void Clear() { m_items.clear(); }

    // Increments whenever the items or the edit text change, so a view can
    // tell cheaply whether it must refresh.
    unsigned Revision() const { return m_revision; }
    void Touch() { ++m_revision; }

private:
    bool m_sorted;
    std::string m_edit;
    std::vector<std::string> m_items;
    unsigned m_revision = 0;
};

} // namespace zorone
