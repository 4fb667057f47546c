#pragma once
// A core with a headless loop, a scripted user and a hand-driven URL service,
// wired as the main window wires the dispatch request, plus helpers to build
// and read rows.
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
#include <vector>

namespace zorone::test {

using Row = std::vector<std::string>;

class ListTest : public ::testing::Test {
protected:
    ListTest()
        : urls(loop)
        , core(loop, ui, &urls)
    {
        core.programFolderPrefix = dir.Path() + "/";
        core.settings = DefaultSettings(core.programFolderPrefix);
        core.settings.m_sPath = dir.Path() + "/dl/";
        core.settings.m_sTopURL.clear();
        loop.SetHandler([this](const platform::Message& m) {
            if (m.id == platform::kWmCrawlNext)
                FillDownloadSlots(core);
            else if (m.id == platform::kWmCrawlKick)
                KickDispatch(core);
        });
    }

    void Pump() { loop.DispatchPending(); }

    int AddRow(const Row& cols)
    {
        DownloadItem item;
        for (size_t c = 0; c < cols.size() && c < item.cols.size(); ++c)
            item.cols[c] = cols[c];
        return core.list.InsertRow(core.list.GetItemCount(), std::move(item));
    }

    Row RowAt(int row) const
    {
        Row r;
        for (int c = 0; c < kColumnCount; ++c)
            r.push_back(core.list.GetItemText(row, c));
        return r;
    }

    std::vector<Row> Rows() const
    {
        std::vector<Row> rows;
        for (int i = 0; i < core.list.GetItemCount(); ++i)
            rows.push_back(RowAt(i));
        return rows;
    }

    std::vector<std::string> Urls() const
    {
        std::vector<std::string> urlsOut;
        for (int i = 0; i < core.list.GetItemCount(); ++i)
            urlsOut.push_back(core.list.GetItemText(i, kColUrl));
        return urlsOut;
    }

    // The message boxes shown so far, as "caption|text".
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> out;
        for (const auto& c : ui.CallsOf("MessageBox"))
            out.push_back(c.caption + "|" + c.text);
        return out;
    }

    std::string Status() const { return core.window.statusText; }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    FakeUrlService urls;
    Core core;
};

inline std::string Box(const std::string& caption, const std::string& text)
{
    return caption + "|" + text;
}

} // namespace zorone::test
