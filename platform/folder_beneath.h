#pragma once
// Files below a download folder, reached so that a symbolic link inside it
// never leads a write or a read out of it: a mirrored site must not be able
// to reach the user's other files through a link someone left in the folder.
//
// Where the kernel has openat2, links are followed as long as they stay
// below the download folder (RESOLVE_BENEATH). Where it has not, the path is
// walked one component at a time and every link is refused (O_NOFOLLOW).
// A path that leads out fails with EXDEV.
//
// Paths here are file-system (UTF-8) paths with "/" separators.
#include <string>
#include <string_view>

namespace zorone::platform::files {

enum class Confinement {
    Kernel, // openat2 with RESOLVE_BENEATH
    Walk,   // one openat with O_NOFOLLOW per component
};

// Kernel where this kernel has openat2, otherwise Walk.
Confinement BestConfinement();

// The folder that holds one file below a root folder, open while the file is
// created, linked, renamed or read in it by name.
class FolderBeneath {
public:
    FolderBeneath() = default;
    ~FolderBeneath();
    FolderBeneath(FolderBeneath&& other) noexcept;
    FolderBeneath& operator=(FolderBeneath&& other) noexcept;
    FolderBeneath(const FolderBeneath&) = delete;
    FolderBeneath& operator=(const FolderBeneath&) = delete;

    // Opens the folder of relativeFile (a path below root, without a
    // leading "/"), creating missing folders when create is set, with the
    // permissions the umask allows. False with errno set when it cannot; EXDEV
    // when a link on the way leads out of root.
    bool Open(const std::string& root, const std::string& relativeFile, bool create,
              Confinement confinement = BestConfinement());
    bool IsOpen() const { return m_folder >= 0; }
    void Close();

    // The folder's descriptor, for the *at calls, and the file's name in it.
    int Fd() const { return m_folder; }
    const std::string& Name() const { return m_name; }

    // False (errno EXDEV) when the file's name is a link that leads out of
    // root: it must be neither written through, replaced nor read. True
    // when the name is free, a file, a folder, or a link that stays below.
    bool NameStaysBeneath() const;
    // True when the name is a file or folder reached without leaving root.
    bool NameReachable() const;

private:
    int m_root = -1;
    int m_folder = -1;
    std::string m_relative;
    std::string m_name;
    Confinement m_confinement = Confinement::Walk;
};

// True when relativePath names a file or folder below root that can be
// reached without a link leading out.
bool ExistsBeneath(const std::string& root, const std::string& relativePath);

// Renames the file fromRelative to toRelative, both below root, replacing a
// file of that name and creating missing folders on the way; neither side
// may be reached through a link that leads out of root. False with errno
// set when it cannot.
bool MoveBeneath(const std::string& root, const std::string& fromRelative, const std::string& toRelative);

// Splits a CP932 path that starts with the CP932 folder root into the
// file-system root and the file-system path below it. False (errno EXDEV)
// when path does not start with root.
bool SplitBeneath(std::string_view cp932Root, std::string_view cp932Path, std::string& root, std::string& relative);

} // namespace zorone::platform::files
