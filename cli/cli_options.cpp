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
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
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
                std::string key = value.substr(0, eq);
                if (!FindSettingField(key)) {
                    r.error = "unknown setting '" + key + "' (the keys are those of Zorone.sav)";
                    return r;
                }
                o.sets.emplace_back(std::move(key), value.substr(eq + 1));
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
           "  --set KEY=VALUE    set one Zorone.sav setting for this run (repeatable)\n"
           "  --load FILE        append a list file (.csv, .txt, .lst) before the crawl (repeatable)\n"
           "  --save FILE        write the list to FILE after the crawl (format by extension)\n"
           "  --quiet            print nothing but errors and the final report\n"
           "  -h, --help         show this help\n"
           "  --version          show the version\n"
           "\n"
           "The URLs replace the URL field (joined by line breaks). Exit status: 0 when the\n"
           "crawl ran to its end, 1 when it could not start, 2 for a usage error, 130 after\n"
           "Ctrl-C (a first Ctrl-C lets transfers in flight finish, a second cuts them).\n";
}

const char* VersionText()
{
    return "zorone-cli 3.21\n";
}

} // namespace zorone::cli
