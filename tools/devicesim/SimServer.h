#pragma once
// The simulated exchange's HTTP/1.x server on plain sockets: one thread per
// connection, kept-alive connections, and the misbehaviours a real device on
// a bad network shows (closing before the status line, a reset, a body cut
// short, stalled or trickled, no answer at all), which a library server
// cannot be made to produce.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace devicesim {

struct THttpRequest {
    int Connection = 0;    // number of the connection, from 1
    int OnConnection = 0;  // number of this request on its connection, from 1
    std::string Method;    // "GET", "POST"
    std::string Target;    // as sent: path and query
    std::string Path;      // the target up to "?"
    std::string Query;     // the raw text after "?", order and encoding kept
    std::string Version;   // "HTTP/1.0" or "HTTP/1.1"
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;

    // The first header of that name (any case); empty when absent.
    std::string Header(const std::string& name) const;
};

// How a reply leaves the device.
enum class TReplyFault {
    None,
    CloseBeforeStatus,  // reads the request, then closes without a byte
    Reset,              // reads the request, then resets the connection
    NoAnswer,           // reads the request and never answers
    CutBody,            // FaultAfter bytes of the body, then closes
    StallBody,          // FaultAfter bytes of the body, then silence
    EndlessBody,        // an announced length, then more bytes than that, for ever
    SilentClose,        // the whole reply as kept-alive, then closes anyway
};

enum class TBodyFraming { Length, Chunked, CloseDelimited };

struct THttpReply {
    int Status = 200;
    std::string ContentType = "text/plain";
    std::string Body;
    TBodyFraming Framing = TBodyFraming::Length;
    TReplyFault Fault = TReplyFault::None;
    int64_t FaultAfter = 0;
    int ChunkDelayMs = 0;  // pause before each piece of the body
    size_t ChunkSize = 4096;
};

// The reason phrase of a status.
const char* StatusReason(int status);

class TSimServer {
public:
    using THandler = std::function<void(const THttpRequest&, THttpReply&)>;

    explicit TSimServer(THandler handler);
    ~TSimServer();
    TSimServer(const TSimServer&) = delete;
    TSimServer& operator=(const TSimServer&) = delete;

    // Binds address:port (port 0: any free one) and serves. False when the
    // address cannot be bound. One Start per object.
    bool Start(const std::string& address, int port);
    int Port() const { return port_; }
    // Closes every connection, including stalled ones, and joins the threads.
    void Stop();

    // A kept-alive connection idle this long is closed (default 5000 ms).
    void SetIdleTimeout(int ms) { idleMs_ = ms; }

    int64_t BytesServed() const { return bytesServed_; }
    int64_t Connections() const { return connections_; }
    // One line per event of each connection ("3 accepted", "3 closed: idle").
    std::vector<std::string> Events() const;

private:
    struct TConnection {
        int Fd = -1;
        int Number = 0;
        std::thread Thread;
        std::atomic<bool> Done{false};
    };

    void acceptLoop();
    void serve(TConnection& c);
    bool readRequest(TConnection& c, std::string& pending, THttpRequest& req);
    bool writeReply(TConnection& c, const THttpRequest& req, const THttpReply& reply);
    bool sendAll(int fd, const char* data, size_t size);
    bool pause(int ms);  // false when the server stops meanwhile
    void event(int connection, const std::string& text);
    void reap(bool all);

    THandler handler_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    int port_ = -1;
    std::atomic<int> idleMs_{5000};
    std::atomic<bool> stopping_{false};
    std::atomic<int64_t> bytesServed_{0};
    std::atomic<int64_t> connections_{0};
    std::thread acceptThread_;

    mutable std::mutex mu_;
    std::condition_variable stopCv_;
    std::list<std::unique_ptr<TConnection>> live_;
    std::vector<std::string> events_;
};

}  // namespace devicesim
