#include "settings/dialog_models.h"

#include "platform/request_options.h"
#include "res/texts.h"
#include "settings/setting_fields.h"
#include "web/dialog_helpers.h"

#include <algorithm>

namespace zorone {
namespace {

std::string TextDefault(std::string_view key)
{
    return std::string(FindSettingField(key)->textDefault);
}

} // namespace

void CActionSettingDlg::CopyIn(const Settings& s)
{
    m_nPriorityEx = s.m_nPriorityEx;
    m_sPriorityEx_Other = s.m_sPriorityEx_Other;
    m_nKaisouKind = s.m_nKaisouKind;
    m_nKaisou = s.m_nKaisou;
    m_nOtherSite = s.m_nOtherSite;
    m_sOtherSiteEx = s.m_sOtherSiteEx;
    m_nMultiDownloadMax = s.m_nMultiDownloadMax;
}

void CActionSettingDlg::CopyBack(Settings& s) const
{
    s.m_nPriorityEx = m_nPriorityEx;
    s.m_sPriorityEx_Other = m_sPriorityEx_Other;
    s.m_nKaisouKind = m_nKaisouKind;
    s.m_nKaisou = m_nKaisou;
    s.m_nOtherSite = m_nOtherSite;
    s.m_sOtherSiteEx = m_sOtherSiteEx;
    s.m_nMultiDownloadMax = m_nMultiDownloadMax;
}

void CActionSettingDlg::DoDataExchange(DataExchange& dx)
{
    dx.Radio(kIdPriority, 3, m_nPriorityEx);
    dx.Text(kIdPriorityOther, m_sPriorityEx_Other);
    dx.Radio(kIdOtherSite, 3, m_nOtherSite);
    dx.Text(kIdOtherSiteEx, m_sOtherSiteEx);
    dx.Radio(kIdKaisouKind, 3, m_nKaisouKind);
    dx.Int(kIdKaisou, m_nKaisou);
    dx.Int(kIdMultiDownloadMax, m_nMultiDownloadMax);
}

void CItemSettingDlg::CopyIn(const Settings& s)
{
    m_bDownloadedDelete = s.m_bDownloadedDelete;
    m_bSaveExit = s.m_bSaveExit;
    m_bDefaultSave = s.m_bDefaultSave;
    m_bDoubleDownloadItem = s.m_bDoubleDownloadItem;
    m_bDownloadFileExist = s.m_bDownloadFileExist;
    m_bUpdateExisting = s.m_bUpdateExisting;
    m_nPerHostMax = s.m_nPerHostMax;
    m_nHostWaitMs = s.m_nHostWaitMs;
}

void CItemSettingDlg::CopyBack(Settings& s) const
{
    s.m_bDownloadedDelete = m_bDownloadedDelete;
    s.m_bSaveExit = m_bSaveExit;
    s.m_bDefaultSave = m_bDefaultSave;
    s.m_bDoubleDownloadItem = m_bDoubleDownloadItem;
    s.m_bDownloadFileExist = m_bDownloadFileExist;
    s.m_bUpdateExisting = m_bUpdateExisting;
    // A negative limit means none, as 0 does.
    s.m_nPerHostMax = std::max(m_nPerHostMax, 0);
    s.m_nHostWaitMs = std::max(m_nHostWaitMs, 0);
}

void CItemSettingDlg::DoDataExchange(DataExchange& dx)
{
    dx.Check(kIdDownloadedDelete, m_bDownloadedDelete);
    dx.Check(kIdSaveExit, m_bSaveExit);
    dx.Check(kIdDefaultSave, m_bDefaultSave);
    dx.Check(kIdDoubleDownloadItem, m_bDoubleDownloadItem);
    dx.Check(kIdDownloadFileExist, m_bDownloadFileExist);
    dx.Check(kIdUpdateExisting, m_bUpdateExisting);
    dx.Int(kIdPerHostMax, m_nPerHostMax);
    dx.Int(kIdHostWaitMs, m_nHostWaitMs);
}

void CAnalysisSettingDlg::CopyIn(const Settings& s)
{
    m_nKBytes = s.m_nBytes / 1024;
    m_sAnalsysFileEx = s.m_sAnalsysFileEx;
    m_sAnalsysTag = s.m_sAnalsysTag;
    m_bWebRulesToday = s.m_nWebRules == 1 ? 1 : 0;
    m_bConvertLinks = ConvertsLinks(s) ? 1 : 0;
    m_sCookieFile = s.m_sCookieFile;
    m_sUserAgent = s.m_sUserAgent;
    m_sHeaders = s.m_sHeaders;
    m_nRobots = s.m_nRobots;
}

void CAnalysisSettingDlg::CopyBack(Settings& s) const
{
    s.m_nBytes = std::clamp(m_nKBytes, -kMaxKBytes - 1, kMaxKBytes) * 1024;
    s.m_sAnalsysFileEx = m_sAnalsysFileEx;
    s.m_sAnalsysTag = m_sAnalsysTag;
    s.m_nWebRules = m_bWebRulesToday == 1 ? 1 : 0;
    s.m_bConvertLinks = m_bConvertLinks == s.m_nWebRules ? -1 : m_bConvertLinks;
    s.m_sCookieFile = m_sCookieFile;
    s.m_sUserAgent = m_sUserAgent;
    s.m_sHeaders = m_sHeaders;
    s.m_nRobots = m_nRobots;
}

void CAnalysisSettingDlg::OnDefaultFileEx()
{
    m_sAnalsysFileEx = TextDefault("m_sAnalsysFileEx");
    WriteControls();
}

void CAnalysisSettingDlg::OnDefaultTag()
{
    m_sAnalsysTag = TextDefault("m_sAnalsysTag");
    WriteControls();
}

void CAnalysisSettingDlg::DoDataExchange(DataExchange& dx)
{
    dx.Int(kIdKBytes, m_nKBytes);
    dx.Text(kIdFileEx, m_sAnalsysFileEx);
    dx.Text(kIdTag, m_sAnalsysTag);
    dx.Check(kIdWebRulesToday, m_bWebRulesToday);
    dx.Check(kIdConvertLinks, m_bConvertLinks);
    dx.Text(kIdCookieFile, m_sCookieFile);
    dx.Text(kIdUserAgent, m_sUserAgent);
    dx.Text(kIdHeaders, m_sHeaders);
    dx.Radio(kIdRobots, 3, m_nRobots);
}

void CAnalysisSettingDlg::OnBrowseCookies(platform::UiServices& ui)
{
    ReadControls();
    const std::string path = ui.PickOpenFile("cookies.txt", res::kFilterCookies);
    if (path.empty())
        return;
    m_sCookieFile = path;
    WriteControls();
}

bool CAnalysisSettingDlg::CheckMembers(platform::UiServices& ui)
{
    platform::RequestOptions options;
    options.userAgent = m_sUserAgent;
    options.headers = platform::SplitHeaderLines(m_sHeaders);
    options.cookieFile = m_sCookieFile;
    const std::string problems = platform::CheckRequestOptions(options);
    if (problems.empty())
        return true;
    ui.MessageBox(problems, res::kCaptionInputError, platform::MbButtons::Ok);
    return false;
}

void CShortcutSettingDlg::CopyIn(const Settings& s)
{
    m_bShortCut = s.m_bShortCut;
    m_nShortCutKind = s.m_nShortCutKind;
    m_sShortCutPath = s.m_sShortCutPath;
}

void CShortcutSettingDlg::CopyBack(Settings& s) const
{
    s.m_bShortCut = m_bShortCut;
    s.m_nShortCutKind = m_nShortCutKind;
    s.m_sShortCutPath = m_sShortCutPath;
}

void CShortcutSettingDlg::OnBrowse(platform::UiServices& ui)
{
    ReadControls();
    const std::string folder = CSiteUtil::BrowseForFolder(ui, m_sShortCutPath);
    if (folder.empty() || folder == m_sShortCutPath)
        return;
    m_sShortCutPath = folder;
    WriteControls();
}

void CShortcutSettingDlg::OnHelp(platform::UiServices& ui) const
{
    ui.MessageBox(res::kMsgShortcutHelp, res::kCaptionShortcutHelp, platform::MbButtons::Ok);
}

void CShortcutSettingDlg::DoDataExchange(DataExchange& dx)
{
    dx.Check(kIdShortCut, m_bShortCut);
    dx.Radio(kIdShortCutKind, 2, m_nShortCutKind);
    dx.Text(kIdShortCutPath, m_sShortCutPath);
}

void CAddressDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdAddress, m_sAddress);
}

void CManualDlg::OnInitDialog()
{
    m_sText = res::kManualText;
    WriteControls();
}

void CManualDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdText, m_sText);
}

} // namespace zorone
