#include "settings/profile_ini.h"

#include "platform/files.h"
#include "settings/sav_profile.h"
#include "web/file_text.h"

#include <optional>
#include <vector>

namespace zorone {
namespace {

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// The name of a "[name]" header line, or nothing for another line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key)
{
    const size_t eq = line.find('=');
    return eq != std::string_view::npos && EqualsIgnoringCase(Trim(line.substr(0, eq)), key);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The lines [first, last) of section's body, or nothing when it is missing.
std::optional<std::pair<size_t, size_t>> FindSection(const std::vector<std::string>& lines, std::string_view section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !EqualsIgnoringCase(*name, section))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

// The value of key in section, or nothing when the file, the section or
// the key is missing.
std::optional<std::string> FindValue(const std::string& path, std::string_view section, std::string_view key)
{
    const std::vector<std::string> lines = SplitLines(CSiteUtil::LoadFileText(path));
    const auto body = FindSection(lines, section);
    if (!body)
        return std::nullopt;
    for (size_t i = body->first; i < body->second; ++i) {
        if (IsKeyLine(lines[i], key))
            return std::string(Trim(std::string_view(lines[i]).substr(lines[i].find('=') + 1)));
    }
    return std::nullopt;
}

} // namespace

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key, int def)
{
    const std::optional<std::string> value = FindValue(path, section, key);
    return value ? SavIntValue(*value) : def;
}

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view def)
{
    return FindValue(path, section, key).value_or(std::string(def));
}

int WriteProfileInt(const std::string& path, std::string_view section, std::string_view key, int value)
{
    return WriteProfileString(path, section, key, std::to_string(value));
}

int WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value)
{
    const std::string old = CSiteUtil::LoadFileText(path);
    std::vector<std::string> lines = SplitLines(old);
    const size_t firstBreak = old.find('\n');
    const bool crlf = firstBreak != std::string::npos && firstBreak > 0 && old[firstBreak - 1] == '\r';
    const std::string cr = crlf ? "\r" : "";
    const std::string entry = std::string(key).append("=").append(value).append(cr);

    const auto body = FindSection(lines, section);
    if (!body) {
        lines.push_back(std::string("[").append(section).append("]").append(cr));
        lines.push_back(entry);
    } else {
        size_t at = body->second;
        bool replaced = false;
        for (size_t i = body->first; i < body->second && !replaced; ++i) {
            if (IsKeyLine(lines[i], key)) {
                lines[i] = entry;
                replaced = true;
            }
        }
        if (!replaced) {
            // After the section's last non-blank line, before blank lines
            // that separate it from the next section.
            while (at > body->first && Trim(lines[at - 1]).empty())
                --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
        }
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    platform::files::CreateFolders(path);
    return CSiteUtil::ReplaceFileText(path, text);
}

} // namespace zorone
