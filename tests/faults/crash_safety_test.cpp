// The user's files survive a kill at any moment of their save: afterwards
// each holds either its previous content or the complete new one, never a
// mix, never nothing. The writer is killed with SIGKILL at random points (a
// fixed seed, a bounded number of rounds).
#include "engine/core.h"
#include "listops/list_files.h"
#include "listops/list_save.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "settings/settings_file.h"
#include "res/texts.h"
#include "tests/support/cli_harness.h"
#include "tests/support/file_size_limit.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

namespace zorone::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A CSV list of rows rows, all done, URLs under prefix.
std::string DoneList(int rows, const std::string& prefix)
{
    std::string text;
    for (int i = 0; i < rows; ++i)
        text += kDoneMark + ",p" + std::to_string(i) + ".html,html,1234," + prefix + std::to_string(i) + ".html\r\n";
    return text;
}

// Starts run in a child process and kills it after delay; returns once the
// child is gone.
void KillAfter(std::chrono::microseconds delay, const std::function<void()>& run)
{
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        run();
        ::_exit(0);
    }
    std::this_thread::sleep_for(delay);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// How long run takes unkilled, in a child; the kill points are drawn within it.
std::chrono::microseconds Duration(const std::function<void()>& run)
{
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        run();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
}

// Kills run at rounds random points and checks the file after each.
void KillAtRandomPoints(int rounds, const std::string& path, const std::function<void()>& run,
    const std::function<void(const std::string&)>& check)
{
    const auto whole = Duration(run);
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long long> point(0, whole.count() + whole.count() / 4);
    for (int i = 0; i < rounds; ++i) {
        SCOPED_TRACE("round " + std::to_string(i));
        KillAfter(std::chrono::microseconds(point(random)), run);
        ASSERT_TRUE(PathExists(path));
        check(ReadFileBytes(path));
    }
}

TEST(CrashSafety, ListSavedByTheCliIsOldOrNew)
{
    TempDir dir;
    const std::string in = dir / "in.csv";
    const std::string out = dir / "big.csv";
    const std::string old = DoneList(5, "http://old.test/");
    WriteFileBytes(in, DoneList(100000, "http://example.test/"));
    // A list with nothing left to fetch: the crawl ends at once and the
    // run is mostly loading and saving.
    auto runCli = [&](const std::string& save) {
        const std::string home = dir / "home";
        const std::string dl = dir / "dl";
        ::setenv("HOME", dir.Path().c_str(), 1);
        ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
        ::execl(CliPath().c_str(), CliPath().c_str(), "--home", home.c_str(), "--path", dl.c_str(), "--quiet", "--set",
            "m_sTopURL=", "--load", in.c_str(), "--save", save.c_str(), static_cast<char*>(nullptr));
    };
    const std::string fresh = dir / "fresh.csv";
    Duration([&] { runCli(fresh); });
    const std::string complete = ReadFileBytes(fresh);
    ASSERT_EQ(complete, ReadFileBytes(in));

    WriteFileBytes(out, old);
    KillAtRandomPoints(
        8, out, [&] { runCli(out); },
        [&](const std::string& now) { EXPECT_TRUE(now == old || now == complete) << now.size(); });
}

class InProcessSave : public ::testing::Test {
protected:
    InProcessSave()
        : core(loop, ui, nullptr)
    {
        core.programFolderPrefix = dir.Path() + "/";
        core.settings = DefaultSettings(core.programFolderPrefix);
    }

    void LoadRows(int rows, const std::string& prefix)
    {
        core.list.DeleteAllItems();
        ParseCsvText(core, DoneList(rows, prefix));
    }

    TempDir dir;
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    Core core;
};

TEST_F(InProcessSave, SettingsAreOldOrNew)
{
    const std::string sav = dir / "Zorone.sav";
    const std::string profile = dir / "zorone.ini";
    Settings before = core.settings;
    before.m_sTopURL = "http://old.test/";
    ASSERT_EQ(SaveSettings(before, core.programFolderPrefix, profile), 1);
    const std::string oldSav = ReadFileBytes(sav);
    Settings after = core.settings;
    after.m_sTopURL = "http://new.test/" + std::string(200000, 'x');
    after.m_nTotalDownloadCount = 77;
    const std::string newSav = BuildSavText(after);
    KillAtRandomPoints(
        10, sav, [&] { SaveSettings(after, core.programFolderPrefix, profile); },
        [&](const std::string& now) { EXPECT_TRUE(now == oldSav || now == newSav) << now.size(); });
}

TEST_F(InProcessSave, CarryOverListIsOldOrNew)
{
    const std::string path = dir / "default.csv";
    const std::string old = DoneList(5, "http://old.test/");
    WriteFileBytes(path, old);
    LoadRows(100000, "http://example.test/");
    ui.QueueAnswer(platform::MbAnswer::Yes); // keep the long list
    SaveCarryOverList(core);
    const std::string complete = ReadFileBytes(path);
    ASSERT_EQ(complete, DoneList(100000, "http://example.test/"));

    WriteFileBytes(path, old);
    KillAtRandomPoints(
        10, path,
        [&] {
            ui.QueueAnswer(platform::MbAnswer::Yes);
            SaveCarryOverList(core);
        },
        [&](const std::string& now) { EXPECT_TRUE(now == old || now == complete) << now.size(); });
}

TEST_F(InProcessSave, CarryOverListStaysWhileTheNewOneIsBuilt)
{
    const std::string path = dir / "default.csv";
    WriteFileBytes(path, "old list\r\n");
    LoadRows(3, "http://example.test/");
    // Building the text dispatches pending messages: this one looks at the
    // file in the middle of the save.
    bool presentDuringBuild = false;
    loop.PostTask([&] { presentDuringBuild = PathExists(path); });
    SaveCarryOverList(core);
    EXPECT_TRUE(presentDuringBuild);
    EXPECT_EQ(ReadFileBytes(path), DoneList(3, "http://example.test/"));

    // An empty list still leaves nothing to offer.
    core.list.DeleteAllItems();
    SaveCarryOverList(core);
    EXPECT_FALSE(PathExists(path));
}

TEST_F(InProcessSave, CarryOverListOnAFullDiskKeepsTheOldOneAndSaysSo)
{
    const std::string path = dir / "default.csv";
    const std::string old = DoneList(5, "http://old.test/");
    WriteFileBytes(path, old);
    LoadRows(1000, "http://example.test/");
    {
        FileSizeLimit full(4096);
        SaveCarryOverList(core);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    const auto boxes = ui.CallsOf("MessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, res::kMsgCarryOverKeptOld + "\r\n" + path);
    EXPECT_EQ(FilesUnder(dir.Path()), std::set<std::string> { "default.csv" }); // no temporary file left
}

} // namespace
} // namespace zorone::test
