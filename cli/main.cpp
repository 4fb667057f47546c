// zorone-cli: the terminal front end. It runs exactly the start command of
// the window on the same core, with settings from the program folder and the
// command line's overrides, and waits for the crawl's end.
#include "app/zorone_dlg.h"
#include "cli/cli_options.h"
#include "cli/terminal_ui.h"
#include "engine/crawl_control.h"
#include "engine/data_exchange.h"
#include "engine/download_file.h"
#include "engine/request_settings.h"
#include "engine/skipped_links.h"
#include "listops/list_files.h"
#include "listops/skipped_file.h"
#include "platform/code_page.h"
#include "platform/curl_url_service.h"
#include "platform/files.h"
#include "platform/headless_loop.h"
#include "platform/heap_tuning.h"
#include "res/texts.h"
#include "settings/setting_fields.h"
#include "settings/profile_ini.h"
#include "settings/settings_file.h"
#include "web/program_folder.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace zorone::cli {
namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSomeFailed = 3;
constexpr int kExitSaveFailed = 4;
constexpr int kExitInterrupted = 130;

int UsageError(const std::string& message)
{
    std::fprintf(stderr, "zorone-cli: %s (try --help)\n", message.c_str());
    return kExitUsage;
}

// Transfer timeouts; ZORONE_TIMEOUT (seconds) shortens them for tests and
// slow-link users alike.
platform::CurlUrlServiceOptions ServiceOptions()
{
    platform::CurlUrlServiceOptions o;
    o.connectTimeout = std::chrono::seconds(30);
    o.stallTime = std::chrono::seconds(30);
    if (const char* t = std::getenv("ZORONE_TIMEOUT")) {
        const int seconds = std::atoi(t);
        if (seconds > 0) {
            o.connectTimeout = std::chrono::seconds(seconds);
            o.stallTime = std::chrono::seconds(seconds);
        }
    }
    return o;
}

void ApplyOptions(Settings& s, const Options& o)
{
    if (o.path)
        s.m_sPath = platform::Utf8ToCp932(*o.path);
    // The top URLs are the arguments, and none without any: a run that only
    // loads a list must not also crawl the window's last address.
    std::string field;
    for (const std::string& url : o.urls) {
        if (!field.empty())
            field += "\r\n";
        field += platform::Utf8ToCp932(url);
    }
    s.m_sTopURL = field;
    for (const auto& [key, value] : o.sets)
        ApplySettingValue(s, key, platform::Utf8ToCp932(value));
    if (o.cookies)
        s.m_sCookieFile = platform::Utf8ToCp932(*o.cookies);
    if (o.userAgent)
        s.m_sUserAgent = platform::Utf8ToCp932(*o.userAgent);
    // The command line's headers come after the profile's, so a name given
    // in both is sent twice: the site sees what was asked for.
    for (const std::string& header : o.headers) {
        if (!s.m_sHeaders.empty() && !s.m_sHeaders.ends_with('\n'))
            s.m_sHeaders += "\r\n";
        s.m_sHeaders += platform::Utf8ToCp932(header) + "\r\n";
    }
    if (o.robots)
        s.m_nRobots = *o.robots;
}

// One line per reason links were refused for, on stdout.
void PrintSkippedCounts(const SkippedLinks& skipped)
{
    for (int i = 0; i < kSkipReasonCount; ++i) {
        const auto reason = static_cast<SkipReason>(i);
        if (const size_t n = skipped.Count(reason); n > 0)
            std::printf("skipped %zu %.*s\n", n, static_cast<int>(SkipReasonName(reason).size()),
                        SkipReasonName(reason).data());
    }
}

// Writes the files asked for after the crawl; false when one could not be.
bool WriteResultFiles(Core& core, platform::UrlService& urls, const Options& o, TerminalUi& ui)
{
    bool ok = true;
    if (o.save && WriteListFile(core, platform::Utf8ToCp932(*o.save)) != 1) {
        ui.Error("zorone-cli: cannot write list file '" + *o.save + "'");
        ok = false;
    }
    if (o.skipped && WriteSkippedFile(core, platform::Utf8ToCp932(*o.skipped)) != 1) {
        ui.Error("zorone-cli: cannot write skipped-links file '" + *o.skipped + "'");
        ok = false;
    }
    if (o.saveCookies) {
        if (const std::string why = urls.SaveCookies(platform::Utf8ToCp932(*o.saveCookies)); !why.empty()) {
            ui.Error("zorone-cli: " + platform::Cp932ToUtf8(why));
            ok = false;
        }
    }
    return ok;
}

// Ctrl-C arrives on a thread of its own (signals are blocked everywhere
// else) and is handed to the user-interface thread as a task: the first
// aborts like the abort command, the second cuts the transfers in flight.
class InterruptWatcher {
public:
    InterruptWatcher(platform::HeadlessLoop& loop, CZoroneDlg& dlg, platform::UrlService& urls)
    {
        m_thread = std::thread([this, &loop, &dlg, &urls] {
            sigset_t set;
            sigemptyset(&set);
            sigaddset(&set, SIGINT);
            sigaddset(&set, SIGTERM);
            sigaddset(&set, SIGUSR1);
            for (;;) {
                int sig = 0;
                if (sigwait(&set, &sig) != 0 || sig == SIGUSR1)
                    return;
                const int count = ++m_count;
                loop.PostTask([count, &dlg, &urls] {
                    if (count == 1) {
                        AbortCrawl(dlg.core());
                        return;
                    }
                    for (auto& [events, owned] : dlg.core().transfers)
                        if (auto* t = dynamic_cast<const CDownloadFile*>(events))
                            urls.Cancel(t->m_handle);
                });
            }
        });
    }
    ~InterruptWatcher()
    {
        pthread_kill(m_thread.native_handle(), SIGUSR1);
        m_thread.join();
    }
    bool Interrupted() const { return m_count > 0; }

private:
    std::atomic<int> m_count {0};
    std::thread m_thread;
};

void BlockSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// Says each failed transfer on stderr as it happens.
class FailurePrinter final : public FailureObserver {
public:
    FailurePrinter(TerminalUi& ui, bool quiet)
        : m_ui(ui)
        , m_quiet(quiet)
    {
    }
    void OnTransferFailed(const std::string& url, const std::string& reason) override
    {
        if (!m_quiet)
            m_ui.Error(platform::Cp932ToUtf8(res::kStatusTransferBroken) + platform::Cp932ToUtf8(url) + " (" +
                       platform::Cp932ToUtf8(reason) + ")");
    }

private:
    TerminalUi& m_ui;
    bool m_quiet;
};

void PrintSettings()
{
    for (const SettingField& f : SettingFields())
        std::printf("%s\n", DescribeSettingField(f).c_str());
    for (const SettingField& f : ProfileSettingFields())
        std::printf("%s\n", DescribeSettingField(f).c_str());
}

int Run(const Options& o)
{
    if (o.home)
        ::setenv("ZORONE_HOME", o.home->c_str(), 1);
    BlockSignals();

    platform::HeadlessLoop loop;
    platform::CurlUrlService urls(loop, ServiceOptions());
    TerminalUi ui(o.quiet);
    CZoroneDlg dlg(loop, ui, &urls, CSiteUtil::GetModuleFolderPrefix());
    Core& core = dlg.core();
    ui.Attach(core.window);
    core.window.AddObserver(&ui);
    FailurePrinter failures(ui, o.quiet);
    core.failureObserver = &failures;
    // Failures are said one by one and in the exit status; there is no page
    // to open in a terminal; an interrupted crawl says so.
    core.crawlEnd = {.countFailures = false, .offerToOpen = false, .sayWhenAborted = true, .countSkipped = false};

    dlg.LoadSettings();
    ApplyOptions(core.settings, o);
    for (const std::string& file : o.loads) {
        const std::string path = platform::Utf8ToCp932(file);
        if (!platform::files::GetStatus(path).exists || LoadListFile(core, path) != 1) {
            ui.Error("zorone-cli: cannot read list file '" + file + "'");
            return kExitUsage;
        }
    }

    // Checked before anything is fetched: a crawl that should carry a login
    // must not run without it, and the window's message box would only say
    // that the crawl did not start.
    if (const std::string why = platform::CheckRequestOptions(RequestOptionsOf(core.settings)); !why.empty())
        return UsageError(platform::Cp932ToUtf8(why));

    InterruptWatcher interrupts(loop, dlg, urls);
    // The window shows the fields in its controls before the user presses
    // the button, which reads them back.
    WriteFieldsToControls(core);
    dlg.OnStartButton();
    if (core.m_bRunning != 1 && core.finishedCrawls == 0) {
        ui.Flush();
        return kExitRefused;
    }
    // RunUntil gives up after its timeout; a crawl may take longer.
    const auto finished = [&core] { return core.finishedCrawls > 0; };
    while (!loop.RunUntil(finished, std::chrono::hours(1)))
        continue;
    ui.Flush();

    if (!o.quiet)
        PrintSkippedCounts(core.skipped);
    const bool saveFailed = !WriteResultFiles(core, urls, o, ui);
    // Add this run's items to the lifetime counter as it stands now: another
    // run may have counted since this one started.
    const std::string profile = CSiteUtil::ProfilePath();
    const int before = ReadProfileInt(profile, "Zorone", kCounterKey, 0);
    WriteProfileInt(profile, "Zorone", kCounterKey, before + core.m_nCrawlCount);
    if (saveFailed)
        return kExitSaveFailed;
    if (interrupts.Interrupted())
        return kExitInterrupted;
    return core.m_nFailedCount > 0 ? kExitSomeFailed : 0;
}

} // namespace
} // namespace zorone::cli

int main(int argc, char** argv)
{
    using namespace zorone::cli;
    zorone::platform::KeepFreedHeapForReuse();
    if (const std::string problem = zorone::platform::CodePageProblem(); !problem.empty()) {
        std::fprintf(stderr, "zorone-cli: %s\n", problem.c_str());
        return kExitRefused;
    }
    const ParseResult parsed = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty())
        return UsageError(parsed.error);
    if (parsed.options.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::fputs(VersionText(), stdout);
        return 0;
    }
    if (parsed.options.listSettings) {
        PrintSettings();
        return 0;
    }
    return Run(parsed.options);
}
