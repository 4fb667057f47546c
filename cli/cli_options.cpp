#include "cli/cli_options.h"

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
                   IsOption(a, "--load") || IsOption(a, "--save")) {
            const std::string name = a.substr(0, a.find('='));
            if (!TakeValue(args, i, name, value)) {
                r.error = name + " needs a value";
                return r;
            }
            if (name == "--home") {
                o.home = value;
            } else if (name == "--path") {
                o.path = value;
            } else if (name == "--load") {
                o.loads.push_back(value);
            } else if (name == "--save") {
                o.save = value;
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
           "  --quiet            print nothing but errors and the final report\n"
           "  --list-settings    list the settings --set takes, with their ranges and defaults\n"
           "  -h, --help         show this help\n"
           "  --version          show the version\n"
           "\n"
           "The URLs are the top URLs (the URL field, joined by line breaks); without any,\n"
           "only the rows of --load files are fetched. Each transfer that fails (an HTTP\n"
           "status of 400 or above, a network or TLS error, a file that cannot be stored)\n"
           "is reported on stderr and its row ends \"×\".\n"
           "\n"
           "Exit status:\n"
           "  0    the crawl ran to its end and every transfer succeeded\n"
           "  1    the crawl could not start (no URL and no list, no download folder)\n"
           "  2    usage error (unknown option, invalid --set value, unreadable --load file)\n"
           "  3    the crawl ran to its end and at least one transfer failed\n"
           "  4    the --save list could not be written (wins over 3)\n"
           "  130  interrupted by Ctrl-C (a first Ctrl-C lets transfers in flight finish,\n"
           "       a second cuts them)\n";
}

const char* VersionText()
{
    return "zorone-cli 3.21\n";
}

} // namespace zorone::cli
