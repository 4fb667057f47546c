// Where a URL's file is written: whatever the URL, the place must stay
// inside the download folder, or a page could make Zorone overwrite any
// file the user can write.
#include "tests/fuzz/fuzz_core.h"
#include "web/local_path.h"

#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zorone;
    static const std::string folder = "/srv/zorone/download/";
    const std::string path = CSiteUtil::LocalPathOf(folder, fuzz::AsText(data, size));
    fuzz::Require(path.rfind(folder, 0) == 0);
    const std::string normal = std::filesystem::path(path).lexically_normal().string();
    fuzz::Require(normal.rfind(folder, 0) == 0);
    return 0;
}
