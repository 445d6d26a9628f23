#pragma once
// Local servers for the HTTP tests, all on 127.0.0.1 with a port of the
// system's choosing: a raw socket server for replies no proper server sends,
// and a port that nothing listens on.
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

// Every byte value once, in order: file content that no text handling may touch.
inline std::string AllByteValues() {
    std::string s;
    for (int i = 0; i < 256; ++i) s += char(i);
    return s;
}

// One accepted connection of TRawServer.
class TRawConnection {
public:
    TRawConnection(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}
    // The request head and, when it announces a Content-Length, its body.
    std::string ReadRequest();
    void Send(std::string_view bytes);
    // Blocks until the peer closes or the server stops, ten seconds at most.
    void Stall();
    // Closes with a reset instead of an orderly close.
    void Reset();
    int Fd() const { return fd_; }

private:
    int fd_;
    const std::atomic<bool>& stopping_;
};

// Serves one connection at a time with the handler, then closes it.
class TRawServer {
public:
    using THandler = std::function<void(TRawConnection&)>;
    explicit TRawServer(THandler handler);
    ~TRawServer();
    TRawServer(const TRawServer&) = delete;
    TRawServer& operator=(const TRawServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "/") const;
    int Connections() const { return connections_; }

private:
    void loop();

    THandler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::thread thread_;
};

// A loopback port with nothing listening on it (a closed probe's port).
int UnusedPort();
