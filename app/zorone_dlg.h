#pragma once
// The main window's logic without a toolkit: owns the core (settings, list,
// crawl state, the controls' models) and routes every command id and window
// message to its handler. The Qt window and the terminal program are front
// ends over this class.
#include "engine/core.h"

#include <functional>
#include <string>
#include <unordered_map>

namespace zorone {

class CZoroneDlg {
public:
    CZoroneDlg(platform::MessageLoop& loop, platform::UiServices& ui, platform::UrlService* urls,
               std::string programFolderPrefix);
    ~CZoroneDlg();
    CZoroneDlg(const CZoroneDlg&) = delete;
    CZoroneDlg& operator=(const CZoroneDlg&) = delete;

    Core& core() { return m_core; }
    const Core& core() const { return m_core; }

    // Runs the handler of a command id; false when the id has none.
    bool OnCommand(int id);
    bool HasCommand(int id) const { return m_commands.count(id) != 0; }
    // The main window's handler for posted window messages.
    void OnMessage(const platform::Message& message);

    // Adds or replaces the handler of a command id. The routing table is the
    // one place where ids meet handlers.
    void Route(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

private:
    void BuildRoutingTable();

    Core m_core;
    std::unordered_map<int, std::function<void()>> m_commands;
};

} // namespace zorone
