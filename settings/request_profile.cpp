#include "settings/request_profile.h"

#include "settings/profile_ini.h"

namespace zorone {

std::string EscapeProfileLines(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            out += "\\\\";
        } else if (text[i] == '\r' || text[i] == '\n') {
            // CR LF, LF and CR alone all end one line.
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string UnescapeProfileLines(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? "\r\n" : "\\";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void LoadRequestProfile(Settings& s, const std::string& profilePath)
{
    s.m_sCookieFile = ReadProfileString(profilePath, kRequestSection, "m_sCookieFile", "");
    s.m_sUserAgent = ReadProfileString(profilePath, kRequestSection, "m_sUserAgent", "");
    s.m_sHeaders = UnescapeProfileLines(ReadProfileString(profilePath, kRequestSection, "m_sHeaders", ""));
    s.m_nRobots = ReadProfileInt(profilePath, kRequestSection, "m_nRobots", 0);
}

int SaveRequestProfile(const Settings& s, const std::string& profilePath)
{
    // Line breaks cannot stand in a profile value; the dialog refuses them
    // in the single-line fields, and they are dropped here to be sure.
    const auto oneLine = [](std::string text) {
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
        return text;
    };
    int ok = WriteProfileString(profilePath, kRequestSection, "m_sCookieFile", oneLine(s.m_sCookieFile));
    ok &= WriteProfileString(profilePath, kRequestSection, "m_sUserAgent", oneLine(s.m_sUserAgent));
    ok &= WriteProfileString(profilePath, kRequestSection, "m_sHeaders", EscapeProfileLines(s.m_sHeaders));
    ok &= WriteProfileInt(profilePath, kRequestSection, "m_nRobots", s.m_nRobots);
    return ok;
}

} // namespace zorone
