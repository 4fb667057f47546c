#include "settings/profile_ini.h"
#include "settings/request_profile.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace zorone::test {
namespace {

TEST(RequestProfile, ValuesSurviveTheProfileBesideTheCounter)
{
    TempDir dir;
    const std::string ini = dir / "zorone.ini";
    WriteFileBytes(ini, "[Zorone]\r\nm_nTotalDownloadCount=7\r\n");
    Settings s;
    s.m_sCookieFile = "/home/u/cookies \x83\x5c.txt";
    s.m_sUserAgent = "Agent/1 (x; y)";
    s.m_sHeaders = "X-A: 1\r\nX-B: back\\slash\\n\r\n";
    s.m_nRobots = 2;
    ASSERT_EQ(SaveRequestProfile(s, ini), 1);
    EXPECT_EQ(ReadProfileInt(ini, "Zorone", "m_nTotalDownloadCount", 0), 7);

    Settings back;
    LoadRequestProfile(back, ini);
    EXPECT_EQ(back.m_sCookieFile, s.m_sCookieFile);
    EXPECT_EQ(back.m_sUserAgent, s.m_sUserAgent);
    EXPECT_EQ(back.m_sHeaders, s.m_sHeaders);
    EXPECT_EQ(back.m_nRobots, 2);

    // Each header stays on its own line and nothing else breaks a line.
    EXPECT_EQ(EscapeProfileLines("A: 1\nB: 2\rC: \\n"), "A: 1\\nB: 2\\nC: \\\\n");
    EXPECT_EQ(UnescapeProfileLines("A: 1\\nB\\\\n\\x"), "A: 1\r\nB\\n\\x");

    Settings fresh;
    LoadRequestProfile(fresh, dir / "missing.ini");
    EXPECT_EQ(fresh.m_sHeaders, "");
    EXPECT_EQ(fresh.m_nRobots, 0);
}

} // namespace
} // namespace zorone::test
