// The least a downloader has to do to fetch a site it already knows: every
// file is asked for once over N keep-alive HTTP/1.1 connections, one request
// at a time on each, and the answers are read and thrown away. Nothing is
// discovered, parsed for links or written, so its wall time is the floor a
// crawl of the same files through the same server (and delaying proxy) can
// approach. With --if-modified-since-from, each request carries the time of
// the same file below that folder, as an update crawl does.
//
// Built by run.sh with the system compiler; plain POSIX sockets.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Connection {
    int fd = -1;
    std::string in;       // bytes of the answer being read
    size_t bodyLeft = 0;  // body bytes still to come once the header is read
    bool headerDone = false;
};

std::string HttpDate(time_t t)
{
    char text[64];
    std::tm tm {};
    gmtime_r(&t, &tm);
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &tm);
    return text;
}

size_t ContentLength(const std::string& header)
{
    for (size_t at = header.find("\r\n"); at != std::string::npos; at = header.find("\r\n", at + 2)) {
        static const char kName[] = "content-length:";
        if (strncasecmp(header.c_str() + at + 2, kName, sizeof kName - 1) == 0)
            return std::stoul(header.substr(at + 2 + sizeof kName - 1));
    }
    return 0;
}

int Usage()
{
    std::cerr << "usage: request_floor --port P --connections N --list FILE [--if-modified-since-from DIR]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int port = 0;
    size_t connections = 0;
    std::string listPath, timesFrom;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--port")
            port = std::atoi(argv[i + 1]);
        else if (key == "--connections")
            connections = std::strtoul(argv[i + 1], nullptr, 10);
        else if (key == "--list")
            listPath = argv[i + 1];
        else if (key == "--if-modified-since-from")
            timesFrom = argv[i + 1];
        else
            return Usage();
    }
    if (port <= 0 || connections == 0 || listPath.empty())
        return Usage();

    std::vector<std::string> requests;
    std::ifstream list(listPath);
    for (std::string path; std::getline(list, path);) {
        if (path.empty())
            continue;
        std::string request = "GET /" + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
        if (!timesFrom.empty()) {
            struct stat st {};
            if (::stat((timesFrom + "/" + path).c_str(), &st) == 0)
                request += "If-Modified-Since: " + HttpDate(st.st_mtime) + "\r\n";
        }
        requests.push_back(request + "\r\n");
    }

    std::vector<Connection> conns(std::min(connections, requests.size()));
    std::vector<pollfd> polls(conns.size());
    for (size_t i = 0; i < conns.size(); ++i) {
        conns[i].fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(conns[i].fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(conns[i].fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            std::perror("connect");
            return 1;
        }
        polls[i] = {conns[i].fd, POLLIN, 0};
    }

    size_t next = 0, answered = 0;
    std::map<int, size_t> statuses;
    auto send = [&](Connection& c) {
        if (next == requests.size())
            return true;
        const std::string& request = requests[next++];
        return ::send(c.fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
    };
    for (Connection& c : conns)
        if (!send(c))
            return 1;

    std::vector<char> buffer(1 << 16);
    while (answered < requests.size()) {
        if (::poll(polls.data(), polls.size(), 30000) <= 0) {
            std::cerr << "no answer for 30 s\n";
            return 1;
        }
        for (size_t i = 0; i < conns.size(); ++i) {
            if (!(polls[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            Connection& c = conns[i];
            const ssize_t got = ::recv(c.fd, buffer.data(), buffer.size(), 0);
            if (got <= 0) {
                std::cerr << "the server closed a connection after " << answered << " answers\n";
                return 1;
            }
            size_t used = static_cast<size_t>(got);
            if (!c.headerDone) {
                c.in.append(buffer.data(), used);
                const size_t end = c.in.find("\r\n\r\n");
                if (end == std::string::npos)
                    continue;
                const int status = std::atoi(c.in.c_str() + 9);
                ++statuses[status];
                // 304 and HEAD-like answers carry no body whatever they say.
                c.bodyLeft = status == 304 ? 0 : ContentLength(c.in.substr(0, end + 2));
                used = c.in.size() - (end + 4);
                c.headerDone = true;
                c.in.clear();
            }
            c.bodyLeft -= std::min(c.bodyLeft, used);
            if (c.bodyLeft == 0) {
                c.headerDone = false;
                ++answered;
                if (!send(c))
                    return 1;
            }
        }
    }
    std::cout << "requests " << requests.size();
    for (const auto& [status, count] : statuses)
        std::cout << ", " << status << ": " << count;
    std::cout << '\n';
    for (Connection& c : conns)
        ::close(c.fd);
    return 0;
}
