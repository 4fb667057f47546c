#include "platform/folder_beneath.h"

#include "platform/code_page.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace zorone::platform::files {
namespace {

int OpenAt2(int dirfd, const std::string& path, int flags)
{
    open_how how {};
    how.flags = static_cast<__u64>(flags | O_CLOEXEC);
    how.resolve = RESOLVE_BENEATH;
    for (;;) {
        const long fd = ::syscall(SYS_openat2, dirfd, path.c_str(), &how, sizeof how);
        if (fd < 0 && errno == EINTR)
            continue;
        return static_cast<int>(fd);
    }
}

// Closes fd and leaves errno as it was, so that the caller reports the
// failure that mattered.
void CloseKeepingErrno(int fd)
{
    const int saved = errno;
    ::close(fd);
    errno = saved;
}

std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t slash = path.find('/', start);
        const size_t end = slash == std::string::npos ? path.size() : slash;
        std::string part = path.substr(start, end - start);
        if (!part.empty() && part != ".")
            parts.push_back(std::move(part));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return parts;
}

// One more folder down: by the whole prefix below root where the kernel
// checks that it stays there, or by the one name without following a link.
// A walk meets a link as ELOOP or ENOTDIR; it is told as a path leading out.
int OpenStep(int root, int parent, const std::string& prefix, const std::string& name, Confinement confinement)
{
    if (confinement == Confinement::Kernel)
        return OpenAt2(root, prefix, O_RDONLY | O_DIRECTORY);
    if (name == "..") {
        errno = EXDEV;
        return -1;
    }
    const int fd = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat sb {};
    if (fd < 0 && (errno == ELOOP || errno == ENOTDIR)
        && ::fstatat(parent, name.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(sb.st_mode))
        errno = EXDEV;
    return fd;
}

int OpenFolder(int root, const std::string& relativeFolder, bool create, Confinement confinement)
{
    // The kernel checks the whole path at once; only a folder still missing
    // needs the walk that creates it.
    if (confinement == Confinement::Kernel && !relativeFolder.empty()) {
        const int fd = OpenAt2(root, relativeFolder, O_RDONLY | O_DIRECTORY);
        if (fd >= 0 || errno != ENOENT || !create)
            return fd;
    }
    int current = ::fcntl(root, F_DUPFD_CLOEXEC, 0);
    if (current < 0)
        return -1;
    std::string prefix;
    for (const std::string& name : Components(relativeFolder)) {
        prefix += prefix.empty() ? name : "/" + name;
        int next = OpenStep(root, current, prefix, name, confinement);
        if (next < 0 && errno == ENOENT && create) {
            if (::mkdirat(current, name.c_str(), 0777) != 0 && errno != EEXIST) {
                CloseKeepingErrno(current);
                return -1;
            }
            next = OpenStep(root, current, prefix, name, confinement);
        }
        CloseKeepingErrno(current);
        if (next < 0)
            return -1;
        current = next;
    }
    return current;
}

} // namespace

Confinement BestConfinement()
{
    static const Confinement best = [] {
        // A relative path: RESOLVE_BENEATH refuses every absolute one, so
        // probing with "/" took every kernel for one without openat2.
        const int fd = OpenAt2(AT_FDCWD, ".", O_PATH);
        if (fd < 0)
            return Confinement::Walk;
        ::close(fd);
        return Confinement::Kernel;
    }();
    return best;
}

FolderBeneath::~FolderBeneath()
{
    Close();
}

FolderBeneath::FolderBeneath(FolderBeneath&& other) noexcept
    : m_root(other.m_root)
    , m_folder(other.m_folder)
    , m_relative(std::move(other.m_relative))
    , m_name(std::move(other.m_name))
    , m_confinement(other.m_confinement)
{
    other.m_root = -1;
    other.m_folder = -1;
}

FolderBeneath& FolderBeneath::operator=(FolderBeneath&& other) noexcept
{
    if (this != &other) {
        Close();
        m_root = other.m_root;
        m_folder = other.m_folder;
        m_relative = std::move(other.m_relative);
        m_name = std::move(other.m_name);
        m_confinement = other.m_confinement;
        other.m_root = -1;
        other.m_folder = -1;
    }
    return *this;
}

bool FolderBeneath::Open(const std::string& root, const std::string& relativeFile, bool create, Confinement confinement)
{
    Close();
    m_confinement = confinement;
    m_relative = relativeFile;
    const size_t slash = relativeFile.rfind('/');
    m_name = slash == std::string::npos ? relativeFile : relativeFile.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : relativeFile.substr(0, slash);
    m_root = ::open(root.empty() ? "." : root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_root < 0)
        return false;
    m_folder = OpenFolder(m_root, folder, create, confinement);
    if (m_folder >= 0)
        return true;
    CloseKeepingErrno(m_root);
    m_root = -1;
    return false;
}

void FolderBeneath::Close()
{
    if (m_folder >= 0)
        ::close(m_folder);
    if (m_root >= 0)
        ::close(m_root);
    m_folder = -1;
    m_root = -1;
}

bool FolderBeneath::NameStaysBeneath() const
{
    struct stat sb {};
    if (::fstatat(m_folder, m_name.c_str(), &sb, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(sb.st_mode))
        return true;
    if (m_confinement == Confinement::Walk) {
        errno = EXDEV;
        return false;
    }
    const int fd = OpenAt2(m_root, m_relative, O_PATH);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    // A dangling link that stays below root leads nowhere outside.
    return errno != EXDEV && errno != ELOOP;
}

bool FolderBeneath::NameReachable() const
{
    if (m_confinement == Confinement::Kernel) {
        const int fd = OpenAt2(m_root, m_relative, O_PATH);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }
    struct stat sb {};
    return ::fstatat(m_folder, m_name.c_str(), &sb, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(sb.st_mode);
}

bool SplitBeneath(std::string_view cp932Root, std::string_view cp932Path, std::string& root, std::string& relative)
{
    if (cp932Path.substr(0, cp932Root.size()) != cp932Root) {
        errno = EXDEV;
        return false;
    }
    root = ToFsPath(cp932Root);
    relative = ToFsPath(cp932Path.substr(cp932Root.size()));
    relative.erase(0, relative.find_first_not_of('/'));
    return true;
}

bool ExistsBeneath(const std::string& root, const std::string& relativePath)
{
    FolderBeneath folder;
    if (!folder.Open(root, relativePath, false))
        return false;
    return folder.Name().empty() || folder.NameReachable();
}

bool MoveBeneath(const std::string& root, const std::string& fromRelative, const std::string& toRelative)
{
    FolderBeneath from;
    FolderBeneath to;
    if (!from.Open(root, fromRelative, false) || !to.Open(root, toRelative, true))
        return false;
    if (!from.NameStaysBeneath() || !to.NameStaysBeneath())
        return false;
    return ::renameat(from.Fd(), from.Name().c_str(), to.Fd(), to.Name().c_str()) == 0;
}

} // namespace zorone::platform::files
