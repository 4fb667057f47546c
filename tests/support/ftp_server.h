#pragma once
// An anonymous, read-only FTP server on 127.0.0.1 for tests: pyftpdlib run by
// the system's python3, serving a fresh temporary folder. The constructor
// returns once the server listens (it throws when it cannot start); the
// destructor kills it and removes the folder. A server can be made to
// misbehave: refuse every login, or drop each data connection after its
// first kilobyte (answering 426 on the control connection).
#include "tests/support/python_server.h"
#include "tests/support/temp_dir.h"

#include <string>

namespace zorone::test {

enum class FtpFault { None, RefuseLogin, DropData };

class FtpServer {
public:
    explicit FtpServer(FtpFault fault = FtpFault::None);

    // The served folder (a file-system path); put the files to serve here.
    const std::string& Root() const { return m_root.Path(); }
    int Port() const { return m_server.Port(); }
    // "ftp://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;

private:
    TempDir m_root;
    PythonServer m_server;
};

} // namespace zorone::test
