#pragma once
// The one table of the 21 settings: key (also the member's name), type,
// member and default, in the order Zorone.sav stores them. Loading, saving,
// the terminal's --set and the defaults all walk this table.
#include "settings/settings.h"

#include <array>
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
};

constexpr int kSettingCount = 21;

const std::array<SettingField, kSettingCount>& SettingFields();

// The field with this key (case-sensitive), or nullptr.
const SettingField* FindSettingField(std::string_view key);

// The default top URL: any fixed page address may stand here.
constexpr std::string_view kDefaultTopUrl = "http://www.example.com/";

} // namespace zorone
