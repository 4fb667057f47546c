#pragma once
// A core wired to a headless loop, a scripted user and a hand-driven URL
// service, with the dispatch request routed as the main window routes it.
#include "engine/core.h"
#include "engine/crawl_control.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "settings/settings.h"
#include "tests/support/fake_url_service.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace zorone::test {

class EngineTest : public ::testing::Test {
protected:
    EngineTest()
        : urls(loop)
        , core(loop, ui, &urls)
    {
        core.settings = DefaultSettings(dir.Path() + "/");
        core.settings.m_sPath = dir.Path() + "/dl/";
        loop.SetHandler([this](const platform::Message& m) {
            if (m.id == platform::kWmCrawlNext)
                FillDownloadSlots(core);
            else if (m.id == platform::kWmCrawlKick)
                KickDispatch(core);
        });
    }

    // Dispatches everything queued (no waiting).
    void Pump() { loop.DispatchPending(); }

    // Adds a row as a loaded list file would: no rules, no tally.
    int LoadRow(const std::string& mark, const std::string& url)
    {
        const int row = core.list.InsertItem(core.list.GetItemCount(), mark);
        core.list.SetItemText(row, kColUrl, url);
        return row;
    }

    std::string Mark(int row) const { return core.list.GetItemText(row, kColMark); }
    std::string Url(int row) const { return core.list.GetItemText(row, kColUrl); }
    int Reports() const
    {
        int n = 0;
        for (const auto& c : ui.CallsOf("MessageBox"))
            n += c.caption == res::kCaptionReport ? 1 : 0;
        return n;
    }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    FakeUrlService urls;
    Core core;
};

} // namespace zorone::test
