#pragma once
// Makes every write beyond a byte limit fail in this process, the way a full
// disk fails it, even for root (who is exempt from permission checks). The
// limit is lifted when the object goes away.
#include <sys/resource.h>

#include <csignal>

namespace zorone::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = SIG_DFL;
};

} // namespace zorone::test
