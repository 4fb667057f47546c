#include "tests/support/ftp_server.h"

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

// Binds port 0 itself and prints the port it got, so no other process can
// take the port between choosing and listening.
constexpr const char* kServerScript = R"(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer
logging.disable(logging.CRITICAL)
fault = sys.argv[2]
authorizer = DummyAuthorizer()
if fault != "refuse-login":
    authorizer.add_anonymous(sys.argv[1])
class DroppingDTP(DTPHandler):
    def use_sendfile(self):
        return False
    def push_with_producer(self, producer):
        self.push(producer.more()[:1024])
        self.close_when_done()
    def handle_close(self):
        if not self._closed:
            self._resp = ("426 Connection closed; transfer aborted.", logging.debug)
            self.close()
class Handler(FTPHandler):
    pass
Handler.authorizer = authorizer
if fault == "drop-data":
    Handler.dtp_handler = DroppingDTP
server = FTPServer(("127.0.0.1", 0), Handler)
print(server.address[1], flush=True)
server.serve_forever()
)";

constexpr int kStartTimeoutMs = 30000;

// The distribution's python3 is the one the pyftpdlib package installs into;
// a python3 earlier on PATH (a virtual environment, pyenv) may lack it.
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

const char* FaultName(FtpFault fault)
{
    switch (fault) {
    case FtpFault::RefuseLogin:
        return "refuse-login";
    case FtpFault::DropData:
        return "drop-data";
    case FtpFault::None:
        break;
    }
    return "none";
}

} // namespace

FtpServer::FtpServer(FtpFault fault)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const char* python = Python();
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
        ::execlp(
            python, python, "-c", kServerScript, m_root.Path().c_str(), FaultName(fault), static_cast<char*>(nullptr));
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
        throw std::runtime_error(std::string("the FTP server did not start (") + python + " with pyftpdlib)");
    }
}

FtpServer::~FtpServer()
{
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
}

std::string FtpServer::Url(const std::string& path) const
{
    return "ftp://127.0.0.1:" + std::to_string(m_port) + path;
}

} // namespace zorone::test
