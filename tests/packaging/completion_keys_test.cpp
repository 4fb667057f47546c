// The bash completion offers a fixed list of setting keys when no zorone-cli
// can list them; a key added to or renamed in the settings table must not
// leave that list behind.
#include "settings/setting_fields.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zorone::test {
namespace {

std::vector<std::string> FallbackKeysOfCompletion()
{
    std::ifstream in(ZORONE_TEST_SOURCE_DIR "/packaging/zorone-cli.bash");
    const std::string prefix = "_zorone_cli_fallback_keys=\"";
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::istringstream words(line.substr(prefix.size(), line.rfind('"') - prefix.size()));
        std::vector<std::string> keys;
        for (std::string key; words >> key;)
            keys.push_back(key);
        return keys;
    }
    return {};
}

TEST(BashCompletion, FallbackKeysAreTheSettingsTable)
{
    std::vector<std::string> table;
    for (const SettingField& f : SettingFields())
        table.emplace_back(f.key);
    for (const SettingField& f : ProfileSettingFields())
        table.emplace_back(f.key);
    EXPECT_EQ(FallbackKeysOfCompletion(), table);
}

} // namespace
} // namespace zorone::test
