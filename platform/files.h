#pragma once
// The file operations the core relies on, over POSIX. Every path is a CP932
// byte string in which both "/" and "\" separate components; the conversion
// to a file-system path happens here and nowhere else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorone::platform::files {

struct Status {
    bool exists = false;
    bool isDirectory = false;
    std::int64_t size = 0;
    bool isRegular = false;
    // Last modification, in seconds since the epoch.
    std::int64_t modified = 0;
};

Status GetStatus(std::string_view path);

// True when the path names an existing file or folder. The name is taken
// literally: "*" and "?" are ordinary bytes of a name here.
bool Exists(std::string_view path);

bool CreateDirectory(std::string_view path);
// Creates every folder along path, up to but not including its last
// component, with the permissions the umask allows. A "\" that is the trail
// byte of a double-byte character does not separate.
void CreateFolders(std::string_view path);
bool RemoveFile(std::string_view path);
bool MakeWritable(std::string_view path);
bool Rename(std::string_view from, std::string_view to);

// Writes bytes to path so that a crash, a kill or a full disk never leaves a
// mix of old and new content: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file then replaces path.
// A replaced file keeps its permission bits, a new one gets what the umask
// allows, and a path that is a symbolic link has its target replaced.
// Returns false (and leaves path as it was) when any step fails.
bool WriteFileAtomically(std::string_view path, std::string_view bytes);

// The value of the extended attribute name ("user.<...>") of the file at
// path; empty when it has none, when it is longer than maxBytes, or where the
// file system keeps no such attributes.
std::string ReadAttribute(std::string_view path, const char* name, std::size_t maxBytes);

// The full path of the running program, as CP932.
std::string ExecutablePath();

// An open file; closes itself.
class File {
public:
    enum class Mode {
        Read,           // existing regular file, read only; anything else is refused
        WriteExisting,  // existing file, write, no truncation
        CreateTruncate, // create or truncate, write
    };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Open(std::string_view path, Mode mode);
    // Creates a file without a name in folder, open for writing: it vanishes
    // when closed unless LinkAs gave it a name first, so nothing is left
    // behind by a process that dies. False (errno set) where the file system
    // has no such files.
    bool OpenUnnamed(std::string_view folder);
    bool IsUnnamed() const { return m_fd >= 0 && m_unnamed; }
    // Gives an unnamed file the name path; fails with EEXIST when path exists.
    bool LinkAs(std::string_view path);
    // The same for the file-system name fsName inside the open folder folderFd.
    bool LinkAt(int folderFd, const std::string& fsName);
    // Takes over an open descriptor; unnamed says it was opened O_TMPFILE.
    void Adopt(int fd, bool unnamed);
    bool IsOpen() const { return m_fd >= 0; }
    // Reads up to n bytes; returns the count read, 0 at the end, -1 on error.
    std::int64_t Read(char* buffer, std::int64_t n);
    // Writes all n bytes; false on any error (disk full included).
    bool Write(const char* data, std::int64_t n);
    bool SeekToEnd();
    bool Truncate(std::int64_t length);
    std::int64_t Size() const;
    // Sets the modification (and access) time, in seconds since the epoch.
    bool SetModified(std::int64_t seconds);
    // Sets an extended attribute; false where the file system keeps none.
    bool SetAttribute(const char* name, std::string_view value);
    // Closes; false when the last writes could not be completed.
    bool Close();

private:
    int m_fd = -1;
    bool m_unnamed = false;
};

} // namespace zorone::platform::files
