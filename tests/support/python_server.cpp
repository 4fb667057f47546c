#include "tests/support/python_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace zorone::test {
namespace {

constexpr int kStartTimeoutMs = 30000;

// The distribution's python3 is the one Debian's Python packages install
// into; a python3 earlier on PATH (a virtual environment, pyenv) may lack
// them.
const char* Python()
{
    return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

std::string ReadLine(int fd)
{
    std::string line;
    for (;;) {
        pollfd p { fd, POLLIN, 0 };
        const int ready = ::poll(&p, 1, kStartTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {};
        char c;
        const ssize_t got = ::read(fd, &c, 1);
        if (got <= 0 || c == '\n')
            return line;
        line += c;
    }
}

} // namespace

PythonServer::PythonServer(const char* script, const std::vector<std::string>& args, const std::string& what)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const char* python = Python();
    std::vector<const char*> argv = {python, "-c", script};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(out[0]);
        ::close(out[1]);
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // The server must not outlive a test program that crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::dup2(out[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::execvp(python, const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    ::close(out[1]);
    m_pid = pid;
    const std::string line = ReadLine(out[0]);
    ::close(out[0]);
    try {
        m_port = std::stoi(line);
    } catch (const std::exception&) {
        m_port = 0;
    }
    if (m_port <= 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        throw std::runtime_error(what + " did not start (" + python + ")");
    }
}

PythonServer::~PythonServer()
{
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
}

} // namespace zorone::test
