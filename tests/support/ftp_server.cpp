#include "tests/support/ftp_server.h"

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
    : m_server(kServerScript, {m_root.Path(), FaultName(fault)}, "the FTP server (pyftpdlib)")
{
}

std::string FtpServer::Url(const std::string& path) const
{
    return "ftp://127.0.0.1:" + std::to_string(Port()) + path;
}

} // namespace zorone::test
