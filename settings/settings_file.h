#pragma once
// Loading and saving the settings record: the 21 values in Zorone.sav in the
// program folder, the lifetime counter and the profile settings in the
// per-user profile.
#include "settings/settings.h"

#include <string>
#include <string_view>

namespace zorone {

constexpr std::string_view kCounterKey = "m_nTotalDownloadCount";

// Zorone.sav's whole text: one "name=value" line per setting in table order,
// each ended by CR LF, integers in decimal, texts unchanged.
std::string BuildSavText(const Settings& settings);

// Replaces the whole record: the counter and the profile settings from the
// profile (each its default when missing), then every setting from
// Zorone.sav, each falling back to its default when the file or its line is
// missing.
void LoadSettings(Settings& settings, const std::string& programFolderPrefix, const std::string& profilePath);

// Writes the counter and the profile settings to the profile and the
// settings to Zorone.sav, each file replaced atomically. 1 when both were
// written; a failure leaves that
// file as it was.
int SaveSettings(const Settings& settings, const std::string& programFolderPrefix, const std::string& profilePath);

// Sets the setting named key from value as a Zorone.sav line "key=value"
// would set it: integers by their leading digits, flags 1 only for "1",
// texts unchanged (empty included). false for a name that is not a setting.
bool ApplySettingValue(Settings& settings, std::string_view key, std::string_view value);

} // namespace zorone
