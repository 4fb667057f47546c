#include "settings/settings_file.h"

#include "settings/profile_ini.h"
#include "settings/sav_profile.h"
#include "settings/setting_fields.h"
#include "web/file_text.h"

namespace zorone {

std::string BuildSavText(const Settings& settings)
{
    std::string text;
    for (const SettingField& f : SettingFields()) {
        text += f.key;
        text += '=';
        text += f.type == SettingType::Text ? settings.*f.text : std::to_string(settings.*f.number);
        text += "\r\n";
    }
    return text;
}

void LoadSettings(Settings& settings, const std::string& programFolderPrefix, const std::string& profilePath)
{
    Settings s = DefaultSettings(programFolderPrefix);
    s.m_nTotalDownloadCount = ReadProfileInt(profilePath, kSavSection, kCounterKey, 0);
    for (const SettingField& f : ProfileSettingFields())
        s.*f.number = ReadProfileInt(profilePath, kSavSection, f.key, s.*f.number);
    CSavProfile sav(programFolderPrefix);
    for (const SettingField& f : SettingFields()) {
        switch (f.type) {
        case SettingType::Text:
            s.*f.text = sav.GetSavString(kSavSection, f.key, s.*f.text);
            break;
        case SettingType::Int:
            s.*f.number = sav.GetSavInt(kSavSection, f.key, s.*f.number);
            break;
        case SettingType::Flag:
            s.*f.number = sav.GetSavBool(kSavSection, f.key, s.*f.number);
            break;
        }
    }
    settings = std::move(s);
}

int SaveSettings(const Settings& settings, const std::string& programFolderPrefix, const std::string& profilePath)
{
    int counter = WriteProfileInt(profilePath, kSavSection, kCounterKey, settings.m_nTotalDownloadCount);
    for (const SettingField& f : ProfileSettingFields())
        counter = WriteProfileInt(profilePath, kSavSection, f.key, settings.*f.number) && counter;
    const int sav
        = CSiteUtil::ReplaceFileText(CSavProfile(programFolderPrefix).SavPath(kSavSection), BuildSavText(settings));
    return counter && sav ? 1 : 0;
}

bool ApplySettingValue(Settings& settings, std::string_view key, std::string_view value)
{
    const SettingField* f = FindSettingField(key);
    if (!f)
        return false;
    switch (f->type) {
    case SettingType::Text:
        settings.*f->text = std::string(value);
        break;
    case SettingType::Int:
        settings.*f->number = SavIntValue(value);
        break;
    case SettingType::Flag:
        settings.*f->number = SavBoolValue(value);
        break;
    }
    return true;
}

} // namespace zorone
