#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace zorone::test {

int UnusedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd); // nothing listens there now
    return ntohs(addr.sin_port);
}

namespace {

constexpr std::size_t kMaxRequestHead = 64 * 1024;
constexpr std::size_t kMaxRequestBody = 1024 * 1024;
constexpr std::size_t kChunkSize = 16 * 1024;

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

const char* Reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

std::string Gzip(const std::string& data)
{
    z_stream zs {};
    if (deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    return out;
}

std::string Chunked(const std::string& payload, std::size_t pieceSize)
{
    std::string out;
    char size[32];
    for (std::size_t at = 0; at < payload.size(); at += pieceSize) {
        const std::size_t n = std::min(pieceSize, payload.size() - at);
        std::snprintf(size, sizeof size, "%zx\r\n", n);
        out += size;
        out.append(payload, at, n);
        out += "\r\n";
    }
    out += "0\r\n\r\n";
    return out;
}

bool SendAll(int fd, const char* data, std::size_t n)
{
    while (n > 0) {
        const ssize_t put = ::send(fd, data, n, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

} // namespace

HttpResponse HttpResponse::Ok(std::string body, std::string contentType)
{
    HttpResponse r;
    r.body = std::move(body);
    r.headers.emplace_back("Content-Type", std::move(contentType));
    return r;
}

HttpResponse HttpResponse::Status(int status, std::string body)
{
    HttpResponse r;
    r.status = status;
    r.body = std::move(body);
    return r;
}

HttpResponse HttpResponse::Redirect(std::string location, int status)
{
    HttpResponse r;
    r.status = status;
    r.headers.emplace_back("Location", std::move(location));
    r.body = "moved";
    return r;
}

std::string HttpRequest::Header(const std::string& name) const
{
    const auto it = headers.find(Lower(name));
    return it == headers.end() ? std::string() : it->second;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        throw std::runtime_error("socket failed");
    const int one = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listenFd, 128) != 0
        || ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(m_listenFd);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    m_port = ntohs(addr.sin_port);
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopCv.notify_all();
    // Shutting the sockets down wakes the threads blocked in accept or recv.
    ::shutdown(m_listenFd, SHUT_RDWR);
    m_acceptThread.join();
    ::close(m_listenFd);
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        for (auto& c : m_connections) {
            if (c.fd >= 0)
                ::shutdown(c.fd, SHUT_RDWR);
            threads.push_back(std::move(c.thread));
        }
    }
    for (auto& t : threads)
        t.join();
}

void LoopbackHttpServer::Add(const std::string& path, HttpResponse response)
{
    std::lock_guard lock(m_mutex);
    m_responses[path] = std::move(response);
}

std::string LoopbackHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::vector<HttpRequest> LoopbackHttpServer::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

int LoopbackHttpServer::ConnectionCount() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_connections.size());
}

bool LoopbackHttpServer::Stopping() const
{
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

bool LoopbackHttpServer::Sleep(std::chrono::milliseconds d)
{
    std::unique_lock lock(m_mutex);
    return !m_stopCv.wait_for(lock, d, [this] { return m_stopping; });
}

void LoopbackHttpServer::AcceptLoop()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            if (fd >= 0)
                ::close(fd);
            return;
        }
        if (fd < 0)
            continue;
        // Headers and body go out in separate writes; without this each
        // response waits for the client's delayed acknowledgement.
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const int number = static_cast<int>(m_connections.size()) + 1;
        m_connections.push_back({ fd, std::thread([this, fd, number] { Serve(fd, number); }) });
    }
}

void LoopbackHttpServer::Serve(int fd, int connectionNumber)
{
    std::string buffer;
    for (;;) {
        HttpRequest request;
        request.connection = connectionNumber;
        if (!ReadRequest(fd, buffer, request))
            break;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        if (!Respond(fd, request))
            break;
    }
    std::lock_guard lock(m_mutex);
    auto& c = m_connections[static_cast<std::size_t>(connectionNumber - 1)];
    if (c.fd >= 0)
        ::close(c.fd);
    c.fd = -1;
}

bool LoopbackHttpServer::ReadRequest(int fd, std::string& buffer, HttpRequest& request)
{
    char chunk[4096];
    std::size_t end;
    while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
        if (buffer.size() > kMaxRequestHead)
            return false;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
    const std::string head = buffer.substr(0, end);
    buffer.erase(0, end + 4);

    std::size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const auto sp1 = requestLine.find(' ');
    const auto sp2 = requestLine.find(' ', sp1 + 1);
    if (sp1 == std::string::npos || sp2 == std::string::npos)
        return false;
    request.method = requestLine.substr(0, sp1);
    request.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    while (lineEnd != std::string::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const auto colon = line.find(':');
        if (colon != std::string::npos)
            request.headers[Lower(Trim(line.substr(0, colon)))] = Trim(line.substr(colon + 1));
    }

    // A request body is read and dropped so the next request on the
    // connection starts where it should.
    const std::string length = request.Header("Content-Length");
    const std::size_t bodyLength = length.empty() ? 0 : std::stoul(length);
    if (bodyLength > kMaxRequestBody)
        return false;
    while (buffer.size() < bodyLength) {
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0)
            return false;
        buffer.append(chunk, static_cast<std::size_t>(got));
    }
    buffer.erase(0, bodyLength);
    return true;
}

bool LoopbackHttpServer::Respond(int fd, const HttpRequest& request)
{
    HttpResponse r = HttpResponse::Status(404);
    {
        std::lock_guard lock(m_mutex);
        if (const auto it = m_responses.find(request.target); it != m_responses.end())
            r = it->second;
    }
    if (r.delay.count() > 0 && !Sleep(r.delay))
        return false;
    if (r.stallBeforeHeaders) {
        Sleep(std::chrono::hours(24));
        return false;
    }

    if (r.conditional) {
        for (const auto& [name, value] : r.headers) {
            const std::string asked = request.Header(Lower(name) == "etag" ? "If-None-Match" : "If-Modified-Since");
            if ((Lower(name) == "etag" || Lower(name) == "last-modified") && !asked.empty() && asked == value) {
                r.status = 304;
                r.body.clear();
                r.gzip = false;
                r.framing = HttpResponse::Framing::ContentLength;
            }
        }
    }
    const std::string payload = r.gzip ? Gzip(r.body) : r.body;
    std::string head = "HTTP/1.1 " + std::to_string(r.status) + " " + Reason(r.status) + "\r\n";
    for (const auto& [name, value] : r.headers)
        head += name + ": " + value + "\r\n";
    if (r.gzip)
        head += "Content-Encoding: gzip\r\n";
    switch (r.framing) {
    case HttpResponse::Framing::ContentLength:
        head += "Content-Length: " + std::to_string(payload.size()) + "\r\n";
        break;
    case HttpResponse::Framing::Chunked:
        head += "Transfer-Encoding: chunked\r\n";
        break;
    case HttpResponse::Framing::CloseDelimited:
        head += "Connection: close\r\n";
        break;
    }
    head += "\r\n";
    if (!SendAll(fd, head.data(), head.size()))
        return false;
    if (r.stallAfterHeaders) {
        Sleep(std::chrono::hours(24));
        return false;
    }
    if (request.method == "HEAD")
        return true;
    if (!SendBody(fd, r, payload))
        return false;
    return r.framing != HttpResponse::Framing::CloseDelimited && Lower(request.Header("Connection")) != "close";
}

bool LoopbackHttpServer::SendBody(int fd, const HttpResponse& r, const std::string& payload)
{
    const std::size_t piece = r.dripBytes > 0 ? r.dripBytes : kChunkSize;
    const std::string wire = r.framing == HttpResponse::Framing::Chunked ? Chunked(payload, piece) : payload;
    std::size_t limit = wire.size();
    if (r.resetAfter)
        limit = std::min(limit, *r.resetAfter);
    if (r.closeAfter)
        limit = std::min(limit, *r.closeAfter);

    for (std::size_t at = 0; at < limit; at += piece) {
        if (at > 0 && r.dripBytes > 0 && !Sleep(r.dripInterval))
            return false;
        if (!SendAll(fd, wire.data() + at, std::min(piece, limit - at)))
            return false;
    }
    if (r.resetAfter) {
        // Zero linger makes close send RST instead of FIN.
        const linger hard { 1, 0 };
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        return false;
    }
    return !r.closeAfter;
}

} // namespace zorone::test
