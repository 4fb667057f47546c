#pragma once
// An https server on 127.0.0.1 for tests, serving the files of a fresh
// temporary folder, with a self-signed test certificate made for it (for
// 127.0.0.1 and localhost) by the openssl tool. Clients trust it only when
// told to, through CertificateFile().
//
// Http1 is Python's http.server behind TLS. Http2 speaks HTTP/2 only (ALPN
// "h2", python3-h2) and answers "/connections" with the number of
// connections it has accepted, so tests can see what shared one.
#include "tests/support/python_server.h"
#include "tests/support/temp_dir.h"

#include <memory>
#include <string>

namespace zorone::test {

enum class TlsProtocol { Http1, Http2 };

class TlsServer {
public:
    explicit TlsServer(TlsProtocol protocol = TlsProtocol::Http1);

    // The served folder (a file-system path); put the files to serve here.
    std::string Root() const { return m_dir.Path() + "/root"; }
    // The certificate in PEM, usable as a CA bundle.
    std::string CertificateFile() const { return m_dir.Path() + "/cert.pem"; }
    int Port() const { return m_server->Port(); }
    // "https://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;

private:
    TempDir m_dir;
    std::unique_ptr<PythonServer> m_server;
};

} // namespace zorone::test
