#include "settings/setting_fields.h"

#include "settings/sav_profile.h"

#include <climits>
#include <cstdio>
#include <optional>

namespace zorone {
namespace {

SettingField Text(std::string_view key, std::string Settings::*m, std::string_view def, std::string_view meaning)
{
    return {key, SettingType::Text, m, nullptr, def, 0, {}, 0, meaning};
}
SettingField Mode(std::string_view key, int Settings::*m, int def, std::string_view choices, std::string_view meaning)
{
    return {key, SettingType::Int, nullptr, m, {}, def, choices, INT_MIN, meaning};
}
SettingField Count(std::string_view key, int Settings::*m, int def, int minimum, std::string_view meaning)
{
    return {key, SettingType::Int, nullptr, m, {}, def, {}, minimum, meaning};
}
SettingField Flag(std::string_view key, int Settings::*m, int def, std::string_view meaning)
{
    return {key, SettingType::Flag, nullptr, m, {}, def, "0|1", 0, meaning};
}

// The integer a Zorone.sav value starts with, or nullopt when it does not
// fit in 32 bits.
std::optional<long long> LeadingInteger(std::string_view value)
{
    const SavDigits d = SavLeadingDigits(value);
    const long long n = d.negative ? -static_cast<long long>(d.magnitude) : static_cast<long long>(d.magnitude);
    if (d.beyond32 || n > INT_MAX || n < INT_MIN)
        return std::nullopt;
    return n;
}

std::string RangeText(const SettingField& f)
{
    if (f.type == SettingType::Text)
        return "text";
    if (!f.choices.empty())
        return std::string(f.choices);
    return std::to_string(f.minimum) + ".." + std::to_string(INT_MAX);
}

} // namespace

const std::array<SettingField, kSettingCount>& SettingFields()
{
    // m_sPath has no fixed default; DefaultSettings derives it.
    static const std::array<SettingField, kSettingCount> fields = {
        Text("m_sPath", &Settings::m_sPath, "", "download folder"),
        Text("m_sTopURL", &Settings::m_sTopURL, kDefaultTopUrl, "top URLs, one a line (zorone-cli: the URL arguments)"),
        Mode("m_nPriorityEx", &Settings::m_nPriorityEx, 0, "0|1|2",
             "files fetched first: 0 none, 1 HTML documents, 2 m_sPriorityEx_Other"),
        Text("m_sPriorityEx_Other", &Settings::m_sPriorityEx_Other, "jpg,jpeg,gif",
             "extensions fetched first with m_nPriorityEx 2"),
        Count("m_nBytes", &Settings::m_nBytes, 307200, 0, "largest document read for links, in bytes"),
        Flag("m_bSaveExit", &Settings::m_bSaveExit, 1, "window: ask to save a changed list at exit"),
        Mode("m_nKaisouKind", &Settings::m_nKaisouKind, 0, "0|1|2",
             "depth limit: 0 none, 1 relative to the top folder, 2 absolute"),
        Count("m_nKaisou", &Settings::m_nKaisou, 0, 0, "depth limit in folders"),
        Flag("m_bDoubleDownloadItem", &Settings::m_bDoubleDownloadItem, 1, "list each URL only once"),
        Mode("m_nOtherSite", &Settings::m_nOtherSite, 0, "0|1|2",
             "files of other sites: 0 none, 1 all, 2 extensions in m_sOtherSiteEx"),
        Text("m_sOtherSiteEx", &Settings::m_sOtherSiteEx, "", "extensions fetched from other sites with m_nOtherSite 2"),
        Flag("m_bDownloadedDelete", &Settings::m_bDownloadedDelete, 0, "remove finished rows from the list"),
        Text("m_sAnalsysFileEx", &Settings::m_sAnalsysFileEx, "htm,html,shtm,shtml,cgi,mtxt",
             "extensions of documents read for links"),
        Text("m_sAnalsysTag", &Settings::m_sAnalsysTag, "href,background,src", "attributes read for links"),
        Flag("m_bDefaultSave", &Settings::m_bDefaultSave, 1, "window: keep the list in default.csv at exit"),
        Flag("m_bDownloadFileExist", &Settings::m_bDownloadFileExist, 0,
             "a file already on disk counts as downloaded"),
        Count("m_nMultiDownloadMax", &Settings::m_nMultiDownloadMax, 1, 1, "transfers at the same time"),
        Mode("m_nDisplayDownloadFileExList", &Settings::m_nDisplayDownloadFileExList, 1, "0|1",
             "window: show the box of counts per extension"),
        Text("m_sShortCutPath", &Settings::m_sShortCutPath, "", "folder of the site-index shortcut (m_nShortCutKind 1)"),
        Mode("m_nShortCutKind", &Settings::m_nShortCutKind, 0, "0|1",
             "site-index shortcut: 0 on the desktop, 1 in m_sShortCutPath"),
        Flag("m_bShortCut", &Settings::m_bShortCut, 0, "make a site-index shortcut to the top page"),
    };
    return fields;
}

std::span<const SettingField> ProfileSettingFields()
{
    static const std::array fields = {
        Mode("m_nWebRules", &Settings::m_nWebRules, 0, "0|1",
             "link and file rules: 0 classic, 1 today's web (queries, any names, every page requisite)"),
        Mode("m_bConvertLinks", &Settings::m_bConvertLinks, -1, "-1|0|1",
             "rewrite stored pages to work offline: 1 yes, 0 no, -1 with today's rules only"),
        Flag("m_bUpdateExisting", &Settings::m_bUpdateExisting, 0,
             "fetch a file on disk again only when the server has a newer one (wins over m_bDownloadFileExist)"),
        Count("m_nPerHostMax", &Settings::m_nPerHostMax, 0, 0, "transfers to one host at the same time, 0 no cap"),
        Count("m_nHostWaitMs", &Settings::m_nHostWaitMs, 0, 0, "milliseconds between two requests to one host"),
    };
    return fields;
}

const SettingField* FindSettingField(std::string_view key)
{
    for (const SettingField& f : SettingFields())
        if (f.key == key)
            return &f;
    for (const SettingField& f : ProfileSettingFields())
        if (f.key == key)
            return &f;
    return nullptr;
}

std::string CheckSettingValue(const SettingField& f, std::string_view value)
{
    if (f.type != SettingType::Int)
        return {};
    const std::optional<long long> n = LeadingInteger(value);
    if (n && *n >= f.minimum)
        return {};
    return std::string(f.key) + "=" + std::string(value) + ": the value must be an integer in " +
           std::to_string(f.minimum) + ".." + std::to_string(INT_MAX);
}

std::string DescribeSettingField(const SettingField& f)
{
    std::string def = f.type == SettingType::Text ? std::string("\"").append(f.textDefault).append("\"")
                                                  : std::to_string(f.numberDefault);
    if (f.key == "m_sPath")
        def = "<program folder>/download/";
    const char* type = f.type == SettingType::Text ? "text" : f.type == SettingType::Flag ? "flag" : "integer";
    char line[512];
    std::snprintf(line, sizeof line, "%-28s %-8s %-15s default %-30s %s", std::string(f.key).c_str(), type,
                  RangeText(f).c_str(), def.c_str(), std::string(f.meaning).c_str());
    return line;
}

bool ConvertsLinks(const Settings& settings)
{
    if (settings.m_bConvertLinks == 0 || settings.m_bConvertLinks == 1)
        return settings.m_bConvertLinks == 1;
    return settings.m_nWebRules == 1;
}

Settings DefaultSettings(const std::string& programFolderPrefix)
{
    Settings s;
    const auto setDefault = [&s](const SettingField& f) {
        if (f.type == SettingType::Text)
            s.*f.text = std::string(f.textDefault);
        else
            s.*f.number = f.numberDefault;
    };
    for (const SettingField& f : SettingFields())
        setDefault(f);
    for (const SettingField& f : ProfileSettingFields())
        setDefault(f);
    s.m_sPath = programFolderPrefix + "download/";
    return s;
}

} // namespace zorone
