#pragma once
// The one table of the 21 settings: key (also the member's name), type,
// member and default, in the order Zorone.sav stores them. Loading, saving,
// the terminal's --set and the defaults all walk this table.
#include "settings/settings.h"

#include <array>
#include <string>
#include <string_view>

namespace zorone {

enum class SettingType { Text, Int, Flag };

struct SettingField {
    std::string_view key;
    SettingType type;
    std::string Settings::*text; // for Text
    int Settings::*number;       // for Int and Flag
    std::string_view textDefault;
    int numberDefault;
    // For Int: the choices of a mode ("0|1|2"), kept as given when outside
    // them, or empty for a count, which must lie in minimum..INT_MAX.
    std::string_view choices;
    int minimum;
    // What the setting does, in a line, for --list-settings.
    std::string_view meaning;
};

constexpr int kSettingCount = 21;

const std::array<SettingField, kSettingCount>& SettingFields();

// The settings kept in the per-user profile beside the lifetime counter,
// in the same form; --set and --list-settings know them as well.
constexpr int kProfileSettingCount = 3;
const std::array<SettingField, kProfileSettingCount>& ProfileSettingFields();

// The field with this key (case-sensitive) in either table, or nullptr.
const SettingField* FindSettingField(std::string_view key);

// Why value cannot be given to the setting (an integer beyond 32 bits, a
// count below its minimum), as "KEY=VALUE: ..." naming the valid range;
// empty when it can. Values are read as Zorone.sav's are.
std::string CheckSettingValue(const SettingField& field, std::string_view value);

// One line describing the field: key, type, range, default, meaning.
std::string DescribeSettingField(const SettingField& field);

// The default top URL: any fixed page address may stand here.
constexpr std::string_view kDefaultTopUrl = "http://www.example.com/";

} // namespace zorone
