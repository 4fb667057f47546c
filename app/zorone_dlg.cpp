#include "app/zorone_dlg.h"

#include "app/command_ids.h"
#include "app/list_commands.h"
#include "app/window_commands.h"
#include "engine/crawl_control.h"
#include "engine/data_exchange.h"
#include "settings/settings_file.h"
#include "web/program_folder.h"

namespace zorone {

CZoroneDlg::CZoroneDlg(platform::MessageLoop& loop, platform::UiServices& ui, platform::UrlService* urls,
                       std::string programFolderPrefix)
    : m_core(loop, ui, urls)
{
    m_core.programFolderPrefix = std::move(programFolderPrefix);
    loop.SetHandler([this](const platform::Message& m) { OnMessage(m); });
    BuildRoutingTable();
}

CZoroneDlg::~CZoroneDlg()
{
    m_core.loop.SetHandler({});
}

void CZoroneDlg::LoadSettings()
{
    zorone::LoadSettings(m_core.settings, m_core.programFolderPrefix, CSiteUtil::ProfilePath());
}

int CZoroneDlg::SaveSettings() const
{
    return zorone::SaveSettings(m_core.settings, m_core.programFolderPrefix, CSiteUtil::ProfilePath());
}

bool CZoroneDlg::OnCommand(int id)
{
    const auto it = m_commands.find(id);
    if (it == m_commands.end())
        return false;
    // Copy: a handler may re-route or re-enter while it runs.
    const std::function<void()> handler = it->second;
    handler();
    return true;
}

void CZoroneDlg::OnMessage(const platform::Message& message)
{
    switch (message.id) {
    case platform::kWmCrawlNext:
        FillDownloadSlots(m_core);
        break;
    case platform::kWmCrawlKick:
        KickDispatch(m_core);
        break;
    default:
        if (m_messageHook)
            m_messageHook(message);
        break;
    }
}

void CZoroneDlg::OnStartButton()
{
    ReadFieldsFromControls(m_core);
    if (m_core.m_bRunning == 1)
        AbortCrawl(m_core);
    else
        StartCrawl(m_core);
}

void CZoroneDlg::OnStartMenu()
{
    if (m_core.m_bRunning == 1)
        return;
    ReadFieldsFromControls(m_core);
    StartCrawl(m_core);
}

void CZoroneDlg::BuildRoutingTable()
{
    Route(cmd::kStart, [this] { OnStartButton(); });
    Route(cmd::kStartMenu, [this] { OnStartMenu(); });
    Route(cmd::kAbortMenu, [this] { AbortCrawl(m_core); });
    Route(cmd::kAbortNoControl, [this] { AbortCrawl(m_core); });
    RegisterWindowCommands(*this);
    RegisterListCommands(*this);
}

} // namespace zorone
