#include "platform/spool_placement.h"

#include "platform/code_page.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

namespace zorone::platform {

namespace {

std::string SystemError(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error != 0 ? error : EIO);
}

std::string LeadsOut(const std::string& what, const std::string& path)
{
    return what + " " + path + ": a symbolic link leads out of the download folder";
}

// The pid in a spool file name ".zorone-<pid>-<n>.part"; 0 for other names.
pid_t SpoolOwner(const char* name)
{
    static constexpr char kPrefix[] = ".zorone-";
    static constexpr char kSuffix[] = ".part";
    const size_t length = std::strlen(name);
    const size_t prefix = sizeof kPrefix - 1;
    const size_t suffix = sizeof kSuffix - 1;
    if (length <= prefix + suffix || std::strncmp(name, kPrefix, prefix) != 0
        || std::strcmp(name + length - suffix, kSuffix) != 0)
        return 0;
    pid_t pid = 0;
    size_t i = prefix;
    for (; i < length - suffix && name[i] >= '0' && name[i] <= '9' && pid < 100000000; ++i)
        pid = pid * 10 + (name[i] - '0');
    if (i == prefix || name[i] != '-' || i + 1 == length - suffix)
        return 0;
    for (++i; i < length - suffix; ++i)
        if (name[i] < '0' || name[i] > '9')
            return 0;
    return pid;
}

bool IsRunning(pid_t pid)
{
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

} // namespace

void RemoveStaleSpoolFiles(int folderFd, const std::string& folder)
{
    {
        static std::mutex mutex;
        static std::set<std::string> visited;
        std::lock_guard lock(mutex);
        if (!visited.insert(folder).second)
            return;
    }
    const int listing = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = SpoolOwner(entry->d_name);
        if (owner > 0 && !IsRunning(owner))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

SpoolPlacement::SpoolPlacement(std::string spoolPath, std::string targetPath, std::string downloadFolder,
                               bool unnamedFiles)
    : m_spoolPath(std::move(spoolPath))
    , m_targetPath(std::move(targetPath))
    , m_downloadFolder(std::move(downloadFolder))
    , m_unnamedFiles(unnamedFiles)
{
    const std::string fs = ToFsPath(m_spoolPath);
    m_spoolName = fs.substr(fs.rfind('/') + 1);
}

bool SpoolPlacement::Open(files::File& file, std::string& error)
{
    if (!m_downloadFolder.empty() && !m_targetPath.empty())
        return OpenBeneath(file, error);
    if (OpenByPath(file))
        return true;
    error = SystemError("cannot create", m_spoolPath, errno);
    return false;
}

bool SpoolPlacement::OpenByPath(files::File& file)
{
    const std::string folder = m_targetPath.substr(0, m_targetPath.find_last_of("/\\") + 1);
    auto open = [&] {
        if (m_unnamedFiles && !m_targetPath.empty() && !folder.empty() && file.OpenUnnamed(folder))
            return true;
        errno = 0;
        if (!folder.empty()) {
            const std::string fsFolder = ToFsPath(folder);
            const int fd = ::open(fsFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd >= 0) {
                RemoveStaleSpoolFiles(fd, fsFolder);
                ::close(fd);
            }
        }
        return file.Open(m_spoolPath, files::File::Mode::CreateTruncate);
    };
    // Most files land in folders that already exist: try the file first and
    // create the folders only when it says they are missing.
    if (open())
        return true;
    if (errno != ENOENT)
        return false;
    files::CreateFolders(m_spoolPath);
    return open();
}

bool SpoolPlacement::OpenBeneath(files::File& file, std::string& error)
{
    std::string root;
    std::string relative;
    if (!files::SplitBeneath(m_downloadFolder, m_targetPath, root, relative)) {
        error = LeadsOut("cannot create", m_targetPath);
        return false;
    }
    // Most files land in folders that already exist: the folder is opened
    // first and made only when it is missing. The download folder itself is
    // the user's choice and may be reached through links; it is made like
    // any folder when it is still missing.
    bool opened = m_folder.Open(root, relative, false);
    if (!opened && errno == ENOENT) {
        if (!files::Exists(m_downloadFolder))
            files::CreateFolders(m_downloadFolder);
        opened = m_folder.Open(root, relative, true);
    }
    if (!opened) {
        error = errno == EXDEV ? LeadsOut("cannot create", m_targetPath)
                               : SystemError("cannot create", m_targetPath, errno);
        return false;
    }
    if (m_unnamedFiles) {
        const int fd = ::openat(m_folder.Fd(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file.Adopt(fd, true);
            return true;
        }
    }
    RemoveStaleSpoolFiles(m_folder.Fd(), root + "/" + relative.substr(0, relative.rfind('/') + 1));
    const int fd
        = ::openat(m_folder.Fd(), m_spoolName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = SystemError("cannot create", m_spoolPath, errno);
        return false;
    }
    file.Adopt(fd, false);
    return true;
}

bool SpoolPlacement::StaysBeneath(std::string& error) const
{
    if (m_folder.NameStaysBeneath())
        return true;
    error = LeadsOut("cannot store", m_targetPath);
    return false;
}

bool SpoolPlacement::CommitUnnamed(files::File& file, std::string& error)
{
    if (!m_folder.IsOpen()) {
        errno = 0;
        if (file.LinkAs(m_targetPath))
            return true;
        // The target exists: the new body takes a temporary name and
        // replaces the old file in one rename, never leaving it missing or
        // half written.
        if (errno == EEXIST && file.LinkAs(m_spoolPath)) {
            if (files::Rename(m_spoolPath, m_targetPath))
                return true;
            error = SystemError("cannot store", m_targetPath, errno);
            files::RemoveFile(m_spoolPath);
            return false;
        }
        error = SystemError("cannot store", m_targetPath, errno);
        return false;
    }
    // linkat never follows a link at the name: while the name is free the
    // body takes it, and only a name already taken needs the check that it
    // is no link leading out before it is replaced.
    errno = 0;
    if (file.LinkAt(m_folder.Fd(), m_folder.Name()))
        return true;
    if (errno != EEXIST) {
        error = SystemError("cannot store", m_targetPath, errno);
        return false;
    }
    if (!StaysBeneath(error))
        return false;
    errno = 0;
    if (file.LinkAt(m_folder.Fd(), m_spoolName)) {
        // renameat replaces a link at the name itself, never its target.
        if (::renameat(m_folder.Fd(), m_spoolName.c_str(), m_folder.Fd(), m_folder.Name().c_str()) == 0)
            return true;
        error = SystemError("cannot store", m_targetPath, errno);
        ::unlinkat(m_folder.Fd(), m_spoolName.c_str(), 0);
        return false;
    }
    error = SystemError("cannot store", m_targetPath, errno);
    return false;
}

bool SpoolPlacement::CommitNamed(std::string& error)
{
    errno = 0;
    if (!m_folder.IsOpen()) {
        if (files::Rename(m_spoolPath, m_targetPath))
            return true;
        error = SystemError("cannot store", m_targetPath, errno);
        RemoveSpool();
        return false;
    }
    if (StaysBeneath(error)
        && ::renameat(m_folder.Fd(), m_spoolName.c_str(), m_folder.Fd(), m_folder.Name().c_str()) == 0)
        return true;
    if (error.empty())
        error = SystemError("cannot store", m_targetPath, errno);
    RemoveSpool();
    return false;
}

void SpoolPlacement::RemoveSpool()
{
    if (m_folder.IsOpen())
        ::unlinkat(m_folder.Fd(), m_spoolName.c_str(), 0);
    else
        files::RemoveFile(m_spoolPath);
}

} // namespace zorone::platform
