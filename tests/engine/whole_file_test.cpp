#include "engine/whole_file.h"

#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "res/texts.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorone {
namespace {

// Logs the progress bar as the window sees it: "r<high>" when the range
// changes (its low end is always 0 here), "p<pos>" for a position; and the
// status line's texts.
struct Recorder : WindowObserver {
    explicit Recorder(const WindowModel& w)
        : window(w)
    {
    }
    void OnWindowChanged(WindowPart part) override
    {
        if (part == WindowPart::Status)
            statuses.push_back(window.statusText);
        if (part != WindowPart::Progress)
            return;
        const bool range = window.progressHigh != high;
        high = window.progressHigh;
        progress += (progress.empty() ? "" : " ")
            + (range ? std::string("r").append(std::to_string(high)) : std::string("p").append(std::to_string(window.progressPos)));
    }
    void Clear()
    {
        progress.clear();
        statuses.clear();
        high = -1;
    }
    const WindowModel& window;
    std::string progress;
    std::vector<std::string> statuses;
    int high = -1;
};

class WholeFile : public ::testing::Test {
protected:
    WholeFile()
        : core(loop, ui, nullptr)
        , rec(core.window)
    {
        core.window.AddObserver(&rec);
    }
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    Core core;
    Recorder rec;
    test::TempDir dir;
};

TEST_F(WholeFile, WriteStepsThroughWholeBlocksAndReplacesTheFile)
{
    const struct {
        size_t size;
        std::string progress; // the last p0 is the reset after the write
    } cases[] = {
        { 0, "r0 p0" },
        { 10240, "r1 p0 p0" },
        { 30721, "r3 p0 p1 p2 p0" },
    };
    const std::string path = dir / "list.csv";
    test::WriteFileBytes(path, "an older and longer content");
    for (const auto& c : cases) {
        rec.Clear();
        const std::string text(c.size, 'w');
        EXPECT_EQ(WriteWholeFile(core, path, text), 1);
        EXPECT_EQ(test::ReadFileBytes(path), text);
        EXPECT_EQ(rec.progress, c.progress) << c.size;
        EXPECT_EQ(rec.statuses,
            (std::vector<std::string> {
                res::kFullColon + res::kStatusSaving, res::kFullColon + res::kStatusSaveDone }));
    }
}

TEST_F(WholeFile, FailedWriteIsReportedAndKeepsTheOldFile)
{
    const std::string path = dir / "default.csv";
    test::WriteFileBytes(path, "old rows");
    {
        test::FileSizeLimit limit(100);
        EXPECT_EQ(WriteWholeFile(core, path, std::string(20000, 'n')), 0);
    }
    EXPECT_EQ(test::ReadFileBytes(path), "old rows");
    EXPECT_EQ(core.window.statusText, res::kFullColon + res::kStatusWriteFailed + path);

    EXPECT_EQ(WriteWholeFile(core, dir / "missing/x.csv", "x"), 0);
    EXPECT_FALSE(test::PathExists(dir / "missing"));
}

TEST_F(WholeFile, WriteLeavesAReadOnlyFileAlone)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files anyway";
    const std::string path = dir / "ro.csv";
    test::WriteFileBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(WriteWholeFile(core, path, "new"), 0);
    EXPECT_EQ(test::ReadFileBytes(path), "old");
}

TEST_F(WholeFile, ReadDropsZeroBytesOnlyAndDispatchesOncePerBlock)
{
    const struct {
        std::string file;
        std::string expected;
        std::string progress;
        int dispatched;
    } cases[] = {
        { "", "", "r0 p0", 0 },
        { std::string(1024, 'a'), std::string(1024, 'a'), "r0 p0 p0", 1 },
        { std::string(1025, 'a'), std::string(1025, 'a'), "r1 p0 p1 p0", 2 },
        { std::string("ab\0cd", 5) + std::string(1019, 'x') + "tail", "abcd" + std::string(1019, 'x') + "tail",
            "r1 p0 p1 p0", 2 },
        { std::string(2050, 'a'), std::string(2050, 'a'), "r2 p0 p1 p2 p0", 3 },
    };
    const std::string path = dir / "page.htm";
    int dispatched = 0;
    loop.SetHandler([&](const platform::Message&) { ++dispatched; });
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.file);
        rec.Clear();
        dispatched = 0;
        for (int i = 0; i < 5; ++i)
            loop.Post({ platform::kWmCrawlNext, 0, 0, {} });
        EXPECT_EQ(ReadWholeFile(core, path), c.expected) << c.file.size();
        EXPECT_EQ(rec.progress, c.progress) << c.file.size();
        EXPECT_EQ(dispatched, c.dispatched) << c.file.size();
        loop.DispatchPending();
    }
    EXPECT_EQ(ReadWholeFile(core, dir / "missing.htm"), "");
}

} // namespace
} // namespace zorone
