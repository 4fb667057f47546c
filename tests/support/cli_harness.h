#pragma once
// zorone-cli run as a black box against loopback servers, and what a run
// leaves behind: the saved list's marks, the files of the download folder.
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zorone::test {

inline std::string CliPath()
{
    return std::string(ZORONE_TEST_BINARY_DIR) + "/cli/zorone-cli";
}

// "○", "×" and "－" in CP932, as list files hold them.
inline const std::string kDoneMark = "\x81\x9b";
inline const std::string kFailedMark = "\x81\x7e";
inline const std::string kWaitingMark = "\x81\x7c";

inline std::string ReportLine(int files)
{
    return "報告: " + std::to_string(files) + "個のファイルをゾロネしました。\n";
}

// Relative paths of the regular files under root.
inline std::set<std::string> FilesUnder(const std::string& root)
{
    std::set<std::string> files;
    if (!std::filesystem::exists(root))
        return files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files.insert(std::filesystem::relative(e.path(), root).string());
    return files;
}

// Spool files ("*.part") a transfer left behind.
inline std::vector<std::string> Leftovers(const std::string& root)
{
    std::vector<std::string> out;
    for (const std::string& f : FilesUnder(root))
        if (f.size() > 5 && f.compare(f.size() - 5, 5, ".part") == 0)
            out.push_back(f);
    return out;
}

// Mark and URL of each row of a saved CSV list.
inline std::map<std::string, std::string> MarksByUrl(const std::string& csv)
{
    std::map<std::string, std::string> marks;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find("\r\n", start);
        if (end == std::string::npos)
            end = csv.size();
        const std::string line = csv.substr(start, end - start);
        const size_t firstComma = line.find(',');
        const size_t lastComma = line.rfind(',');
        if (firstComma != std::string::npos)
            marks[line.substr(lastComma + 1)] = line.substr(0, firstComma);
        start = end + 2;
    }
    return marks;
}

class CliRun : public ::testing::Test {
protected:
    // Crawls the URLs with a short timeout, then saves the list to list.csv.
    ProcessResult Crawl(std::vector<std::string> args, std::map<std::string, std::string> env = {})
    {
        env.emplace("ZORONE_TIMEOUT", "2");
        env.emplace("HOME", dir.Path());
        env.emplace("no_proxy", "*");
        std::vector<std::string> all = { "--home", home, "--path", dl, "--save", csv, "--quiet" };
        all.insert(all.end(), args.begin(), args.end());
        return RunProcess(CliPath(), all, env);
    }

    std::map<std::string, std::string> Marks() const { return MarksByUrl(ReadFileBytes(csv)); }

    TempDir dir;
    std::string home = dir / "home";
    std::string dl = dir / "dl";
    std::string csv = dir / "list.csv";
};

} // namespace zorone::test
