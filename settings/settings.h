#pragma once
// The settings record: the 21 values Zorone.sav stores, in file order, then
// the lifetime download counter and the settings kept in the per-user
// profile.
#include <string>

namespace zorone {

struct Settings {
    std::string m_sPath;
    std::string m_sTopURL;
    int m_nPriorityEx = 0;
    std::string m_sPriorityEx_Other;
    int m_nBytes = 0;
    int m_bSaveExit = 0;
    int m_nKaisouKind = 0;
    int m_nKaisou = 0;
    int m_bDoubleDownloadItem = 0;
    int m_nOtherSite = 0;
    std::string m_sOtherSiteEx;
    int m_bDownloadedDelete = 0;
    std::string m_sAnalsysFileEx;
    std::string m_sAnalsysTag;
    int m_bDefaultSave = 0;
    int m_bDownloadFileExist = 0;
    int m_nMultiDownloadMax = 0;
    int m_nDisplayDownloadFileExList = 0;
    std::string m_sShortCutPath;
    int m_nShortCutKind = 0;
    int m_bShortCut = 0;

    int m_nTotalDownloadCount = 0;

    // Kept in the per-user profile too, outside Zorone.sav's fixed 21 values.
    // Which rules turn links into rows and files: 0 classic, 1 today's.
    int m_nWebRules = 0;
    // Whether a crawl's stored pages and style sheets are rewritten to work
    // offline: 1 yes, 0 no, -1 as the rules say (today's yes, classic no).
    int m_bConvertLinks = -1;
    // Per-user profile values (zorone.ini, section [Requests]), not in
    // Zorone.sav, whose 21 values older copies read.
    // Netscape cookies.txt loaded before each crawl; "" for none.
    std::string m_sCookieFile;
    // User-Agent sent; "" for Zorone's own.
    std::string m_sUserAgent;
    // Extra request headers, "Name: value" one a line (CR LF).
    std::string m_sHeaders;
    // robots.txt: 0 as the rule set decides, 1 followed, 2 ignored.
    int m_nRobots = 0;
    // A file already on disk is fetched again only when the server has a
    // newer one; wins over m_bDownloadFileExist.
    int m_bUpdateExisting = 0;
    // At most this many transfers to one host at once (0: no cap), and this
    // many milliseconds between the starts of two requests to one host.
    int m_nPerHostMax = 0;
    int m_nHostWaitMs = 0;
};

// Whether link conversion is on for these settings.
bool ConvertsLinks(const Settings& settings);

// The record as a first start sees it. programFolderPrefix is the program
// folder with its trailing "/"; the download folder defaults to its
// "download/" subfolder.
Settings DefaultSettings(const std::string& programFolderPrefix);

} // namespace zorone
