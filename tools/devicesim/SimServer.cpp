#include "SimServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <strings.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace devicesim {

namespace {

constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kMaxBody = 16 * 1024 * 1024;
constexpr size_t kMaxEvents = 20000;
// Once a request has begun, the rest of it must come within this.
constexpr int kRequestMs = 10000;

enum class TWait { Ready, Timeout, Stop };

// Waits until fd is readable, the time is up or the wake fd fires.
TWait WaitReadable(int fd, int wakeFd, int ms) {
    pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        const int n = ::poll(p, 2, ms);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return TWait::Timeout;
        if (p[1].revents) return TWait::Stop;
        return TWait::Ready;
    }
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string TrimBlanks(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    const size_t e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

bool ParseHead(const std::string& head, THttpRequest& req) {
    size_t lineEnd = head.find("\r\n");
    const std::string first = head.substr(0, lineEnd);
    const size_t s1 = first.find(' ');
    const size_t s2 = first.rfind(' ');
    if (s1 == std::string::npos || s2 == s1) return false;
    req.Method = first.substr(0, s1);
    req.Target = first.substr(s1 + 1, s2 - s1 - 1);
    req.Version = first.substr(s2 + 1);
    if (req.Version != "HTTP/1.0" && req.Version != "HTTP/1.1") return false;
    const size_t q = req.Target.find('?');
    req.Path = req.Target.substr(0, q);
    req.Query = q == std::string::npos ? std::string() : req.Target.substr(q + 1);
    while (lineEnd != std::string::npos && lineEnd + 2 < head.size()) {
        const size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos) return false;
        req.Headers.emplace_back(line.substr(0, colon), TrimBlanks(line.substr(colon + 1)));
    }
    return true;
}

bool KeepsAlive(const THttpRequest& req) {
    const std::string connection = Lower(req.Header("Connection"));
    if (req.Version == "HTTP/1.0") return connection == "keep-alive";
    return connection != "close";
}

const char* FaultName(TReplyFault f) {
    switch (f) {
    case TReplyFault::CloseBeforeStatus: return "closed before the status line";
    case TReplyFault::Reset: return "reset";
    case TReplyFault::NoAnswer: return "no answer";
    case TReplyFault::CutBody: return "body cut";
    case TReplyFault::StallBody: return "body stalled";
    case TReplyFault::EndlessBody: return "endless body";
    case TReplyFault::SilentClose: return "closed without saying so";
    case TReplyFault::None: break;
    }
    return "reply";
}

}  // namespace

std::string THttpRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : Headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return std::string();
}

const char* StatusReason(int status) {
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 423: return "Locked";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

TSimServer::TSimServer(THandler handler) : handler_(std::move(handler)) {}

TSimServer::~TSimServer() { Stop(); }

bool TSimServer::Start(const std::string& address, int port) {
    if (listenFd_ >= 0 || stopping_) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    if (::inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) return false;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 64) != 0) {
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        ::close(fd);
        return false;
    }
    listenFd_ = fd;
    port_ = ntohs(a.sin_port);
    acceptThread_ = std::thread([this] { acceptLoop(); });
    return true;
}

void TSimServer::Stop() {
    if (listenFd_ < 0) return;
    {
        std::lock_guard lk(mu_);
        if (stopping_.exchange(true)) return;
    }
    stopCv_.notify_all();
    const uint64_t one = 1;
    (void)!::write(wakeFd_, &one, sizeof one);
    if (acceptThread_.joinable()) acceptThread_.join();
    {
        std::lock_guard lk(mu_);
        for (auto& c : live_)
            if (c->Fd >= 0) ::shutdown(c->Fd, SHUT_RDWR);
    }
    reap(true);
    ::close(listenFd_);
    ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
}

std::vector<std::string> TSimServer::Events() const {
    std::lock_guard lk(mu_);
    return events_;
}

void TSimServer::event(int connection, const std::string& text) {
    std::lock_guard lk(mu_);
    if (events_.size() < kMaxEvents) events_.push_back(std::to_string(connection) + " " + text);
}

void TSimServer::reap(bool all) {
    std::list<std::unique_ptr<TConnection>> ended;
    {
        std::lock_guard lk(mu_);
        for (auto it = live_.begin(); it != live_.end();) {
            if (all || (*it)->Done) {
                ended.push_back(std::move(*it));
                it = live_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& c : ended) c->Thread.join();
}

void TSimServer::acceptLoop() {
    while (!stopping_) {
        if (WaitReadable(listenFd_, wakeFd_, 1000) != TWait::Ready) {
            reap(false);
            continue;
        }
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        // Head and body go out in separate writes: without this the second
        // waits for the client's delayed acknowledgement.
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto c = std::make_unique<TConnection>();
        c->Fd = fd;
        c->Number = int(++connections_);
        TConnection* raw = c.get();
        {
            std::lock_guard lk(mu_);
            live_.push_back(std::move(c));
        }
        event(raw->Number, "accepted");
        raw->Thread = std::thread([this, raw] { serve(*raw); });
        reap(false);
    }
}

void TSimServer::serve(TConnection& c) {
    std::string pending;
    std::string why = "reply done";
    for (int n = 1;; ++n) {
        THttpRequest req;
        req.Connection = c.Number;
        req.OnConnection = n;
        if (!readRequest(c, pending, req)) {
            why = stopping_ ? "server stopped" : "client closed or went idle";
            break;
        }
        event(c.Number, "request: " + req.Method + " " + req.Target);
        THttpReply reply;
        try {
            handler_(req, reply);
        } catch (const std::exception& e) {
            reply = THttpReply{};
            reply.Status = 500;
            reply.Body = "500 " + std::string(e.what());
        }
        if (!writeReply(c, req, reply)) {
            why = reply.Fault == TReplyFault::None ? "closed after the reply" : FaultName(reply.Fault);
            break;
        }
    }
    event(c.Number, "closed: " + why);
    {
        std::lock_guard lk(mu_);
        ::close(c.Fd);
        c.Fd = -1;
    }
    c.Done = true;
}

bool TSimServer::readRequest(TConnection& c, std::string& pending, THttpRequest& req) {
    auto more = [&](int ms) {
        if (WaitReadable(c.Fd, wakeFd_, ms) != TWait::Ready) return false;
        char buf[16384];
        const ssize_t n = ::recv(c.Fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        pending.append(buf, size_t(n));
        return true;
    };
    size_t headEnd;
    while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
        if (pending.size() > kMaxHead || !more(pending.empty() ? idleMs_.load() : kRequestMs)) return false;
    }
    if (!ParseHead(pending.substr(0, headEnd), req)) return false;
    pending.erase(0, headEnd + 4);
    const std::string length = req.Header("Content-Length");
    if (!length.empty()) {
        const size_t want = size_t(std::strtoull(length.c_str(), nullptr, 10));
        if (want > kMaxBody) return false;
        while (pending.size() < want)
            if (!more(kRequestMs)) return false;
        req.Body = pending.substr(0, want);
        pending.erase(0, want);
    }
    return true;
}

bool TSimServer::sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytesServed_ += n;
        data += n;
        size -= size_t(n);
    }
    return true;
}

bool TSimServer::pause(int ms) {
    std::unique_lock lk(mu_);
    return !stopCv_.wait_for(lk, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
}

bool TSimServer::writeReply(TConnection& c, const THttpRequest& req, const THttpReply& reply) {
    // Holds the connection open until the client gives up or the server stops.
    auto holdOpen = [&] {
        char buf[4096];
        while (WaitReadable(c.Fd, wakeFd_, 1000) != TWait::Stop) {
            const ssize_t n = ::recv(c.Fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return;
        }
    };
    switch (reply.Fault) {
    case TReplyFault::CloseBeforeStatus: return false;
    case TReplyFault::Reset: {
        linger l{1, 0};
        ::setsockopt(c.Fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        return false;
    }
    case TReplyFault::NoAnswer: holdOpen(); return false;
    default: break;
    }

    const bool keepAlive = KeepsAlive(req) && reply.Framing != TBodyFraming::CloseDelimited;
    std::string head = "HTTP/1.1 " + std::to_string(reply.Status) + " " + StatusReason(reply.Status) + "\r\n";
    head += "Content-Type: " + reply.ContentType + "\r\n";
    if (reply.Framing == TBodyFraming::Length)
        head += "Content-Length: " + std::to_string(reply.Body.size()) + "\r\n";
    else if (reply.Framing == TBodyFraming::Chunked)
        head += "Transfer-Encoding: chunked\r\n";
    head += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    if (!sendAll(c.Fd, head.data(), head.size())) return false;

    int64_t limit = int64_t(reply.Body.size());
    if (reply.Fault == TReplyFault::CutBody || reply.Fault == TReplyFault::StallBody)
        limit = std::min(limit, std::max<int64_t>(0, reply.FaultAfter));
    const size_t piece = std::max<size_t>(1, reply.ChunkSize);
    for (int64_t at = 0; at < limit;) {
        if (reply.ChunkDelayMs > 0 && !pause(reply.ChunkDelayMs)) return false;
        const size_t n = size_t(std::min<int64_t>(int64_t(piece), limit - at));
        if (reply.Framing == TBodyFraming::Chunked) {
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", n);
            if (!sendAll(c.Fd, size, std::char_traits<char>::length(size))) return false;
        }
        if (!sendAll(c.Fd, reply.Body.data() + at, n)) return false;
        if (reply.Framing == TBodyFraming::Chunked && !sendAll(c.Fd, "\r\n", 2)) return false;
        at += int64_t(n);
    }
    switch (reply.Fault) {
    case TReplyFault::CutBody: return false;
    case TReplyFault::StallBody: holdOpen(); return false;
    case TReplyFault::EndlessBody: {
        const std::string filler(piece, 'x');
        while (!stopping_ && sendAll(c.Fd, filler.data(), filler.size()))
            if (reply.ChunkDelayMs > 0 && !pause(reply.ChunkDelayMs)) break;
        return false;
    }
    default: break;
    }
    if (reply.Framing == TBodyFraming::Chunked && !sendAll(c.Fd, "0\r\n\r\n", 5)) return false;
    return keepAlive && reply.Fault != TReplyFault::SilentClose;
}

}  // namespace devicesim
