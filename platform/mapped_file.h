#pragma once
// A file mapped read-only into memory, so that a large document is read for
// links without a copy of it on the heap. The kernel pages it in as it is
// read and drops the pages under memory pressure.
//
// The mapping reflects the file: a file shortened by another process while
// it is mapped makes a read past its new end fault, so map only files that
// this process has finished writing.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorone::platform::files {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the regular file at a CP932 path. False, with Error() saying why,
    // when it cannot; an empty file maps to an empty view.
    bool Open(std::string_view cp932Path);
    // The same for a file below a download folder (both CP932; path starts
    // with the folder), refusing a file reached through a symbolic link that
    // leads out of the folder (the reason then says so, errno EXDEV).
    bool OpenBeneath(std::string_view cp932DownloadFolder, std::string_view cp932Path);
    void Close();

    std::string_view data() const { return {m_data, m_size}; }
    std::size_t size() const { return m_size; }
    // The reason the last Open failed, "" after a success.
    const std::string& Error() const { return m_error; }

private:
    bool MapDescriptor(int fd, std::string_view shownPath);
    bool Fail(std::string_view shownPath, int error);

    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_mapped = false;
    std::string m_error;
};

} // namespace zorone::platform::files
