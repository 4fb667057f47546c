#include "cli/cli_options.h"

#include "platform/request_options.h"
#include "settings/setting_fields.h"

namespace zorone::cli {
namespace {

// "--name VALUE" or "--name=VALUE"; false when the value is missing.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value)
{
    const std::string& a = args[i];
    if (a.size() > name.size() && a.compare(0, name.size(), name) == 0 && a[name.size()] == '=') {
        value = a.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

bool IsOption(const std::string& a, const std::string& name)
{
    return a == name || (a.size() > name.size() && a.compare(0, name.size() + 1, name + "=") == 0);
}

bool IsRequestOption(const std::string& a)
{
    for (const char* name : {"--cookies", "--save-cookies", "--user-agent", "--header", "--robots", "--skipped"})
        if (IsOption(a, name))
            return true;
    return false;
}

// Takes the value of a request or report option; the reason when it is
// not valid, else "".
std::string TakeRequestOption(Options& o, const std::string& name, const std::string& value)
{
    if (name == "--cookies") {
        o.cookies = value;
    } else if (name == "--save-cookies") {
        o.saveCookies = value;
    } else if (name == "--skipped") {
        o.skipped = value;
    } else if (name == "--user-agent") {
        if (std::string why = platform::CheckUserAgent(value); !why.empty())
            return "--user-agent: " + why;
        o.userAgent = value;
    } else if (name == "--header") {
        if (std::string why = platform::CheckHeaderLine(value); !why.empty())
            return "--header: " + why;
        o.headers.push_back(value);
    } else if (value == "on" || value == "off") {
        o.robots = value == "on" ? 1 : 2;
    } else {
        return "--robots takes on or off, got '" + value + "'";
    }
    return {};
}

// Options that stand for one --set: the setting each one sets.
struct SettingOption {
    const char* name;
    const char* key;
};
constexpr SettingOption kSettingOptions[] = {
    {"--per-host", "m_nPerHostMax"},
    {"--wait", "m_nHostWaitMs"},
};

const SettingOption* FindSettingOption(const std::string& a)
{
    for (const SettingOption& o : kSettingOptions)
        if (IsOption(a, o.name))
            return &o;
    return nullptr;
}

// Adds key=value to the run's settings; the reason when value does not fit.
std::string AddSet(Options& o, const std::string& key, const std::string& value, const std::string& given)
{
    const SettingField* field = FindSettingField(key);
    if (!field)
        return "unknown setting '" + key + "' (--list-settings lists them)";
    if (const std::string why = CheckSettingValue(*field, value); !why.empty())
        return given + " " + why;
    o.sets.emplace_back(key, value);
    return {};
}

} // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args)
{
    ParseResult r;
    Options& o = r.options;
    bool onlyUrls = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (onlyUrls || a.empty() || a[0] != '-' || a == "-") {
            o.urls.push_back(a);
            continue;
        }
        std::string value;
        if (a == "--") {
            onlyUrls = true;
        } else if (a == "-h" || a == "--help") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else if (a == "--list-settings") {
            o.listSettings = true;
        } else if (a == "--convert-links" || a == "--no-convert-links") {
            o.sets.emplace_back("m_bConvertLinks", a == "--convert-links" ? "1" : "0");
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--update") {
            o.sets.emplace_back("m_bUpdateExisting", "1");
        } else if (const SettingOption* option = FindSettingOption(a)) {
            if (!TakeValue(args, i, option->name, value)) {
                r.error = std::string(option->name) + " needs a value";
                return r;
            }
            if (std::string why = AddSet(o, option->key, value, option->name); !why.empty()) {
                r.error = std::move(why);
                return r;
            }
        } else if (IsOption(a, "--home") || IsOption(a, "--path") || IsOption(a, "--set") ||
                   IsOption(a, "--load") || IsOption(a, "--save") || IsOption(a, "--web") ||
                   IsRequestOption(a)) {
            const std::string name = a.substr(0, a.find('='));
            if (!TakeValue(args, i, name, value)) {
                r.error = name + " needs a value";
                return r;
            }
            if (IsRequestOption(name)) {
                r.error = TakeRequestOption(o, name, value);
                if (!r.error.empty())
                    return r;
            } else if (name == "--home") {
                o.home = value;
            } else if (name == "--path") {
                o.path = value;
            } else if (name == "--load") {
                o.loads.push_back(value);
            } else if (name == "--save") {
                o.save = value;
            } else if (name == "--web") {
                // A short name for the setting, applied in command-line order
                // like --set, so the later of the two wins.
                if (value != "today" && value != "classic") {
                    r.error = "--web needs 'today' or 'classic', got '" + value + "'";
                    return r;
                }
                o.sets.emplace_back("m_nWebRules", value == "today" ? "1" : "0");
            } else {
                const size_t eq = value.find('=');
                if (eq == std::string::npos) {
                    r.error = "--set needs KEY=VALUE, got '" + value + "'";
                    return r;
                }
                if (std::string why = AddSet(o, value.substr(0, eq), value.substr(eq + 1), "--set"); !why.empty()) {
                    r.error = std::move(why);
                    return r;
                }
            }
        } else {
            r.error = "unknown option '" + a + "'";
            return r;
        }
    }
    return r;
}

const char* UsageText()
{
    return "Usage: zorone-cli [OPTIONS] [URL]...\n"
           "Mirror a web site into a download folder, as the Zorone window does.\n"
           "\n"
           "  --home DIR         program folder (Zorone.sav and the lifetime counter)\n"
           "  --path DIR         download folder\n"
           "  --set KEY=VALUE    set one setting for this run (repeatable)\n"
           "  --update           fetch a file already in the folder only when the server has\n"
           "                     a newer one (If-Modified-Since, ETag); unchanged files are\n"
           "                     counted as up to date\n"
           "  --per-host N       at most N transfers to one server at once (0: no cap)\n"
           "  --wait MS          wait MS milliseconds between two requests to one server\n"
           "  --load FILE        append a list file (.csv, .txt, .lst) before the crawl (repeatable)\n"
           "  --save FILE        write the list to FILE after the crawl (format by extension)\n"
           "  --web RULES        'classic' (default) or 'today': today's rules keep query\n"
           "                     strings, follow any file name, store folders as index.html\n"
           "                     and fetch every page requisite (--set m_nWebRules=1)\n"
           "  --convert-links    at the end, rewrite the stored pages and style sheets so\n"
           "                     the copy works offline (the default with --web today)\n"
           "  --no-convert-links keep the stored files exactly as served\n"
           "  --cookies FILE     send the cookies of a Netscape cookies.txt (as browsers export it)\n"
           "  --save-cookies FILE  write the cookies, those the sites set included, after the crawl\n"
           "  --user-agent TEXT  the User-Agent sent (default: Zorone's own)\n"
           "  --header 'NAME: VALUE'  send this header with every request (repeatable)\n"
           "  --robots on|off    follow the sites' robots.txt (default: on with --web today)\n"
           "  --skipped FILE     write every link the rules refused, with the reason and the page\n"
           "                     it was found on, to FILE (CSV: url,reason,found_on)\n"
           "  --quiet            print nothing but errors and the final report\n"
           "  --list-settings    list the settings --set takes, with their ranges and defaults\n"
           "  -h, --help         show this help\n"
           "  --version          show the version\n"
           "\n"
           "The URLs are the top URLs (the URL field, joined by line breaks); without any,\n"
           "only the rows of --load files are fetched. Each transfer that fails (an HTTP\n"
           "status of 400 or above, a network or TLS error, a file that cannot be stored)\n"
           "is reported on stderr and its row ends \"×\". At the end a line per reason\n"
           "counts the links that were not followed (unless --quiet).\n"
           "\n"
           "Exit status:\n"
           "  0    the crawl ran to its end and every transfer succeeded\n"
           "  1    the crawl could not start (no URL and no list, no download folder)\n"
           "  2    usage error (unknown option, invalid --set value, unreadable --load or\n"
           "       --cookies file, a --header or --user-agent with a line break)\n"
           "  3    the crawl ran to its end and at least one transfer failed\n"
           "  4    the --save list, the --skipped file or the --save-cookies file could not\n"
           "       be written (wins over 3)\n"
           "  130  interrupted by Ctrl-C (a first Ctrl-C lets transfers in flight finish,\n"
           "       a second cuts them)\n";
}

const char* VersionText()
{
    return "zorone-cli 3.21\n";
}

} // namespace zorone::cli
