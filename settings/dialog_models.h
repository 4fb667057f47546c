#pragma once
// The models of the six small modal dialogs: four that edit settings, the
// top-address prompt and the operating manual. Each works on copies: CopyIn
// takes the settings into its members, the front end runs the dialog over
// the controls, and only a dialog that ended with OK has CopyBack called.
// Titles, captions and control layout live in res/dialogs.def.
#include "platform/ui_services.h"
#include "settings/dialog_exchange.h"
#include "settings/settings.h"

#include <string>

namespace zorone {

// Dialog 129 "設定 - 動作".
class CActionSettingDlg : public DialogModel {
public:
    static constexpr int kIdd = 129;
    static constexpr int kIdPriority = 1012; // radios 1012..1014
    static constexpr int kIdPriorityOther = 1015;
    static constexpr int kIdOtherSite = 1028; // radios 1028..1030
    static constexpr int kIdOtherSiteEx = 1031;
    static constexpr int kIdKaisouKind = 1022; // radios 1022..1024
    static constexpr int kIdKaisou = 1025;
    static constexpr int kIdMultiDownloadMax = 1048;

    int m_nPriorityEx = -1;
    std::string m_sPriorityEx_Other;
    int m_nOtherSite = -1;
    std::string m_sOtherSiteEx;
    int m_nKaisouKind = -1;
    int m_nKaisou = 0;
    int m_nMultiDownloadMax = 0;

    void CopyIn(const Settings& s);
    void CopyBack(Settings& s) const;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Dialog 134 "設定 - アイテム": six flags as check boxes, and the two limits
// that spare a server.
class CItemSettingDlg : public DialogModel {
public:
    static constexpr int kIdd = 134;
    static constexpr int kIdDownloadedDelete = 1033;
    static constexpr int kIdSaveExit = 1026;
    static constexpr int kIdDefaultSave = 1044;
    static constexpr int kIdDoubleDownloadItem = 1027;
    static constexpr int kIdDownloadFileExist = 1045;
    static constexpr int kIdUpdateExisting = 1053;
    static constexpr int kIdPerHostMax = 1054;
    static constexpr int kIdHostWaitMs = 1055;

    int m_bDownloadedDelete = 0;
    int m_bSaveExit = 0;
    int m_bDefaultSave = 0;
    int m_bDoubleDownloadItem = 0;
    int m_bDownloadFileExist = 0;
    int m_bUpdateExisting = 0;
    int m_nPerHostMax = 0;
    int m_nHostWaitMs = 0;

    void CopyIn(const Settings& s);
    void CopyBack(Settings& s) const;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Dialog 135 "設定 - 解析". The size limit is edited in kilobytes.
class CAnalysisSettingDlg : public DialogModel {
public:
    static constexpr int kIdd = 135;
    static constexpr int kIdKBytes = 1016;
    static constexpr int kIdFileEx = 1035;
    static constexpr int kIdDefaultFileEx = 1034;
    static constexpr int kIdTag = 1036;
    static constexpr int kIdDefaultTag = 1037;
    static constexpr int kIdWebRulesToday = 1067;
    static constexpr int kIdConvertLinks = 1068;

    // The largest kilobyte count whose byte count fits a 32-bit int.
    static constexpr int kMaxKBytes = 2097151;

    static constexpr int kIdCookieFile = 1060;
    static constexpr int kIdBrowseCookies = 1061;
    static constexpr int kIdUserAgent = 1062;
    static constexpr int kIdHeaders = 1063;
    static constexpr int kIdRobots = 1064; // radios 1064..1066

    int m_nKBytes = 0;
    std::string m_sAnalsysFileEx;
    std::string m_sAnalsysTag;
    // Checked for today's rules (m_nWebRules 1).
    int m_bWebRulesToday = 0;
    // Checked when the crawl rewrites links for offline reading; left as
    // the rules' own choice when it agrees with it.
    int m_bConvertLinks = 0;
    std::string m_sCookieFile;
    std::string m_sUserAgent;
    std::string m_sHeaders;
    int m_nRobots = -1;

    // The kilobytes are m_nBytes / 1024, truncated toward zero.
    void CopyIn(const Settings& s);
    // m_nBytes becomes the kilobytes times 1024. Kilobytes beyond
    // ±kMaxKBytes would overflow the byte count, so they are clamped to the
    // largest whole-kilobyte limit (2147482624 bytes): a larger limit than
    // that means "analyse every document" anyway.
    void CopyBack(Settings& s) const;

    // The two "デフォルト" buttons: each resets its own member and then
    // writes all members into the controls, so that text typed into the
    // other fields and not yet read is discarded.
    void OnDefaultFileEx();
    void OnDefaultTag();
    // "参照(&O)" beside the cookies file: reads the controls, asks for a
    // file and, when one was chosen, takes it and rewrites the controls.
    void OnBrowseCookies(platform::UiServices& ui);

protected:
    void DoDataExchange(DataExchange& dx) override;
    // A User-Agent or header with a line break, a header without a valid
    // name, or a cookies file that cannot be read keeps the dialog open.
    bool CheckMembers(platform::UiServices& ui) override;
};

// Dialog 141 "設定 - ショートカット".
class CShortcutSettingDlg : public DialogModel {
public:
    static constexpr int kIdd = 141;
    static constexpr int kIdShortCut = 1049;
    static constexpr int kIdShortCutKind = 1012; // radios 1012..1013
    static constexpr int kIdShortCutPath = 1015;
    static constexpr int kIdBrowse = 1050;
    static constexpr int kIdHelp = 1051;

    int m_bShortCut = 0;
    int m_nShortCutKind = -1;
    std::string m_sShortCutPath;

    void CopyIn(const Settings& s);
    void CopyBack(Settings& s) const;

    // A click on the check box or a radio button reads every control; it
    // enables or disables nothing.
    void OnClickChoice() { ReadControls(); }
    // "参照(&O)": reads the controls, asks for a folder and, when one other
    // than the current path was chosen, takes it and rewrites the controls.
    void OnBrowse(platform::UiServices& ui);
    // "ヘルプ": what the setting does, in a message box.
    void OnHelp(platform::UiServices& ui) const;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Dialog 136: the top address. It starts empty every time; the current top
// URL is not shown.
class CAddressDlg : public DialogModel {
public:
    static constexpr int kIdd = 136;
    static constexpr int kIdAddress = 1002;

    std::string m_sAddress;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Dialog 133 "操作マニュアル": a read-only text and a close button.
class CManualDlg : public DialogModel {
public:
    static constexpr int kIdd = 133;
    static constexpr int kIdText = 1032;

    std::string m_sText;

    // Puts the manual text into the member and the read-only field.
    void OnInitDialog() override;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

} // namespace zorone
