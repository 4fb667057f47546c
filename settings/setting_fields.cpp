#include "settings/setting_fields.h"

namespace zorone {
namespace {

SettingField Text(std::string_view key, std::string Settings::*m, std::string_view def)
{
    return {key, SettingType::Text, m, nullptr, def, 0};
}
SettingField Int(std::string_view key, int Settings::*m, int def)
{
    return {key, SettingType::Int, nullptr, m, {}, def};
}
SettingField Flag(std::string_view key, int Settings::*m, int def)
{
    return {key, SettingType::Flag, nullptr, m, {}, def};
}

} // namespace

const std::array<SettingField, kSettingCount>& SettingFields()
{
    // m_sPath has no fixed default; DefaultSettings derives it.
    static const std::array<SettingField, kSettingCount> fields = {
        Text("m_sPath", &Settings::m_sPath, ""),
        Text("m_sTopURL", &Settings::m_sTopURL, kDefaultTopUrl),
        Int("m_nPriorityEx", &Settings::m_nPriorityEx, 0),
        Text("m_sPriorityEx_Other", &Settings::m_sPriorityEx_Other, "jpg,jpeg,gif"),
        Int("m_nBytes", &Settings::m_nBytes, 307200),
        Flag("m_bSaveExit", &Settings::m_bSaveExit, 1),
        Int("m_nKaisouKind", &Settings::m_nKaisouKind, 0),
        Int("m_nKaisou", &Settings::m_nKaisou, 0),
        Flag("m_bDoubleDownloadItem", &Settings::m_bDoubleDownloadItem, 1),
        Int("m_nOtherSite", &Settings::m_nOtherSite, 0),
        Text("m_sOtherSiteEx", &Settings::m_sOtherSiteEx, ""),
        Flag("m_bDownloadedDelete", &Settings::m_bDownloadedDelete, 0),
        Text("m_sAnalsysFileEx", &Settings::m_sAnalsysFileEx, "htm,html,shtm,shtml,cgi,mtxt"),
        Text("m_sAnalsysTag", &Settings::m_sAnalsysTag, "href,background,src"),
        Flag("m_bDefaultSave", &Settings::m_bDefaultSave, 1),
        Flag("m_bDownloadFileExist", &Settings::m_bDownloadFileExist, 0),
        Int("m_nMultiDownloadMax", &Settings::m_nMultiDownloadMax, 1),
        Int("m_nDisplayDownloadFileExList", &Settings::m_nDisplayDownloadFileExList, 1),
        Text("m_sShortCutPath", &Settings::m_sShortCutPath, ""),
        Int("m_nShortCutKind", &Settings::m_nShortCutKind, 0),
        Flag("m_bShortCut", &Settings::m_bShortCut, 0),
    };
    return fields;
}

const SettingField* FindSettingField(std::string_view key)
{
    for (const SettingField& f : SettingFields())
        if (f.key == key)
            return &f;
    return nullptr;
}

Settings DefaultSettings(const std::string& programFolderPrefix)
{
    Settings s;
    for (const SettingField& f : SettingFields()) {
        if (f.type == SettingType::Text)
            s.*f.text = std::string(f.textDefault);
        else
            s.*f.number = f.numberDefault;
    }
    s.m_sPath = programFolderPrefix + "download/";
    return s;
}

} // namespace zorone
