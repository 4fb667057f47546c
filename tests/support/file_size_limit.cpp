#include "tests/support/file_size_limit.h"

#include <stdexcept>

namespace zorone::test {

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    // Without this the write past the limit kills the process instead of
    // failing with EFBIG.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (::getrlimit(RLIMIT_FSIZE, &m_old) != 0)
        throw std::runtime_error("getrlimit failed");
    rlimit limit = m_old;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("setrlimit failed");
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace zorone::test
