#pragma once
// The main window's logic without a toolkit: owns the core (settings, list,
// crawl state, the controls' models) and routes every command id and window
// message to its handler. The Qt window and the terminal program are front
// ends over this class.
#include "engine/core.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

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

    // The settings record from Zorone.sav and the lifetime counter from the
    // profile (defaults for whatever is missing), and back.
    void LoadSettings();
    int SaveSettings() const;

    // Runs the handler of a command id; false when the id has none.
    bool OnCommand(int id);
    bool HasCommand(int id) const { return m_commands.count(id) != 0; }
    // The main window's handler for posted window messages.
    void OnMessage(const platform::Message& message);

    // Adds or replaces the handler of a command id. The routing table is the
    // one place where ids meet handlers.
    void Route(int id, std::function<void()> handler) { m_commands[id] = std::move(handler); }

    // Receives the window messages the core does not handle itself (the
    // tray callback); set by the front end.
    void SetMessageHook(std::function<void(const platform::Message&)> hook) { m_messageHook = std::move(hook); }

    // The rows selected in the list view, from the top; set by the front end
    // (tests set their own). Without a source nothing is selected.
    void SetSelectionSource(std::function<std::vector<int>()> source) { m_selection = std::move(source); }
    std::vector<int> SelectedRows() const { return m_selection ? m_selection() : std::vector<int> {}; }

    // Ends the application with an exit code (the exit flow posts 18); set by
    // the front end.
    void SetQuitHook(std::function<void(int)> hook) { m_quit = std::move(hook); }
    void Quit(int exitCode)
    {
        if (m_quit)
            m_quit(exitCode);
    }

    // Button 1003: the fields are read from the controls, then the running
    // crawl is aborted or a new one started.
    void OnStartButton();
    // Command 32781: starts a crawl unless one runs.
    void OnStartMenu();

private:
    void BuildRoutingTable();

    Core m_core;
    std::unordered_map<int, std::function<void()>> m_commands;
    std::function<void(const platform::Message&)> m_messageHook;
    std::function<std::vector<int>()> m_selection;
    std::function<void(int)> m_quit;
};

} // namespace zorone
