#include "platform/request_options.h"

#include "platform/code_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorone::platform {
namespace {

// RFC 9110 tchar.
bool IsTokenByte(unsigned char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    return std::strchr("!#$%&'*+-.^_`|~", c) != nullptr && c != '\0';
}

bool HasControlByte(std::string_view text, bool tabAllowed)
{
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && !(tabAllowed && c == '\t')) || c == 0x7f)
            return true;
    }
    return false;
}

} // namespace

std::string CheckHeaderLine(std::string_view line)
{
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return "a header must look like 'Name: value'";
    for (size_t i = 0; i < colon; ++i)
        if (!IsTokenByte(static_cast<unsigned char>(line[i])))
            return "the header name '" + std::string(line.substr(0, colon)) +
                   "' may hold only letters, digits and !#$%&'*+-.^_`|~";
    if (HasControlByte(line.substr(colon + 1), true))
        return "the value of header '" + std::string(line.substr(0, colon)) +
               "' holds a line break or another control character";
    return {};
}

std::string CheckUserAgent(std::string_view text)
{
    if (HasControlByte(text, true))
        return "the User-Agent holds a line break or another control character";
    return {};
}

std::string CheckCookieFile(const std::string& path)
{
    const std::string fsPath = ToFsPath(path);
    const int fd = ::open(fsPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "cannot read the cookies file '" + path + "': " + std::strerror(errno);
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular)
        return "the cookies file '" + path + "' is not a regular file";
    return {};
}

std::string CheckRequestOptions(const RequestOptions& options)
{
    std::string problems;
    const auto add = [&problems](const std::string& why) {
        if (why.empty())
            return;
        if (!problems.empty())
            problems += '\n';
        problems += why;
    };
    add(CheckUserAgent(options.userAgent));
    for (const std::string& line : options.headers)
        add(CheckHeaderLine(line));
    if (!options.cookieFile.empty())
        add(CheckCookieFile(options.cookieFile));
    return problems;
}

std::vector<std::string> SplitHeaderLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

} // namespace zorone::platform
