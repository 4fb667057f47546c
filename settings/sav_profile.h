#pragma once
// The "name=value" files beside the program: Zorone.sav and the two history
// files of the main window's combo boxes. Every comparison is byte-wise and
// case-sensitive; texts are CP932.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorone {

// The one section word: it names Zorone.sav, prefixes the history files and
// names the profile section.
constexpr std::string_view kSavSection = "Zorone";
constexpr std::string_view kHistoryFolderKey = "m_sPath";
constexpr std::string_view kHistoryUrlKey = "m_sTopURL";

// Key -> value of the lines of a settings text. A line counts only when a CR
// or LF ends it (a last line without one is ignored, so a file cut off while
// it was written cannot give a truncated value); its key is everything before
// its first "=", its value everything after, untrimmed. Lines without "="
// are ignored and the first line of a key wins.
using SavValues = std::unordered_map<std::string, std::string>;
SavValues ParseSavText(std::string_view text);

// The number a Zorone.sav value starts with: blanks, a sign, digits.
// beyond32 is set once the digits leave the 32-bit range.
struct SavDigits {
    bool negative = false;
    std::uint64_t magnitude = 0; // wraps past 64 bits
    bool beyond32 = false;
};
SavDigits SavLeadingDigits(std::string_view value);
// A value read as an integer: leading blanks and tabs skipped, an optional
// sign, then the digits up to the first other byte; no digits give 0. Too
// many digits wrap around as 32-bit arithmetic does instead of failing.
int SavIntValue(std::string_view value);
// A value read as a flag: 1 only for exactly "1", 0 for anything else.
int SavBoolValue(std::string_view value);

class CSavProfile {
public:
    // programFolderPrefix: the program folder with its trailing "/".
    explicit CSavProfile(std::string programFolderPrefix);

    // The value of key in the section's file, or def when the file cannot
    // be read or holds no line for key. Each section's file is read once,
    // at the first question about it, and answers from memory afterwards:
    // create a new object to see later changes.
    int GetSavInt(std::string_view section, std::string_view key, int def);
    std::string GetSavString(std::string_view section, std::string_view key, std::string_view def);
    int GetSavBool(std::string_view section, std::string_view key, int def);

    // The history file of section and key: items joined by CR LF, no line
    // end after the last one. 1 when the file now holds them.
    int SaveComboList(std::string_view section, std::string_view key, const std::vector<std::string>& items) const;
    // Appends the history's non-empty lines to items in file order (a sorted
    // combo box sorts them as it adds them). 0 when the file cannot be read.
    int LoadComboList(std::string_view section, std::string_view key, std::vector<std::string>& items) const;

    std::string SavPath(std::string_view section) const;
    std::string HistoryPath(std::string_view section, std::string_view key) const;

private:
    const std::string* Find(std::string_view section, std::string_view key);

    std::string m_prefix;
    std::unordered_map<std::string, SavValues> m_sections;
};

} // namespace zorone
