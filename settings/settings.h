#pragma once
// The settings record: the 21 values Zorone.sav stores, in file order, and the
// values kept in the per-user profile: the lifetime download counter and the
// transfer settings of this user.
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
    // A file already on disk is fetched again only when the server has a
    // newer one; wins over m_bDownloadFileExist.
    int m_bUpdateExisting = 0;
    // At most this many transfers to one host at once (0: no cap), and this
    // many milliseconds between the starts of two requests to one host.
    int m_nPerHostMax = 0;
    int m_nHostWaitMs = 0;
};

// The record as a first start sees it. programFolderPrefix is the program
// folder with its trailing "/"; the download folder defaults to its
// "download/" subfolder.
Settings DefaultSettings(const std::string& programFolderPrefix);

} // namespace zorone
