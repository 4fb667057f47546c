#include "app/zorone_dlg.h"

#include "app/command_ids.h"

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

void CZoroneDlg::OnMessage(const platform::Message&)
{
}

void CZoroneDlg::BuildRoutingTable()
{
}

} // namespace zorone
