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

// Small bodies only: each goes out as one DATA frame within the default
// flow-control window.
constexpr const char* kHttp2Script = R"(
import asyncio, os, ssl, sys
import h2.config, h2.connection, h2.events
root, cert, key = sys.argv[1:4]
accepted = 0
def answer(path):
    if path == "/connections":
        return "200", str(accepted).encode()
    full = os.path.join(root, path.lstrip("/"))
    if os.path.isfile(full):
        with open(full, "rb") as f:
            return "200", f.read()
    return "404", b"missing"
async def serve(reader, writer):
    global accepted
    accepted += 1
    conn = h2.connection.H2Connection(h2.config.H2Configuration(client_side=False, header_encoding="utf-8"))
    conn.initiate_connection()
    writer.write(conn.data_to_send())
    while True:
        data = await reader.read(65536)
        if not data:
            break
        for event in conn.receive_data(data):
            if isinstance(event, h2.events.RequestReceived):
                status, body = answer(dict(event.headers)[":path"])
                conn.send_headers(event.stream_id, [(":status", status), ("content-length", str(len(body))),
                                                    ("content-type", "text/html")])
                conn.send_data(event.stream_id, body, end_stream=True)
        writer.write(conn.data_to_send())
        await writer.drain()
    writer.close()
async def main():
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    context.set_alpn_protocols(["h2"])
    server = await asyncio.start_server(serve, "127.0.0.1", 0, ssl=context)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()
asyncio.run(main())
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

TlsServer::TlsServer(TlsProtocol protocol)
{
    std::filesystem::create_directories(Root());
    MakeCertificate(m_dir.Path());
    const bool http2 = protocol == TlsProtocol::Http2;
    m_server = std::make_unique<PythonServer>(http2 ? kHttp2Script : kServerScript,
        std::vector<std::string> {Root(), CertificateFile(), m_dir.Path() + "/key.pem"},
        http2 ? "the HTTP/2 test server (python3-h2)" : "the https test server");
}

std::string TlsServer::Url(const std::string& path) const
{
    return "https://127.0.0.1:" + std::to_string(Port()) + path;
}

} // namespace zorone::test
