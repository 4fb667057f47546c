#pragma once
// The command line of zorone-cli.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zorone::cli {

struct Options {
    std::optional<std::string> home;                       // --home
    std::optional<std::string> path;                       // --path
    std::vector<std::pair<std::string, std::string>> sets; // --set KEY=VALUE, in order
    std::vector<std::string> loads;                        // --load FILE, in order
    std::optional<std::string> save;                       // --save FILE
    std::optional<std::string> cookies;                    // --cookies FILE
    std::optional<std::string> saveCookies;                // --save-cookies FILE
    std::optional<std::string> userAgent;                  // --user-agent TEXT
    std::vector<std::string> headers;                      // --header 'Name: value', in order
    std::optional<int> robots;                             // --robots on|off: 1 or 2
    std::optional<std::string> skipped;                    // --skipped FILE
    bool quiet = false;
    bool help = false;
    bool version = false;
    bool listSettings = false; // --list-settings
    std::vector<std::string> urls;
};

struct ParseResult {
    Options options;
    std::string error; // one line; empty when the command line is valid
};

// Arguments as the terminal gave them (UTF-8); texts stay UTF-8 here.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

const char* UsageText();
const char* VersionText();

} // namespace zorone::cli
