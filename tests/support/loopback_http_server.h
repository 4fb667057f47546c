#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: it serves a scripted map of
// paths to responses, can misbehave on purpose per path (delay, stall, reset,
// short body, slow drip), and records every request it reads. It listens on an
// ephemeral port from construction and stops, closing every connection, in
// its destructor. Each connection is served by its own thread.
//
//     LoopbackHttpServer server;
//     server.Add("/top.html", HttpResponse::Ok("<a href=x.html>x</a>", "text/html"));
//     server.Add("/old", HttpResponse::Redirect("/top.html"));
//     fetch(server.Url("/old"));
//     EXPECT_EQ(server.Requests().size(), 2u);
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zorone::test {

struct HttpResponse {
    enum class Framing {
        ContentLength, // Content-Length header, connection kept alive
        Chunked, // Transfer-Encoding: chunked, connection kept alive
        CloseDelimited // no length; the body ends when the connection closes
    };

    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    Framing framing = Framing::ContentLength;
    // Sends the body gzip-compressed with Content-Encoding: gzip, whatever
    // the request accepts.
    bool gzip = false;

    // Answers 304 without a body, as a server honouring conditional
    // requests does, when the request's If-None-Match equals the ETag header
    // above or its If-Modified-Since equals the Last-Modified header above.
    bool conditional = false;

    // Misbehaviour.
    std::chrono::milliseconds delay { 0 }; // wait before the status line
    bool stallBeforeHeaders = false; // read the request, never answer
    bool stallAfterHeaders = false; // send the headers, never the body
    // Send only this many body bytes (after framing and compression), then
    // reset the connection (RST) ...
    std::optional<std::size_t> resetAfter;
    // ... or close it cleanly, leaving the body shorter than announced.
    std::optional<std::size_t> closeAfter;
    // Send the body in pieces of dripBytes with dripInterval between them.
    std::size_t dripBytes = 0;
    std::chrono::milliseconds dripInterval { 0 };

    static HttpResponse Ok(std::string body, std::string contentType = "text/html");
    static HttpResponse Status(int status, std::string body = {});
    static HttpResponse Redirect(std::string location, int status = 302);
};

struct HttpRequest {
    std::string method;
    std::string target; // as sent: path and query, still percent-encoded
    std::map<std::string, std::string> headers; // names in lower case
    int connection = 0; // 1 for the first accepted connection, 2 for the next...
    // Header value, "" when absent; name in any case.
    std::string Header(const std::string& name) const;
};

// A loopback port nothing listens on, so connecting to it is refused.
int UnusedLoopbackPort();

class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Serves response for requests whose target equals path exactly. Paths
    // not added get a 404 without body.
    void Add(const std::string& path, HttpResponse response);

    int Port() const { return m_port; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;

    std::vector<HttpRequest> Requests() const;
    int ConnectionCount() const;

private:
    struct Connection {
        int fd = -1;
        std::thread thread;
    };

    void AcceptLoop();
    void Serve(int fd, int connectionNumber);
    bool ReadRequest(int fd, std::string& buffer, HttpRequest& request);
    bool Respond(int fd, const HttpRequest& request);
    bool SendBody(int fd, const HttpResponse& r, const std::string& payload);
    // Waits for d, or less when the server stops; false when it stops.
    bool Sleep(std::chrono::milliseconds d);
    bool Stopping() const;

    int m_listenFd = -1;
    int m_port = 0;
    std::thread m_acceptThread;

    mutable std::mutex m_mutex;
    std::condition_variable m_stopCv;
    bool m_stopping = false;
    std::map<std::string, HttpResponse> m_responses;
    std::vector<HttpRequest> m_requests;
    std::vector<Connection> m_connections;
};

} // namespace zorone::test
