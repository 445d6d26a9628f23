#include "TestServers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>
#include <stdexcept>

namespace {

int ListenLoopback(int backlog) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket");
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, backlog) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen");
    }
    return fd;
}

int PortOf(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

// Waits for the fd to be readable; false when the server stops first or
// after about five seconds.
bool WaitReadable(int fd, const std::atomic<bool>& stopping) {
    for (int i = 0; i < 500 && !stopping; ++i) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) return true;
    }
    return false;
}

}  // namespace

std::string TRawConnection::ReadRequest() {
    std::string data;
    size_t headEnd = std::string::npos;
    size_t want = std::string::npos;
    char buf[4096];
    while (want == std::string::npos || data.size() < want) {
        if (!WaitReadable(fd_, stopping_)) break;
        ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) break;
        data.append(buf, size_t(n));
        if (headEnd == std::string::npos && (headEnd = data.find("\r\n\r\n")) != std::string::npos) {
            size_t length = 0;
            size_t lineStart = data.find("\r\n") + 2;
            while (lineStart < headEnd) {
                size_t lineEnd = data.find("\r\n", lineStart);
                std::string line = data.substr(lineStart, lineEnd - lineStart);
                if (strncasecmp(line.c_str(), "Content-Length:", 15) == 0) length = std::stoul(line.substr(15));
                lineStart = lineEnd + 2;
            }
            want = headEnd + 4 + length;
        }
    }
    return data;
}

void TRawConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        bytes.remove_prefix(size_t(n));
    }
}

void TRawConnection::Stall() {
    char buf[4096];
    // Bounded, so a client that never gives up ends the test with a wrong
    // result instead of hanging it.
    for (int i = 0; i < 1000 && !stopping_; ++i) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0 && ::recv(fd_, buf, sizeof buf, 0) <= 0) return;
    }
}

void TRawConnection::Reset() {
    linger l{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
}

TRawServer::TRawServer(THandler handler) : handler_(std::move(handler)) {
    listenFd_ = ListenLoopback(16);
    port_ = PortOf(listenFd_);
    thread_ = std::thread([this] { loop(); });
}

TRawServer::~TRawServer() {
    stopping_ = true;
    thread_.join();
    ::close(listenFd_);
}

std::string TRawServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void TRawServer::loop() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0) continue;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++connections_;
        TRawConnection c(fd, stopping_);
        handler_(c);
        ::close(fd);
    }
}

int UnusedPort() {
    int fd = ListenLoopback(1);
    int port = PortOf(fd);
    ::close(fd);
    return port;
}
