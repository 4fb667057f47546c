#include "settings/settings_file.h"

#include "platform/code_page.h"
#include "settings/sav_profile.h"
#include "settings/setting_fields.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>

namespace zorone {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

// A record in which every value differs from its default.
Settings SampleSettings()
{
    Settings s;
    s.m_sPath = platform::Utf8ToCp932("/home/利用者/ダウンロード/");
    s.m_sTopURL = "http://host/cgi?a=1&b=2";
    s.m_nPriorityEx = 2;
    s.m_sPriorityEx_Other = "png, zip";
    s.m_nBytes = -5;
    s.m_bSaveExit = 0;
    s.m_nKaisouKind = 1;
    s.m_nKaisou = 3;
    s.m_bDoubleDownloadItem = 0;
    s.m_nOtherSite = 2;
    s.m_sOtherSiteEx = "mp3";
    s.m_bDownloadedDelete = 1;
    s.m_sAnalsysFileEx = "htm";
    s.m_sAnalsysTag = "href";
    s.m_bDefaultSave = 0;
    s.m_bDownloadFileExist = 1;
    s.m_nMultiDownloadMax = 4;
    s.m_nDisplayDownloadFileExList = 0;
    s.m_sShortCutPath = "";
    s.m_nShortCutKind = 1;
    s.m_bShortCut = 1;
    s.m_nTotalDownloadCount = 12345;
    s.m_nWebRules = 1;
    s.m_bUpdateExisting = 1;
    s.m_nPerHostMax = 2;
    s.m_nHostWaitMs = 250;
    return s;
}

std::string FormatSav(const Settings& s)
{
    char buf[4096];
    std::snprintf(buf, sizeof buf,
        "m_sPath=%s\r\nm_sTopURL=%s\r\nm_nPriorityEx=%d\r\nm_sPriorityEx_Other=%s\r\nm_nBytes=%d\r\n"
        "m_bSaveExit=%d\r\nm_nKaisouKind=%d\r\nm_nKaisou=%d\r\nm_bDoubleDownloadItem=%d\r\n"
        "m_nOtherSite=%d\r\nm_sOtherSiteEx=%s\r\nm_bDownloadedDelete=%d\r\nm_sAnalsysFileEx=%s\r\n"
        "m_sAnalsysTag=%s\r\nm_bDefaultSave=%d\r\nm_bDownloadFileExist=%d\r\nm_nMultiDownloadMax=%d\r\n"
        "m_nDisplayDownloadFileExList=%d\r\nm_sShortCutPath=%s\r\nm_nShortCutKind=%d\r\nm_bShortCut=%d\r\n",
        s.m_sPath.c_str(), s.m_sTopURL.c_str(), s.m_nPriorityEx, s.m_sPriorityEx_Other.c_str(), s.m_nBytes,
        s.m_bSaveExit, s.m_nKaisouKind, s.m_nKaisou, s.m_bDoubleDownloadItem, s.m_nOtherSite, s.m_sOtherSiteEx.c_str(),
        s.m_bDownloadedDelete, s.m_sAnalsysFileEx.c_str(), s.m_sAnalsysTag.c_str(), s.m_bDefaultSave,
        s.m_bDownloadFileExist, s.m_nMultiDownloadMax, s.m_nDisplayDownloadFileExList, s.m_sShortCutPath.c_str(),
        s.m_nShortCutKind, s.m_bShortCut);
    return buf;
}

class SettingsFile : public ::testing::Test {
protected:
    std::string Prefix() const { return dir.Path() + "/"; }
    std::string Profile() const { return dir / "cfg/zorone.ini"; }
    std::string SavPath() const { return dir / "Zorone.sav"; }
    Settings Load()
    {
        Settings s;
        LoadSettings(s, Prefix(), Profile());
        return s;
    }
    test::TempDir dir;
};

TEST_F(SettingsFile, SavedFileIsTheFixedFormatAndReadsBackTheSame)
{
    const Settings s = SampleSettings();
    EXPECT_EQ(SaveSettings(s, Prefix(), Profile()), 1);
    EXPECT_EQ(ReadFileBytes(SavPath()), FormatSav(s));
    const Settings back = Load();
    EXPECT_EQ(BuildSavText(back), BuildSavText(s));
    EXPECT_EQ(back.m_nTotalDownloadCount, 12345);
    // Profile settings live beside the counter; Zorone.sav keeps its 21.
    EXPECT_EQ(back.m_nWebRules, 1);
    EXPECT_NE(ReadFileBytes(Profile()).find("m_nWebRules=1\n"), std::string::npos);
    // The transfer settings live in the profile; Zorone.sav keeps its 21.
    EXPECT_EQ(back.m_bUpdateExisting, 1);
    EXPECT_EQ(back.m_nPerHostMax, 2);
    EXPECT_EQ(back.m_nHostWaitMs, 250);
    EXPECT_NE(ReadFileBytes(Profile()).find("m_nHostWaitMs=250"), std::string::npos);
}

TEST_F(SettingsFile, MissingFilesGiveTheDefaults)
{
    const Settings s = Load();
    EXPECT_EQ(BuildSavText(s), BuildSavText(DefaultSettings(Prefix())));
    EXPECT_EQ(s.m_sPath, Prefix() + "download/");
    EXPECT_EQ(s.m_nTotalDownloadCount, 0);
    EXPECT_EQ(s.m_nWebRules, 0);
    EXPECT_EQ(s.m_bUpdateExisting + s.m_nPerHostMax + s.m_nHostWaitMs, 0);
}

TEST_F(SettingsFile, ShiftJisFileWithCrLfLinesLoadsByteForByte)
{
    // Shift_JIS folder, CR LF lines, keys in another order, an unknown key.
    const std::string path = "C:\\\x83\x5f\x83\x45\x83\x93\x83\x8d\x81\x5b\x83\x68\\";
    WriteFileBytes(SavPath(),
        "m_nMultiDownloadMax=3\r\nm_sPath=" + path
            + "\r\nm_sVersion=3.21\r\nm_sAnalsysTag=href,src\r\nm_bShortCut=1\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.m_sPath, path);
    EXPECT_EQ(s.m_nMultiDownloadMax, 3);
    EXPECT_EQ(s.m_sAnalsysTag, "href,src");
    EXPECT_EQ(s.m_bShortCut, 1);
    EXPECT_EQ(s.m_sTopURL, kDefaultTopUrl);
}

TEST_F(SettingsFile, LineRules)
{
    const struct {
        const char* name;
        std::string file;
        std::string Settings::*text;
        int Settings::*number;
        std::string expectedText;
        int expectedNumber;
    } cases[] = {
        { "flag 1", "m_bShortCut=1\r\n", nullptr, &Settings::m_bShortCut, "", 1 },
        { "flag blank before", "m_bShortCut= 1\r\n", nullptr, &Settings::m_bShortCut, "", 0 },
        { "flag word", "m_bShortCut=yes\r\n", nullptr, &Settings::m_bShortCut, "", 0 },
        { "flag 2", "m_bShortCut=2\r\n", nullptr, &Settings::m_bShortCut, "", 0 },
        { "value keeps its =", "m_sTopURL=http://h/a.cgi?x=1&y==2 \r\n", &Settings::m_sTopURL, nullptr,
            "http://h/a.cgi?x=1&y==2 ", 0 },
        { "empty text is not the default", "m_sPath=\r\n", &Settings::m_sPath, nullptr, "", 0 },
        { "first of two wins", "m_nKaisou=4\r\nm_nKaisou=9\r\n", nullptr, &Settings::m_nKaisou, "", 4 },
        { "last line without end unread", "m_nKaisou=4\r\nm_nBytes=5", nullptr, &Settings::m_nBytes, "", 307200 },
        { "LF and CR end lines too", "m_nKaisou=4\nm_nBytes=5\r", nullptr, &Settings::m_nBytes, "", 5 },
        { "key case matters", "M_NBYTES=5\r\nm_nbytes=6\r\n", nullptr, &Settings::m_nBytes, "", 307200 },
        { "blank before = is part of the key", "m_nBytes =5\r\n", nullptr, &Settings::m_nBytes, "", 307200 },
        { "leading digits", "m_nBytes=12kb\r\n", nullptr, &Settings::m_nBytes, "", 12 },
        { "letters give 0", "m_nBytes=kb\r\n", nullptr, &Settings::m_nBytes, "", 0 },
    };
    for (const auto& c : cases) {
        WriteFileBytes(SavPath(), c.file);
        const Settings s = Load();
        if (c.text)
            EXPECT_EQ(s.*c.text, c.expectedText) << c.name;
        else
            EXPECT_EQ(s.*c.number, c.expectedNumber) << c.name;
    }
}

TEST(SavValue, IntegersReadLikeAtoiWithoutUndefinedOverflow)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        { "", 0 },
        { "  \t-12abc", -12 },
        { "- 7", 0 },
        { "\n5", 0 },
        { "-2147483648", INT_MIN },
        { "2147483648", INT_MIN },
        { "4294967297", 1 },
        { "99999999999999999999", 1661992959 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SavIntValue(c.text), c.expected) << c.text;
}

TEST(SavValue, ApplySettingValueReadsAsAFileLineWould)
{
    Settings s = DefaultSettings("/p/");
    EXPECT_TRUE(ApplySettingValue(s, "m_nBytes", " 1024x"));
    EXPECT_EQ(s.m_nBytes, 1024);
    EXPECT_TRUE(ApplySettingValue(s, "m_bSaveExit", "true"));
    EXPECT_EQ(s.m_bSaveExit, 0);
    EXPECT_TRUE(ApplySettingValue(s, "m_sAnalsysTag", ""));
    EXPECT_EQ(s.m_sAnalsysTag, "");
    EXPECT_FALSE(ApplySettingValue(s, "m_nbytes", "1"));
    EXPECT_FALSE(ApplySettingValue(s, "m_nTotalDownloadCount", "1"));
}

TEST_F(SettingsFile, FailedSaveKeepsTheOldFiles)
{
    WriteFileBytes(SavPath(), "m_nKaisou=4\r\n");
    WriteFileBytes(Profile(), "[Zorone]\nm_nTotalDownloadCount=7\n");
    {
        test::FileSizeLimit limit(8);
        EXPECT_EQ(SaveSettings(SampleSettings(), Prefix(), Profile()), 0);
    }
    EXPECT_EQ(ReadFileBytes(SavPath()), "m_nKaisou=4\r\n");
    EXPECT_EQ(ReadFileBytes(Profile()), "[Zorone]\nm_nTotalDownloadCount=7\n");

    std::filesystem::remove(SavPath());
    std::filesystem::create_directory(SavPath());
    EXPECT_EQ(SaveSettings(SampleSettings(), Prefix(), Profile()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(SavPath()));
}

} // namespace
} // namespace zorone
