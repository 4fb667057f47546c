#include "platform/folder_beneath.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace zorone::platform::files {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFileBytes;

// A download folder holding links that stay inside and links that lead out.
class Beneath : public ::testing::Test {
protected:
    Beneath()
    {
        fs::create_directories(root + "/inside");
        fs::create_directories(outside);
        WriteFileBytes(root + "/inside/a.txt", "in");
        fs::create_directory_symlink("inside", root + "/link_in");
        fs::create_directory_symlink(outside, root + "/link_out");
        fs::create_directory_symlink("../outside", root + "/link_up");
    }

    TempDir dir;
    const std::string root = dir / "dl";
    const std::string outside = dir / "outside";
};

TEST_F(Beneath, LinksLeadingOutAreRefusedWhicheverWayTheFolderIsWalked)
{
    struct Case {
        const char* path;
        bool kernelOpens; // with openat2: links are fine while they stay inside
        bool walkOpens;   // without: every link is refused
    };
    const Case cases[] = {
        { "new/sub/x.htm", true, true },
        { "inside/x.htm", true, true },
        { "link_in/x.htm", true, false },
        { "link_out/x.htm", false, false },
        { "link_up/x.htm", false, false },
        { "link_out/new/x.htm", false, false },
        { "../outside/x.htm", false, false },
    };
    for (const Confinement confinement : { Confinement::Kernel, Confinement::Walk }) {
        if (confinement == Confinement::Kernel && BestConfinement() != Confinement::Kernel)
            continue; // this kernel has no openat2
        const bool kernel = confinement == Confinement::Kernel;
        for (const Case& c : cases) {
            FolderBeneath folder;
            const bool opened = folder.Open(root, c.path, true, confinement);
            EXPECT_EQ(opened, kernel ? c.kernelOpens : c.walkOpens) << c.path << " kernel=" << kernel;
            if (!opened) {
                EXPECT_EQ(errno, EXDEV) << c.path << " kernel=" << kernel;
            }
        }
        EXPECT_TRUE(fs::is_directory(root + "/new/sub"));
        EXPECT_FALSE(fs::exists(outside + "/new")) << "kernel=" << kernel;
    }
}

} // namespace
} // namespace zorone::platform::files
