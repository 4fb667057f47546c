#include "platform/files.h"

#include "platform/code_page.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

namespace zorone::platform::files {
namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

} // namespace

Status GetStatus(std::string_view path)
{
    Status st;
    if (path.empty())
        return st;
    struct stat sb {};
    if (::stat(ToFsPath(path).c_str(), &sb) != 0)
        return st;
    st.exists = true;
    st.isDirectory = S_ISDIR(sb.st_mode);
    st.size = static_cast<std::int64_t>(sb.st_size);
    return st;
}

bool FindFirst(std::string_view pathOrPattern)
{
    if (pathOrPattern.empty())
        return false;
    const std::string fs = ToFsPath(pathOrPattern);
    if (fs.find_first_of("*?") == std::string::npos) {
        struct stat sb {};
        return ::stat(fs.c_str(), &sb) == 0;
    }
    glob_t g {};
    const int rc = ::glob(fs.c_str(), GLOB_NOSORT | GLOB_NOESCAPE, nullptr, &g);
    const bool found = rc == 0 && g.gl_pathc > 0;
    ::globfree(&g);
    return found;
}

bool CreateDirectory(std::string_view path)
{
    if (path.empty())
        return false;
    return ::mkdir(ToFsPath(path).c_str(), 0777) == 0;
}

void CreateFolders(std::string_view path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsSeparator(path[i]) && i > 0)
            CreateDirectory(path.substr(0, i));
    }
}

bool RemoveFile(std::string_view path)
{
    return !path.empty() && ::unlink(ToFsPath(path).c_str()) == 0;
}

bool MakeWritable(std::string_view path)
{
    const std::string fs = ToFsPath(path);
    struct stat sb {};
    if (::stat(fs.c_str(), &sb) != 0)
        return false;
    return ::chmod(fs.c_str(), sb.st_mode | S_IWUSR) == 0;
}

bool Rename(std::string_view from, std::string_view to)
{
    return ::rename(ToFsPath(from).c_str(), ToFsPath(to).c_str()) == 0;
}

bool WriteFileAtomically(std::string_view path, std::string_view bytes)
{
    if (path.empty())
        return false;
    const std::string target = ToFsPath(path);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string temp = folder + ".zorone-save-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    // mkstemp creates the file 0600; a saved user file should look like any
    // other file the user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ok && ::fchmod(fd, 0666 & ~mask) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

std::string ExecutablePath()
{
    char buf[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0)
        return {};
    return Utf8ToCp932(std::string_view(buf, static_cast<size_t>(n)));
}

File::~File()
{
    Close();
}

File::File(File&& other) noexcept
    : m_fd(other.m_fd)
    , m_unnamed(other.m_unnamed)
{
    other.m_fd = -1;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_unnamed = other.m_unnamed;
        other.m_fd = -1;
    }
    return *this;
}

bool File::Open(std::string_view path, Mode mode)
{
    Close();
    if (path.empty())
        return false;
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read:
        flags |= O_RDONLY;
        break;
    case Mode::WriteExisting:
        flags |= O_WRONLY;
        break;
    case Mode::CreateTruncate:
        flags |= O_WRONLY | O_CREAT | O_TRUNC;
        break;
    }
    const std::string fs = ToFsPath(path);
    m_fd = ::open(fs.c_str(), flags, 0666);
    if (m_fd < 0)
        return false;
    struct stat sb {};
    if (::fstat(m_fd, &sb) != 0 || S_ISDIR(sb.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    return true;
}

bool File::OpenUnnamed(std::string_view folder)
{
    Close();
    if (folder.empty())
        return false;
    m_fd = ::open(ToFsPath(folder).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    m_unnamed = m_fd >= 0;
    return m_unnamed;
}

bool File::LinkAs(std::string_view path)
{
    if (!IsUnnamed())
        return false;
    // linkat(AT_EMPTY_PATH) needs a privilege; the /proc link does not.
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, ToFsPath(path).c_str(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    m_unnamed = false;
    return true;
}

std::int64_t File::Read(char* buffer, std::int64_t n)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, static_cast<size_t>(n));
        if (got < 0 && errno == EINTR)
            continue;
        return got;
    }
}

bool File::Write(const char* data, std::int64_t n)
{
    if (m_fd < 0)
        return false;
    while (n > 0) {
        const ssize_t put = ::write(m_fd, data, static_cast<size_t>(n));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        n -= put;
    }
    return true;
}

bool File::SeekToEnd()
{
    return m_fd >= 0 && ::lseek(m_fd, 0, SEEK_END) >= 0;
}

bool File::Truncate(std::int64_t length)
{
    return m_fd >= 0 && ::ftruncate(m_fd, length) == 0 && ::lseek(m_fd, length, SEEK_SET) >= 0;
}

std::int64_t File::Size() const
{
    struct stat sb {};
    if (m_fd < 0 || ::fstat(m_fd, &sb) != 0)
        return 0;
    return sb.st_size;
}

bool File::Close()
{
    if (m_fd < 0)
        return true;
    const bool ok = ::close(m_fd) == 0;
    m_fd = -1;
    m_unnamed = false;
    return ok;
}

} // namespace zorone::platform::files
