#pragma once
// Where a transfer's body is written while it arrives, and how a complete
// body takes the place of its target file. The URL service's workers call
// these; every step runs on the worker that owns the transfer.
//
// With a download folder given, the folder of the target is opened below it
// (see folder_beneath.h) and every later step works by name inside that open
// folder, so no symbolic link leads a body out of the download folder, not
// even one that appears while the body arrives. Without one, the paths are
// used as they are.
#include "platform/files.h"
#include "platform/folder_beneath.h"

#include <string>

namespace zorone::platform {

class SpoolPlacement {
public:
    // spoolPath, targetPath and downloadFolder are CP932. The spool file lies
    // in the target's folder. unnamedFiles: whether to try files without a
    // name first (the named spool serves where the file system has none).
    SpoolPlacement(std::string spoolPath, std::string targetPath, std::string downloadFolder, bool unnamedFiles);

    // Opens file for the body, creating missing folders. False with the
    // reason in error.
    bool Open(files::File& file, std::string& error);
    // Gives the complete body in the open unnamed file the target's name,
    // replacing an old file in one step. False with the reason in error.
    bool CommitUnnamed(files::File& file, std::string& error);
    // Renames the complete named spool file to the target. False with the
    // reason in error; the spool file is then removed.
    bool CommitNamed(std::string& error);
    // Removes the named spool file of a body that is not kept.
    void RemoveSpool();

private:
    bool OpenBeneath(files::File& file, std::string& error);
    bool OpenByPath(files::File& file);
    bool StaysBeneath(std::string& error) const;

    std::string m_spoolPath;
    std::string m_targetPath;
    std::string m_downloadFolder;
    bool m_unnamedFiles;
    files::FolderBeneath m_folder;
    std::string m_spoolName;
};

// Removes the spool files that processes no longer running left in the
// folder open as folderFd, named folder (a file-system path); the first call
// for a folder does the work, later ones return at once. Spool files are
// named ".zorone-<pid>-<n>.part".
void RemoveStaleSpoolFiles(int folderFd, const std::string& folder);

} // namespace zorone::platform
