// Build-time tool: turns res/texts.def (UTF-8) into a C++ source that defines
// every text as its exact CP932 bytes, so no conversion runs at start-up and
// a text that cannot be expressed in CP932 fails the build instead of a run.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

struct Entry {
    const char* name;
    const char* utf8;
};

#define ZT(name, text) {#name, text},
const Entry kEntries[] = {
#include "texts.def"
};
#undef ZT

bool ToCp932(const std::string& in, std::string& out)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string buf(in.size() * 2 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        return false;
    out.assign(buf.data(), buf.size() - dstLeft);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    std::string text = "// Generated from res/texts.def; do not edit.\n#include \"res/texts.h\"\n\nnamespace zorone::res {\n";
    for (const Entry& e : kEntries) {
        std::string bytes;
        if (!ToCp932(e.utf8, bytes)) {
            std::fprintf(stderr, "gen_texts: %s has no CP932 form\n", e.name);
            return 1;
        }
        text += "const std::string ";
        text += e.name;
        text += "(\"";
        for (unsigned char c : bytes) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            text += hex;
        }
        text += "\", " + std::to_string(bytes.size()) + ");\n";
    }
    text += "} // namespace zorone::res\n";
    FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "gen_texts: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
