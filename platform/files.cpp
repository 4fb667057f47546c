#include "platform/files.h"

#include "platform/code_page.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// The path with symbolic links at its last component followed, as far as
// they lead; a dangling link gives the path it points to.
std::string WithoutLinks(std::string path)
{
    // The kernel's own limit on links followed in one lookup.
    constexpr int kMaxLinks = 40;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat sb {};
        if (::lstat(path.c_str(), &sb) != 0 || !S_ISLNK(sb.st_mode))
            break;
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof buf)
            break;
        std::string link(buf, static_cast<size_t>(n));
        if (link.front() != '/') {
            const size_t slash = path.rfind('/');
            link.insert(0, slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
        }
        path = std::move(link);
    }
    return path;
}

// Creates a new file named prefix plus a random suffix, with mode filtered
// by the umask as open() does; the process-wide umask is never changed, since
// other threads create files at the same time. Returns the descriptor and
// the name, or -1.
int CreateUniqueFile(const std::string& prefix, mode_t mode, std::string& name)
{
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        unsigned char random[6];
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
            return -1;
        name = prefix;
        for (const unsigned char r : random)
            name += kChars[r % (sizeof kChars - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
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
    st.isRegular = S_ISREG(sb.st_mode);
    st.modified = static_cast<std::int64_t>(sb.st_mtim.tv_sec);
    return st;
}

std::string ReadAttribute(std::string_view path, const char* name, std::size_t maxBytes)
{
    std::string value(maxBytes, '\0');
    const ssize_t n = ::getxattr(ToFsPath(path).c_str(), name, value.data(), value.size());
    if (n <= 0)
        return {};
    value.resize(static_cast<size_t>(n));
    return value;
}

bool Exists(std::string_view path)
{
    struct stat sb {};
    return !path.empty() && ::stat(ToFsPath(path).c_str(), &sb) == 0;
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
        // A "\" that is the trail byte of a double-byte character is part
        // of a name, not a separator.
        if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
            ++i;
            continue;
        }
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
    // A save onto a symbolic link updates the file the link names and keeps
    // the link; replacing the link itself would silently fork the user's file.
    const std::string target = WithoutLinks(ToFsPath(path));
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    // A new file gets what the umask allows; a replaced one keeps its
    // permission bits, so a private list stays private.
    std::string temp;
    const int fd = CreateUniqueFile(folder + ".zorone-save-", replacing ? old.st_mode & 0777 : 0666, temp);
    if (fd < 0)
        return false;
    bool ok = !replacing || ::fchmod(fd, old.st_mode & 07777) == 0;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
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
        // A FIFO would block the open until a writer comes; it is refused
        // below like every file that is not a regular one.
        flags |= O_RDONLY | O_NONBLOCK;
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
    // O_NONBLOCK changes nothing for the regular files that pass here.
    struct stat sb {};
    if (::fstat(m_fd, &sb) != 0 || (mode == Mode::Read ? !S_ISREG(sb.st_mode) : S_ISDIR(sb.st_mode))) {
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

bool File::LinkAt(int folderFd, const std::string& fsName)
{
    if (!IsUnnamed())
        return false;
    const std::string self = std::string("/proc/self/fd/").append(std::to_string(m_fd));
    if (::linkat(AT_FDCWD, self.c_str(), folderFd, fsName.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return false;
    m_unnamed = false;
    return true;
}

void File::Adopt(int fd, bool unnamed)
{
    Close();
    m_fd = fd;
    m_unnamed = fd >= 0 && unnamed;
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

bool File::SetModified(std::int64_t seconds)
{
    const struct timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
    return m_fd >= 0 && ::futimens(m_fd, times) == 0;
}

bool File::SetAttribute(const char* name, std::string_view value)
{
    return m_fd >= 0 && ::fsetxattr(m_fd, name, value.data(), value.size(), 0) == 0;
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
