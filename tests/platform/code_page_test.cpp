#include "platform/code_page.h"
#include "res/texts.h"

#include <gtest/gtest.h>

namespace zorone {
namespace {

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int c : b)
        s.push_back(static_cast<char>(c));
    return s;
}

TEST(CodePage, MarksHaveTheirCp932Bytes)
{
    EXPECT_EQ(res::kMarkWaiting, Bytes({0x81, 0x7C}));
    EXPECT_EQ(res::kMarkActive, Bytes({0x81, 0x9E}));
    EXPECT_EQ(res::kMarkDone, Bytes({0x81, 0x9B}));
    EXPECT_EQ(res::kMarkZero, Bytes({0x81, 0x5A}));
    EXPECT_EQ(res::kMarkTriangle, Bytes({0x81, 0xA2}));
    EXPECT_EQ(res::kMarkCross, Bytes({0x81, 0x7E}));
    EXPECT_EQ(res::kFullColon, Bytes({0x81, 0x46}));
}

TEST(CodePage, TextsKeepHalfWidthKatakanaAndEscapes)
{
    // "ｶ" is a single byte in CP932; "\r\n" stays two control bytes.
    const std::string& msg = res::kMsgOleFailed;
    EXPECT_NE(msg.find(Bytes({0xD7, 0xB2, 0xCC, 0xDE, 0xD7, 0xD8})), std::string::npos); // ﾗｲﾌﾞﾗﾘ
    EXPECT_NE(res::kMsgFirstRun.find("\r\n"), std::string::npos);
}

TEST(CodePage, ConvertsBothWaysLosslessly)
{
    const std::string utf8 = "ホームページ ゾロネ!! ｶﾝﾏ ① ～ＯＫ";
    const std::string cp932 = platform::Utf8ToCp932(utf8);
    EXPECT_NE(cp932, utf8);
    EXPECT_EQ(platform::Cp932ToUtf8(cp932), utf8);
    EXPECT_EQ(platform::Cp932ToUtf8(res::kMarkDone), "○");
}

TEST(CodePage, InvalidBytesPassThroughUnchanged)
{
    // 0x80 and 0xFD..0xFF are not CP932; a lone lead byte at the end neither.
    const std::string raw = Bytes({'a', 0x80, 'b', 0xFF, 0x82, 0xA0, 0x83});
    const std::string utf8 = platform::Cp932ToUtf8(raw);
    EXPECT_EQ(utf8.front(), 'a');
    EXPECT_NE(utf8.find(Bytes({0x80})), std::string::npos);
    EXPECT_NE(utf8.find(Bytes({0xFF})), std::string::npos);
    EXPECT_NE(utf8.find("あ"), std::string::npos);
    EXPECT_EQ(static_cast<unsigned char>(utf8.back()), 0x83);
}

TEST(CodePage, FsPathTurnsBackslashesIntoSlashesButNotTrailBytes)
{
    EXPECT_EQ(platform::ToFsPath("C:\\dl\\host\\a.htm"), "C:/dl/host/a.htm");
    // "ソ" is 83 5C: its trail byte is not a separator.
    const std::string so = Bytes({0x83, 0x5C});
    EXPECT_EQ(platform::ToFsPath("/dl/" + so + "\\x"), "/dl/ソ/x");
}

} // namespace
} // namespace zorone
