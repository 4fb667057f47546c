// Zorone.sav as the user (or a crash) may have left it: loading must not
// crash, and whatever it loaded must survive being saved and loaded again.
#include "settings/sav_profile.h"
#include "settings/settings_file.h"
#include "tests/fuzz/fuzz_core.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct Folder {
    Folder()
    {
        char pattern[] = "/tmp/zorone-fuzz-sav-XXXXXX";
        path = ::mkdtemp(pattern) ? std::string(pattern) + "/" : std::string();
    }
    ~Folder()
    {
        std::remove((path + "Zorone.sav").c_str());
        std::remove((path + "zorone.ini").c_str());
        ::rmdir(path.c_str());
    }
    std::string path;
};

void Write(const std::string& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zorone;
    static Folder folder;
    const std::string_view text = fuzz::AsText(data, size);
    for (const auto& [key, value] : ParseSavText(text)) {
        // Only lines a CR or LF ended count, so no key or value holds one.
        fuzz::Require(key.find_first_of("\r\n=") == std::string::npos);
        fuzz::Require(value.find_first_of("\r\n") == std::string::npos);
        SavIntValue(value);
    }
    const std::string sav = folder.path + "Zorone.sav";
    const std::string profile = folder.path + "zorone.ini";
    Write(sav, text);
    Write(profile, text);
    Settings first;
    LoadSettings(first, folder.path, profile);
    const std::string saved = BuildSavText(first);
    Write(sav, saved);
    Settings second;
    LoadSettings(second, folder.path, profile);
    fuzz::Require(BuildSavText(second) == saved);
    return 0;
}
