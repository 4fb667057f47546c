#include "listops/list_save.h"

#include "listops/list_files.h"
#include "tests/listops/list_fixture.h"

#include <sys/stat.h>

#include <filesystem>

namespace zorone::test {
namespace {

using platform::MbAnswer;
using SaveLoad = ListTest;

const std::string kDone = "\x81\x9b";

TEST_F(SaveLoad, SaveCommandWritesClearsTheFlagAndReports)
{
    AddRow({ kDone, "a.htm", "htm", "3", "http://h/a.htm" });
    core.m_bListModified = 1;
    ui.QueuePick(dir / "l.csv");
    SaveListCommand(core);
    EXPECT_EQ(ReadFileBytes(dir / "l.csv"), kDone + ",a.htm,htm,3,http://h/a.htm\r\n");
    EXPECT_EQ(core.m_bListModified, 0);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { Box(res::kCaptionSaved, res::kMsgSaved) }));
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusSaveSuccess);
    const auto picks = ui.CallsOf("PickSaveFile");
    ASSERT_EQ(picks.size(), 1u);
    EXPECT_EQ(picks[0].text, "");
    EXPECT_EQ(picks[0].caption, res::kFilterListSave);
}

TEST_F(SaveLoad, CancelledOrFailedSaveKeepsTheFlag)
{
    AddRow({ kDone, "a.htm", "htm", "3", "http://h/a.htm" });
    core.m_bListModified = 1;
    SaveListCommand(core); // no pick: cancelled
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(Boxes().empty());

    ui.QueuePick(dir / "no/such/folder/l.csv");
    SaveListCommand(core);
    EXPECT_EQ(core.m_bListModified, 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { Box(res::kCaptionWarning, res::kMsgSaveFailed) }));
    EXPECT_EQ(Status(), "");
}

TEST_F(SaveLoad, ChangeWhileTheCsvTextIsBuiltKeepsTheListModified)
{
    for (int i = 0; i < 3; ++i)
        AddRow({ kDone, "", "", "", "http://h/" + std::to_string(i) });
    core.m_bListModified = 1;
    loop.PostTask([&] {
        AddRow({ "", "", "", "", "http://h/late" });
        core.m_bListModified = 1;
    });
    ui.QueuePick(dir / "l.csv");
    ASSERT_EQ(SaveListFile(core), 1);
    EXPECT_EQ(core.m_bListModified, 1);
}

TEST_F(SaveLoad, LoadCommandAppendsTheChosenFile)
{
    AddRow({ "", "", "", "", "http://h/0" });
    WriteFileBytes(dir / "in.lst", "http://h/1\r\n");
    ui.QueuePick(dir / "in.lst");
    LoadListCommand(core);
    EXPECT_EQ(Urls(), (std::vector<std::string> { "http://h/0", "http://h/1" }));
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusLoadSuccess);
    EXPECT_EQ(ui.CallsOf("PickOpenFile").at(0).caption, res::kFilterListOpen);

    LoadListCommand(core); // cancelled: nothing added, still reported
    EXPECT_EQ(core.list.GetItemCount(), 2);
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusLoadSuccess);
}

TEST_F(SaveLoad, ListThatCannotBeReadIsReportedAsAFailure)
{
    const std::string missing = dir / "missing.lst";
    ui.QueuePick(missing);
    LoadListCommand(core);
    EXPECT_EQ(Status(), res::kFullColon + res::kStatusLoadFailed);
    const std::string fifo = dir / "fifo.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    OnDropFiles(core, { fifo });
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> { Box(res::kCaptionWarning, res::kMsgLoadFailed + "\r\n" + missing),
            Box(res::kCaptionWarning, res::kMsgLoadFailed + "\r\n" + fifo) }));
    EXPECT_EQ(core.list.GetItemCount(), 0);
}

TEST_F(SaveLoad, DroppedFolderAloneBecomesTheDownloadFolder)
{
    const std::string folder = dir / "target";
    std::filesystem::create_directory(folder);
    WriteFileBytes(dir / "d.lst", "http://h/1\r\n");

    OnDropFiles(core, { folder, dir / "d.lst" });
    EXPECT_EQ(core.settings.m_sPath, dir.Path() + "/dl/");
    EXPECT_EQ(Urls(), (std::vector<std::string> { "http://h/1" }));

    OnDropFiles(core, { folder });
    EXPECT_EQ(core.settings.m_sPath, folder + "/");
    EXPECT_EQ(core.window.folderCombo.EditText(), folder + "/");

    // A path that cannot be read counts as a folder.
    OnDropFiles(core, { dir / "gone" });
    EXPECT_EQ(core.settings.m_sPath, dir / "gone/");
    EXPECT_EQ(core.list.GetItemCount(), 1);
}

class ExitQuestion : public ListTest {
protected:
    ExitQuestion()
    {
        core.settings.m_bSaveExit = 1;
        core.settings.m_bDefaultSave = 0;
        core.m_bListModified = 1;
        AddRow({ kDone, "", "", "", "http://h/a" });
    }
    void Answer(std::initializer_list<MbAnswer> answers)
    {
        for (MbAnswer a : answers)
            ui.QueueAnswer(a);
    }
    const std::string ask = Box(res::kCaptionExit, res::kMsgSaveOnExit);
    const std::string retry = Box(res::kCaptionQuestion, res::kMsgRetry);
    const std::string stop = Box(res::kCaptionResume, res::kMsgStopExit);
};

TEST_F(ExitQuestion, StopQuestionComesOnlyAfterTheSecondFailedAttempt)
{
    // Yes + cancelled dialog + retry, three times; No at the stop question;
    // then No at the fourth save question.
    Answer({ MbAnswer::Yes, MbAnswer::Yes, MbAnswer::Yes, MbAnswer::Yes, MbAnswer::No, MbAnswer::Yes, MbAnswer::Yes,
        MbAnswer::No });
    EXPECT_EQ(ConfirmSaveOnExit(core), 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { ask, retry, ask, retry, stop, ask, retry, ask }));
    EXPECT_EQ(ui.UnusedAnswers(), 0u);
}

TEST_F(ExitQuestion, AnswersDecideBetweenQuitAndStay)
{
    struct Case {
        const char* name;
        std::vector<MbAnswer> answers;
        int result;
    };
    const std::vector<Case> cases = {
        { "No quits without saving", { MbAnswer::No }, 1 },
        { "Cancel stays", { MbAnswer::Cancel }, 0 },
        { "No at retry quits", { MbAnswer::Yes, MbAnswer::No }, 1 },
        { "Yes at the stop question stays",
            { MbAnswer::Yes, MbAnswer::Yes, MbAnswer::Yes, MbAnswer::Yes, MbAnswer::Yes }, 0 },
    };
    for (const Case& c : cases) {
        for (MbAnswer a : c.answers)
            ui.QueueAnswer(a);
        EXPECT_EQ(ConfirmSaveOnExit(core), c.result) << c.name;
        EXPECT_EQ(ui.UnusedAnswers(), 0u) << c.name;
    }
}

TEST_F(ExitQuestion, SuccessfulSaveQuitsAndUnchangedListAsksNothing)
{
    ui.QueueAnswer(MbAnswer::Yes);
    ui.QueuePick(dir / "exit.txt");
    EXPECT_EQ(ConfirmSaveOnExit(core), 1);
    EXPECT_EQ(ReadFileBytes(dir / "exit.txt"), kDone + "http://h/a\r\n");
    ui.ClearCalls();
    EXPECT_EQ(ConfirmSaveOnExit(core), 1); // saved: unchanged now
    core.m_bListModified = 1;
    core.settings.m_bSaveExit = 0;
    EXPECT_EQ(ConfirmSaveOnExit(core), 1);
    EXPECT_TRUE(Boxes().empty());
}

using CarryOver = ListTest;

TEST_F(CarryOver, ExitRewritesOrRemovesDefaultCsv)
{
    core.settings.m_bDefaultSave = 1;
    const std::string path = CarryOverPath(core);
    EXPECT_EQ(path, dir / "default.csv");

    AddRow({ kDone, "a", "", "", "http://h/a" });
    EXPECT_EQ(PrepareExit(core), 1);
    EXPECT_EQ(ReadFileBytes(path), kDone + ",a,,,http://h/a\r\n");

    core.list.DeleteAllItems();
    EXPECT_EQ(PrepareExit(core), 1);
    EXPECT_FALSE(PathExists(path));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CarryOver, LongListAsksFromTwoThousandAndOneRows)
{
    const std::string path = CarryOverPath(core);
    for (int i = 0; i < kCarryOverQuietRows; ++i)
        AddRow({ "", "", "", "", "u" });
    SaveCarryOverList(core);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(PathExists(path));

    AddRow({ "", "", "", "", "u" });
    ui.QueueAnswer(MbAnswer::No);
    SaveCarryOverList(core);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { Box(res::kCaptionQuestion, res::kMsgCarryOverLong) }));
    EXPECT_FALSE(PathExists(path));
}

TEST_F(CarryOver, OfferUsesTheShortQuestionUpToFiveHundredThousandBytes)
{
    core.settings.m_bDefaultSave = 1;
    const std::string path = CarryOverPath(core);
    RestoreCarryOverList(core);
    EXPECT_TRUE(Boxes().empty()); // no file, no question

    const std::string line = "a,b,c,d,e\r\n";
    std::string text(static_cast<size_t>(kCarryOverQuietBytes), 'x');
    text.replace(0, line.size(), line);
    WriteFileBytes(path, text);
    ui.QueueAnswer(MbAnswer::Yes);
    RestoreCarryOverList(core);
    EXPECT_EQ(RowAt(0), (Row { "a", "b", "c", "d", "e" }));
    EXPECT_EQ(core.list.GetItemCount(), 2);
    EXPECT_EQ(core.m_bListModified, 0);
    EXPECT_TRUE(PathExists(path));

    WriteFileBytes(path, text + "x");
    RestoreCarryOverList(core); // answered No
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> { Box(res::kCaptionQuestion, res::kMsgCarryOverOffer),
            Box(res::kCaptionQuestion, res::kMsgCarryOverOfferLong) }));
    EXPECT_EQ(core.list.GetItemCount(), 2);

    core.settings.m_bDefaultSave = 0;
    RestoreCarryOverList(core);
    EXPECT_EQ(Boxes().size(), 2u);
}

} // namespace
} // namespace zorone::test
