#include "platform/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace zorone::platform {
namespace {

// iconv descriptors are not thread-safe, and opening one costs more than most
// conversions, so each thread keeps its own pair.
class Converter {
public:
    Converter(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (Valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts in, copying every byte iconv refuses unchanged. Without a
    // converter (CodePageProblem reports that at start) the bytes pass
    // unchanged rather than reaching iconv with an invalid descriptor.
    std::string Convert(std::string_view in) const
    {
        if (!Valid())
            return std::string(in);
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            const size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, sizeof buf - dstLeft);
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: pass the offending byte through and resume.
            out.push_back(*src);
            ++src;
            --srcLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

bool IsAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string Cp932ToUtf8(std::string_view cp932)
{
    if (IsAscii(cp932))
        return std::string(cp932);
    thread_local const Converter conv("UTF-8", "CP932");
    return conv.Convert(cp932);
}

std::string Utf8ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8))
        return std::string(utf8);
    thread_local const Converter conv("CP932", "UTF-8");
    return conv.Convert(utf8);
}

std::string CodePageProblem()
{
    const Converter toUtf8("UTF-8", "CP932");
    const Converter fromUtf8("CP932", "UTF-8");
    if (toUtf8.Valid() && fromUtf8.Valid())
        return {};
    return "this system's iconv cannot convert between CP932 and UTF-8 (the glibc gconv modules are missing); "
           "Zorone keeps all its texts in CP932 and cannot run without it";
}

std::string ToFsPath(std::string_view cp932Path)
{
    // "\" (0x5C) can be the trail byte of a double-byte character, so it is
    // only a separator where it stands alone.
    std::string path;
    path.reserve(cp932Path.size());
    for (size_t i = 0; i < cp932Path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(cp932Path[i]);
        if (IsLeadByte(c) && i + 1 < cp932Path.size()) {
            path.push_back(cp932Path[i]);
            path.push_back(cp932Path[++i]);
        } else {
            path.push_back(c == '\\' ? '/' : cp932Path[i]);
        }
    }
    return Cp932ToUtf8(path);
}

} // namespace zorone::platform
