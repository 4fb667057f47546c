#include "settings/sav_profile.h"

#include "web/file_text.h"

#include <cstdint>

namespace zorone {

SavValues ParseSavText(std::string_view text)
{
    SavValues values;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        const std::string_view line = text.substr(start, i - start);
        start = i + 1;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        values.try_emplace(std::string(line.substr(0, eq)), line.substr(eq + 1));
    }
    return values;
}

SavDigits SavLeadingDigits(std::string_view value)
{
    SavDigits d;
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t'))
        ++i;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        d.negative = value[i++] == '-';
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        d.magnitude = d.magnitude * 10u + static_cast<std::uint64_t>(value[i] - '0');
        d.beyond32 = d.beyond32 || d.magnitude > 0x80000000u;
    }
    return d;
}

int SavIntValue(std::string_view value)
{
    // Wraps as 32-bit arithmetic does: the low 32 bits of the magnitude.
    const SavDigits d = SavLeadingDigits(value);
    std::uint32_t n = static_cast<std::uint32_t>(d.magnitude);
    if (d.negative)
        n = 0u - n;
    return static_cast<std::int32_t>(n);
}

int SavBoolValue(std::string_view value)
{
    return value == "1" ? 1 : 0;
}

CSavProfile::CSavProfile(std::string programFolderPrefix)
    : m_prefix(std::move(programFolderPrefix))
{
}

std::string CSavProfile::SavPath(std::string_view section) const
{
    std::string path = m_prefix;
    path += section;
    path += ".sav";
    return path;
}

std::string CSavProfile::HistoryPath(std::string_view section, std::string_view key) const
{
    std::string path = m_prefix;
    path += section;
    path += '-';
    path += key;
    path += ".sav";
    return path;
}

const std::string* CSavProfile::Find(std::string_view section, std::string_view key)
{
    auto it = m_sections.find(std::string(section));
    if (it == m_sections.end())
        it = m_sections.emplace(std::string(section), ParseSavText(CSiteUtil::LoadFileText(SavPath(section)))).first;
    const auto found = it->second.find(std::string(key));
    return found == it->second.end() ? nullptr : &found->second;
}

int CSavProfile::GetSavInt(std::string_view section, std::string_view key, int def)
{
    const std::string* value = Find(section, key);
    return value ? SavIntValue(*value) : def;
}

std::string CSavProfile::GetSavString(std::string_view section, std::string_view key, std::string_view def)
{
    const std::string* value = Find(section, key);
    return value ? *value : std::string(def);
}

int CSavProfile::GetSavBool(std::string_view section, std::string_view key, int def)
{
    const std::string* value = Find(section, key);
    return value ? SavBoolValue(*value) : def;
}

int CSavProfile::SaveComboList(
    std::string_view section, std::string_view key, const std::vector<std::string>& items) const
{
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += items[i];
    }
    return CSiteUtil::WriteFileText(HistoryPath(section, key), text);
}

int CSavProfile::LoadComboList(std::string_view section, std::string_view key, std::vector<std::string>& items) const
{
    std::string text;
    if (!CSiteUtil::ReadFileText(HistoryPath(section, key), text))
        return 0;
    std::string line;
    for (const char c : text) {
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty())
            items.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        items.push_back(std::move(line));
    return 1;
}

} // namespace zorone
