#include "platform/spool_placement.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace zorone::platform {
namespace {

namespace fs = std::filesystem;
using test::PathExists;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

std::string SpoolName(pid_t pid, int n)
{
    return std::string(".zorone-").append(std::to_string(pid)).append("-").append(std::to_string(n)).append(".part");
}

// A process id that surely belongs to no running process any more.
pid_t DeadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Writes body through a placement the way a transfer does; the reason of a
// failure, or "".
std::string Place(const std::string& folder, const std::string& target, bool unnamed, const std::string& body)
{
    const std::string spool = fs::path(target).parent_path().string() + "/" + SpoolName(::getpid(), 1);
    SpoolPlacement placement(spool, target, folder, unnamed);
    files::File file;
    std::string error;
    if (!placement.Open(file, error))
        return error;
    EXPECT_TRUE(file.Write(body.data(), static_cast<std::int64_t>(body.size())));
    if (file.IsUnnamed()) {
        placement.CommitUnnamed(file, error);
        file.Close();
        return error;
    }
    file.Close();
    placement.CommitNamed(error);
    return error;
}

TEST(SpoolPlacement, BodiesNeverGoThroughLinksThatLeadOutOfTheDownloadFolder)
{
    TempDir dir;
    const std::string dl = dir / "dl/";
    const std::string outside = dir / "outside";
    fs::create_directories(dl + "host");
    fs::create_directories(outside);
    WriteFileBytes(outside + "/secret.txt", "secret");
    fs::create_directory_symlink(outside, dl + "link_out");
    fs::create_symlink(outside + "/secret.txt", dl + "host/file_out.htm");
    for (const bool unnamed : { true, false }) {
        SCOPED_TRACE(unnamed ? "unnamed spool" : "named spool");
        EXPECT_EQ(Place(dl, dl + "host/a.htm", unnamed, "first"), "");
        EXPECT_EQ(Place(dl, dl + "host/a.htm", unnamed, "second"), "");
        EXPECT_EQ(ReadFileBytes(dl + "host/a.htm"), "second");
        const std::string throughFolder = Place(dl, dl + "link_out/x/c.htm", unnamed, "no");
        EXPECT_NE(throughFolder.find("leads out of the download folder"), std::string::npos) << throughFolder;
        const std::string atName = Place(dl, dl + "host/file_out.htm", unnamed, "no");
        EXPECT_NE(atName.find("leads out of the download folder"), std::string::npos) << atName;
        EXPECT_TRUE(fs::is_symlink(dl + "host/file_out.htm"));
    }
    EXPECT_EQ(ReadFileBytes(outside + "/secret.txt"), "secret");
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dl + "host"), {}), 2); // no spool left behind
}

TEST(SpoolPlacement, NamedSpoolsOfProcessesThatDiedGoAtTheNextWriteIntoTheirFolder)
{
    TempDir dir;
    const std::string dl = dir / "dl/";
    fs::create_directories(dl + "host");
    const pid_t dead = DeadPid();
    const std::string stale[] = { SpoolName(dead, 1), SpoolName(dead, 22) };
    const std::string kept[] = { SpoolName(::getpid(), 9), SpoolName(1, 3), ".zorone-x-1.part", "page.html",
        ".zorone-7.part" };
    for (const std::string& name : stale)
        WriteFileBytes(dl + "host/" + name, "stale");
    for (const std::string& name : kept)
        WriteFileBytes(dl + "host/" + name, "kept");

    EXPECT_EQ(Place(dl, dl + "host/a.htm", false, "body"), "");
    for (const std::string& name : stale)
        EXPECT_FALSE(PathExists(dl + "host/" + name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(PathExists(dl + "host/" + name)) << name;
    EXPECT_EQ(ReadFileBytes(dl + "host/a.htm"), "body");
}

} // namespace
} // namespace zorone::platform
