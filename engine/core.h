#pragma once
// Everything the main window's logic owns, gathered so that the operations of
// each subsystem (their own files, as free functions taking Core&) can reach
// the settings, the list, the crawl state and the window's controls. Only the
// user-interface thread touches a Core.
#include "engine/download_list.h"
#include "engine/extension_tally.h"
#include "engine/robots_gate.h"
#include "engine/skipped_links.h"
#include "engine/window_model.h"
#include "platform/message_loop.h"
#include "platform/ui_services.h"
#include "platform/url_service.h"
#include "settings/settings.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace zorone {

class WebRules;

// Told of every transfer that failed, with its reason, on the user-interface
// thread: for front ends that list failures as they happen.
class FailureObserver {
public:
    virtual ~FailureObserver() = default;
    virtual void OnTransferFailed(const std::string& url, const std::string& reason) = 0;
};

struct Core {
    Core(platform::MessageLoop& loop, platform::UiServices& ui, platform::UrlService* urls);
    ~Core();
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    platform::MessageLoop& loop;
    platform::UiServices& ui;
    platform::UrlService* urls; // may be null where nothing is fetched

    // The program folder with its trailing "/": Zorone.sav, the histories and
    // default.csv live there.
    std::string programFolderPrefix;

    Settings settings;
    DownloadList list;
    ExtensionTally tally;
    WindowModel window;

    // Crawl state.
    int m_bRunning = 0;
    int m_nActiveDownloads = 0;
    int m_nLocalChecks = 0;
    int m_nCrawlCount = 0;
    // Files of this crawl the server found unchanged since they were stored
    // (update mode): finished, but not downloaded.
    int m_nUpToDateCount = 0;
    // Transfers of this crawl that failed (their rows end "×").
    int m_nFailedCount = 0;
    int m_bListModified = 0;
    int m_bClosing = 0;
    std::string m_sSummary;
    std::string m_sIndexName = "index.htm";

    // Window state the list commands and the tray share.
    int m_bSortDescending = 0;
    int m_bFirstPaint = 1;
    int m_bWindowShown = 1;

    // Advanced by every title and tray update, 0..99.
    int iconStep = 0;

    // Messages being dispatched from inside long operations, nested.
    int dispatchDepth = 0;

    // Crawls that reached their end (FinishCrawl), for front ends that wait.
    int finishedCrawls = 0;

    FailureObserver* failureObserver = nullptr;
    // How a front end wants the end of a crawl told.
    struct CrawlEndStyle {
        // The report adds a line counting failed transfers (a front end that
        // says each failure by itself may leave it out).
        bool countFailures = true;
        // Ask whether to open the downloaded top page.
        bool offerToOpen = true;
        // A crawl ended by the abort command ends with the abort's status
        // text rather than the one of a completed crawl.
        bool sayWhenAborted = false;
        // The report adds a line per reason links were skipped for.
        bool countSkipped = true;
    };
    CrawlEndStyle crawlEnd;
    // Set by the abort command, cleared at the start of a crawl.
    int m_bAborted = 0;

    // The pages and style sheets this crawl stored, for link conversion.
    struct StoredDocument {
        std::string url;
        std::string local;
        std::string contentType;
    };
    std::vector<StoredDocument> storedThisCrawl;
    // Set while the end of a crawl rewrites links.
    int m_bConverting = 0;

    // Both rule sets, made once: RulesOf picks the one the settings choose,
    // so a rule set's state (what it learnt of the sites) lasts the session.
    std::unique_ptr<WebRules> classicRules;
    std::unique_ptr<WebRules> todayRules;

    // Links the rules refused in this crawl, and the robots.txt of its hosts.
    SkippedLinks skipped;
    RobotsGate robots;

    // Transfers in flight (CDownloadFile, robots.txt fetches), owned here
    // from their start to their completion.
    std::unordered_map<const platform::TransferEvents*, std::unique_ptr<platform::TransferEvents>> transfers;
};

} // namespace zorone
