#pragma once
// A main window over a headless core: no network, scripted dialogs.
#include "app/zorone_dlg.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "qt/main_window.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>

namespace zorone::test {

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture()
        : dlg(loop, ui, nullptr, home.Path() + "/")
    {
        window = std::make_unique<qt::MainWindow>(dlg);
    }

    Core& core() { return dlg.core(); }

    TempDir home;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    CZoroneDlg dlg;
    std::unique_ptr<qt::MainWindow> window;
};

} // namespace zorone::test
