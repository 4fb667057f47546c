#include "platform/mapped_file.h"

#include "platform/code_page.h"
#include "platform/folder_beneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorone::platform::files {
namespace {

// Read only, never blocking on a FIFO (refused below as not a regular file).
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;

// Opens relative below the open folder root in one step, the kernel checking
// that no link leads out.
int OpenBeneathRoot(int root, const std::string& relative)
{
    open_how how {};
    how.flags = static_cast<__u64>(kReadFlags);
    how.resolve = RESOLVE_BENEATH;
    for (;;) {
        const long fd = ::syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how);
        if (fd < 0 && errno == EINTR)
            continue;
        return static_cast<int>(fd);
    }
}

int OpenKernelConfined(const std::string& root, const std::string& relative)
{
    const int rootFd = ::open(root.empty() ? "." : root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0)
        return -1;
    const int fd = OpenBeneathRoot(rootFd, relative);
    const int saved = errno;
    ::close(rootFd);
    errno = saved;
    return fd;
}

// Walks to the file's folder refusing every link on the way, and opens the
// file itself without following a link either.
int OpenWalkConfined(const std::string& root, const std::string& relative)
{
    FolderBeneath folder;
    if (!folder.Open(root, relative, false, Confinement::Walk))
        return -1;
    if (folder.Name().empty()) {
        errno = EISDIR;
        return -1;
    }
    const int fd = ::openat(folder.Fd(), folder.Name().c_str(), kReadFlags | O_NOFOLLOW);
    if (fd < 0 && errno == ELOOP)
        errno = EXDEV;
    return fd;
}

} // namespace

MappedFile::~MappedFile()
{
    Close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : m_data(other.m_data)
    , m_size(other.m_size)
    , m_mapped(other.m_mapped)
    , m_error(std::move(other.m_error))
{
    other.m_data = nullptr;
    other.m_size = 0;
    other.m_mapped = false;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_data = other.m_data;
        m_size = other.m_size;
        m_mapped = other.m_mapped;
        m_error = std::move(other.m_error);
        other.m_data = nullptr;
        other.m_size = 0;
        other.m_mapped = false;
    }
    return *this;
}

void MappedFile::Close()
{
    if (m_mapped)
        ::munmap(const_cast<char*>(m_data), m_size);
    m_data = nullptr;
    m_size = 0;
    m_mapped = false;
}

bool MappedFile::Fail(std::string_view shownPath, int error)
{
    m_error = std::string(shownPath) + ": ";
    if (error == EXDEV)
        m_error += "reached through a link that leads out of the download folder";
    else if (error == ENODEV)
        m_error += "not a regular file";
    else
        m_error += std::strerror(error);
    return false;
}

bool MappedFile::Open(std::string_view cp932Path)
{
    Close();
    const std::string fsPath = ToFsPath(cp932Path);
    const int fd = fsPath.empty() ? -1 : ::open(fsPath.c_str(), kReadFlags);
    if (fd < 0)
        return Fail(fsPath, fsPath.empty() ? ENOENT : errno);
    return MapDescriptor(fd, fsPath);
}

bool MappedFile::OpenBeneath(std::string_view cp932DownloadFolder, std::string_view cp932Path)
{
    Close();
    const std::string shown = ToFsPath(cp932Path);
    std::string root;
    std::string relative;
    if (!SplitBeneath(cp932DownloadFolder, cp932Path, root, relative))
        return Fail(shown, EXDEV);
    const int fd = BestConfinement() == Confinement::Kernel ? OpenKernelConfined(root, relative)
                                                            : OpenWalkConfined(root, relative);
    if (fd < 0)
        return Fail(shown, errno);
    return MapDescriptor(fd, shown);
}

bool MappedFile::MapDescriptor(int fd, std::string_view shownPath)
{
    struct stat sb {};
    int error = 0;
    if (::fstat(fd, &sb) != 0)
        error = errno;
    else if (!S_ISREG(sb.st_mode))
        error = S_ISDIR(sb.st_mode) ? EISDIR : ENODEV;
    if (error == 0 && sb.st_size > 0) {
        void* mapped = ::mmap(nullptr, static_cast<size_t>(sb.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped == MAP_FAILED) {
            error = errno;
        } else {
            m_data = static_cast<const char*>(mapped);
            m_size = static_cast<size_t>(sb.st_size);
            m_mapped = true;
        }
    }
    // The mapping keeps the file; the descriptor is no longer needed.
    ::close(fd);
    if (error != 0)
        return Fail(shownPath, error);
    m_error.clear();
    return true;
}

} // namespace zorone::platform::files
