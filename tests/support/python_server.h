#pragma once
// A loopback server written in Python for tests, run by the system's
// python3: the script binds port 0 itself and prints the port it got on its
// first line, so no other process can take the port between choosing and
// listening. The server dies with the test program.
#include <string>
#include <sys/types.h>
#include <vector>

namespace zorone::test {

class PythonServer {
public:
    // Starts python3 -c script args...; returns once it printed its port.
    // Throws std::runtime_error naming what when it does not start.
    PythonServer(const char* script, const std::vector<std::string>& args, const std::string& what);
    ~PythonServer();
    PythonServer(const PythonServer&) = delete;
    PythonServer& operator=(const PythonServer&) = delete;

    int Port() const { return m_port; }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

} // namespace zorone::test
