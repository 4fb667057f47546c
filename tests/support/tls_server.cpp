#include "tests/support/tls_server.h"

#include "tests/support/process.h"

#include <filesystem>
#include <stdexcept>

namespace zorone::test {
namespace {

constexpr const char* kServerScript = R"(
import functools, http.server, ssl, sys
root, cert, key = sys.argv[1:4]
class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=root))
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
)";

void MakeCertificate(const std::string& dir)
{
    const ProcessResult r = RunProcess("/usr/bin/openssl",
        {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2",
            "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost", "-keyout",
            dir + "/key.pem", "-out", dir + "/cert.pem"});
    if (r.exitCode != 0)
        throw std::runtime_error("openssl could not make a test certificate: " + r.err);
}

} // namespace

TlsServer::TlsServer()
{
    std::filesystem::create_directories(Root());
    MakeCertificate(m_dir.Path());
    m_server = std::make_unique<PythonServer>(kServerScript,
        std::vector<std::string> {Root(), CertificateFile(), m_dir.Path() + "/key.pem"}, "the https test server");
}

std::string TlsServer::Url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(Port()) + path;
}

} // namespace zorone::test
