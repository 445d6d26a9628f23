// The HTTP client against local servers: a proper one (cpp-httplib) for the
// normal exchanges and a raw socket server for the broken ones. Each failure
// kind comes from a real transfer.
#include "net/HttpClient.h"

#include "TestServers.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

namespace {

const std::string kBinary("head\0\r\n\xff\x80tail", 12);

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = char('a' + i % 26);
    return s;
}

class HttpServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        svr_.Get("/text", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kBinary, "application/octet-stream");
        });
        svr_.Get("/denied", [](const httplib::Request&, httplib::Response& res) {
            res.status = 405;
            res.set_content("Error 405: wrong password", "text/plain");
        });
        svr_.Get("/setcookie", [](const httplib::Request&, httplib::Response& res) {
            res.set_header("Set-Cookie", "sid=abc123; Path=/");
            res.set_content("ok", "text/plain");
        });
        svr_.Get("/cookie", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.get_header_value("Cookie"), "text/plain");
        });
        svr_.Get("/port", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(std::to_string(req.remote_port), "text/plain");
        });
        svr_.Get("/big", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(Pattern(100000), "application/octet-stream");
        });
        svr_.Get("/chunked", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                if (offset >= 30000) {
                    sink.done();
                    return true;
                }
                std::string piece = Pattern(10000);
                sink.write(piece.data(), piece.size());
                return true;
            });
        });
        port_ = svr_.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { svr_.listen_after_bind(); });
        // stop() before the loop runs would be lost and the join would hang.
        for (int i = 0; i < 5000 && !svr_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(svr_.is_running());
    }
    void TearDown() override {
        svr_.stop();
        thread_.join();
    }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    httplib::Server svr_;
    int port_ = 0;
    std::thread thread_;
};

// Runs f, which must raise an EHttpError, and returns its kind.
template <class F>
EHttpError::TKind KindOf(F f) {
    try {
        f();
    } catch (const EHttpError& e) {
        return e.Kind;
    }
    ADD_FAILURE() << "no EHttpError raised";
    return EHttpError::TKind::Other;
}

}  // namespace

TEST_F(HttpServerTest, GetDeliversBytesUnchangedOverOneKeptConnection) {
    THttpClient http;
    EXPECT_EQ(http.Get(Url("/text")), kBinary);
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(http.ResponseText(), "HTTP/1.1 200 OK");
    EXPECT_FALSE(http.LastReplyTruncated());
    EXPECT_EQ(http.LastRequestSends(), 1);

    std::string sunk;
    http.Get(Url("/text"), [&](const char* p, size_t n) { sunk.append(p, n); });
    EXPECT_EQ(sunk, kBinary);

    // The kept-alive connection serves the next request; Disconnect drops it.
    std::string first = http.Get(Url("/port"));
    EXPECT_EQ(http.Get(Url("/port")), first);
    http.Disconnect();
    const std::string second = http.Get(Url("/port"));
    EXPECT_NE(second, first);
    // A fresh connection is asked for: the kept one is not used, for text or a sink.
    http.FreshConnection = true;
    const std::string third = http.Get(Url("/port"));
    EXPECT_NE(third, second);
    std::string fourth;
    http.Get(Url("/port"), [&](const char* p, size_t n) { fourth.append(p, n); });
    EXPECT_NE(fourth, third);
}

TEST_F(HttpServerTest, ErrorStatusCarriesStatusLineAndBodyAndNothingReachesTheSink) {
    THttpClient http;
    try {
        http.Get(Url("/denied"));
        FAIL() << "no error";
    } catch (const EHttpProtocolError& e) {
        EXPECT_EQ(e.Kind, EHttpError::TKind::ProtocolError);
        EXPECT_EQ(e.ErrorCode, 405);
        EXPECT_EQ(e.StatusLine, "HTTP/1.1 405 Method Not Allowed");
        EXPECT_EQ(e.ErrorMessage, "Error 405: wrong password");
    }
    std::string sunk;
    EXPECT_THROW(http.Get(Url("/denied"), [&](const char* p, size_t n) { sunk.append(p, n); }), EHttpProtocolError);
    EXPECT_EQ(sunk, "");
    EXPECT_EQ(http.ResponseCode(), 405);
}

TEST_F(HttpServerTest, CookiesGoBackToTheSameClientOnly) {
    THttpClient a, b;
    EXPECT_EQ(a.Get(Url("/cookie")), "");
    a.Get(Url("/setcookie"));
    EXPECT_EQ(a.Get(Url("/cookie")), "sid=abc123");
    a.Disconnect();
    EXPECT_EQ(a.Get(Url("/cookie")), "sid=abc123");
    EXPECT_EQ(b.Get(Url("/cookie")), "");
}

TEST_F(HttpServerTest, ProgressReportsEachBodyOnTheCallingThread) {
    THttpClient http;
    std::vector<int64_t> begins, works;
    const auto caller = std::this_thread::get_id();
    bool sameThread = true;
    http.OnWorkBegin = [&](int64_t expected) {
        begins.push_back(expected);
        sameThread = sameThread && std::this_thread::get_id() == caller;
    };
    http.OnWork = [&](int64_t soFar) {
        works.push_back(soFar);
        sameThread = sameThread && std::this_thread::get_id() == caller;
    };
    size_t sunk = 0;
    http.Get(Url("/big"), [&](const char*, size_t n) { sunk += n; });
    EXPECT_TRUE(sameThread);
    EXPECT_EQ(begins, std::vector<int64_t>{100000});
    ASSERT_FALSE(works.empty());
    EXPECT_TRUE(std::is_sorted(works.begin(), works.end()));
    EXPECT_EQ(works.back(), 100000);
    EXPECT_EQ(sunk, 100000u);

    // A second body starts counting again; an unannounced length is -1.
    works.clear();
    EXPECT_EQ(http.Get(Url("/chunked")), Pattern(10000) + Pattern(10000) + Pattern(10000));
    EXPECT_EQ(begins.back(), -1);
    EXPECT_EQ(works.back(), 30000);

    // Error bodies are not progress.
    begins.clear();
    EXPECT_THROW(http.Get(Url("/denied")), EHttpProtocolError);
    EXPECT_TRUE(begins.empty());
}

TEST_F(HttpServerTest, ExceptionOfAHandlerOrSinkAbortsTheRequestAndPropagates) {
    THttpClient http;
    http.OnWork = [](int64_t soFar) {
        if (soFar > 0) throw EAbort("stop");
    };
    EXPECT_THROW(http.Get(Url("/big")), EAbort);
    http.OnWork = nullptr;
    http.OnWorkBegin = [](int64_t) { throw EConvertError("begin"); };
    EXPECT_THROW(http.Get(Url("/big")), EConvertError);
    http.OnWorkBegin = nullptr;
    EXPECT_THROW(http.Get(Url("/big"), [](const char*, size_t) { throw EWriteError("disk full"); }), EWriteError);
    // The client is usable afterwards.
    EXPECT_EQ(http.Get(Url("/text")), kBinary);
}

TEST_F(HttpServerTest, ReplyOverTheCapIsTooLarge) {
    THttpClient http;
    http.MaxResponseSize = 1000;
    EXPECT_EQ(KindOf([&] { http.Get(Url("/big")); }), EHttpError::TKind::TooLarge);
    size_t sunk = 0;
    EXPECT_EQ(KindOf([&] { http.Get(Url("/chunked"), [&](const char*, size_t n) { sunk += n; }); }),
              EHttpError::TKind::TooLarge);
    EXPECT_LE(sunk, 1000u);
    http.MaxResponseSize = 100000;
    EXPECT_EQ(http.Get(Url("/big")).size(), 100000u);
}

TEST_F(HttpServerTest, OnlyPlainHttpUrlsAreFetched) {
    THttpClient http;
    EXPECT_EQ(KindOf([&] { http.Get("file:///etc/hostname"); }), EHttpError::TKind::Other);
    EXPECT_EQ(KindOf([&] { http.Get("https://127.0.0.1:" + std::to_string(port_) + "/text"); }),
              EHttpError::TKind::Other);
    EXPECT_EQ(KindOf([&] { http.Get("not a url"); }), EHttpError::TKind::Other);
}

// --- broken servers ---------------------------------------------------------

TEST(HttpFailures, ConnectionClosedBeforeTheStatusLine) {
    TRawServer server([](TRawConnection& c) { c.ReadRequest(); });
    THttpClient http;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::ClosedGracefully);
}

TEST(HttpFailures, BodyCutShortOfItsLength) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(40, 'x'));
    });
    THttpClient http;
    // A text keeps what arrived and is flagged.
    EXPECT_EQ(http.Get(server.Url()), std::string(40, 'x'));
    EXPECT_TRUE(http.LastReplyTruncated());
    // A download into a sink fails.
    try {
        http.Get(server.Url(), [](const char*, size_t) {});
        FAIL() << "no error";
    } catch (const EHttpTruncated& e) {
        EXPECT_EQ(e.Kind, EHttpError::TKind::Truncated);
        EXPECT_EQ(e.BytesReceived, 40);
    }

    // What is told of the last reply is of that reply alone.
    TRawServer whole([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });
    EXPECT_EQ(http.Get(server.Url()), std::string(40, 'x'));
    EXPECT_EQ(http.Get(whole.Url()), "ok");
    EXPECT_FALSE(http.LastReplyTruncated());
    EXPECT_EQ(http.ResponseCode(), 200);
    EXPECT_EQ(KindOf([&] { http.Get("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/"); }),
              EHttpError::TKind::SocketError);
    EXPECT_EQ(http.ResponseCode(), 0);
    EXPECT_EQ(http.ResponseText(), "");
}

// Trailers after a chunked body end with a blank line of their own: it
// starts no second body.
TEST(HttpFailures, TrailersAfterAChunkedBodyStartNothing) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\nX-Check: 1\r\n\r\n");
    });
    THttpClient http;
    int begins = 0;
    http.OnWorkBegin = [&](int64_t) { ++begins; };
    EXPECT_EQ(http.Get(server.Url()), "hello");
    EXPECT_EQ(begins, 1);
}

// The read time-out counts silence, not the length of the whole transfer.
TEST(HttpFailures, ASlowButSteadyBodyIsNotCut) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n");
        for (int i = 0; i < 12; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            c.Send("x");
        }
    });
    THttpClient http;
    http.ReadTimeout = 1000;
    EXPECT_EQ(http.Get(server.Url()), std::string(12, 'x'));
}

TEST(HttpFailures, UnfinishedChunkedBodyIsTruncated) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n");
    });
    THttpClient http;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url(), [](const char*, size_t) {}); }), EHttpError::TKind::Truncated);
}

// An error status whose body is cut short is still the device's answer:
// its status and the body as far as it came.
TEST(HttpFailures, ErrorStatusWithABodyCutShortKeepsItsStatus) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 100\r\n\r\n404 File");
    });
    THttpClient http;
    for (bool sink : {false, true}) {
        try {
            if (sink)
                http.Get(server.Url(), [](const char*, size_t) { ADD_FAILURE() << "an error body reached the sink"; });
            else
                http.Get(server.Url());
            ADD_FAILURE() << "no error";
        } catch (const EHttpProtocolError& e) {
            EXPECT_EQ(e.ErrorCode, 404);
            EXPECT_EQ(e.ErrorMessage, "404 File");
        }
    }
}

// Only a 2xx status is a success: a redirect is not followed and not taken
// for the content.
TEST(HttpFailures, RedirectIsAProtocolError) {
    for (const std::string status : {"302 Found", "300 Multiple Choices"}) {
        TRawServer server([&](TRawConnection& c) {
            c.ReadRequest();
            c.Send("HTTP/1.1 " + status + "\r\nLocation: /elsewhere\r\nContent-Length: 5\r\n\r\nmoved");
        });
        THttpClient http;
        try {
            http.Get(server.Url());
            FAIL() << "no error for " << status;
        } catch (const EHttpProtocolError& e) {
            EXPECT_EQ(e.ErrorCode, std::stoi(status));
            EXPECT_EQ(e.StatusLine, "HTTP/1.1 " + status);
        }
        EXPECT_EQ(server.Connections(), 1);
    }
}

// An interim status (102 Processing) is not the reply: the wait for the
// real one runs on the read time-out, not on the short limit of error bodies.
TEST(HttpFailures, InterimStatusThenTheReply) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 102 Processing\r\n\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello");
    });
    THttpClient http;
    http.ReadTimeout = 20000;
    http.ErrorBodyTimeout = 200;
    EXPECT_EQ(http.Get(server.Url()), "hello");
    EXPECT_EQ(http.ResponseCode(), 200);
}

// The body of an error status is kept up to the reply cap, never beyond.
TEST(HttpFailures, ErrorBodyOverTheCapIsTooLarge) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 200\r\n\r\n" + std::string(200, 'e'));
    });
    THttpClient http;
    http.MaxResponseSize = 100;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::TooLarge);
    http.MaxResponseSize = 200;
    try {
        http.Get(server.Url());
        FAIL() << "no error";
    } catch (const EHttpProtocolError& e) {
        EXPECT_EQ(e.ErrorMessage, std::string(200, 'e'));
    }
}

TEST(HttpFailures, StalledBodyHitsTheReadTimeout) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
        c.Stall();
    });
    THttpClient http;
    http.ReadTimeout = 300;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::ReadTimeout);
}

TEST(HttpFailures, SilentServerHitsTheReadTimeout) {
    TRawServer server([](TRawConnection& c) { c.Stall(); });
    THttpClient http;
    http.ReadTimeout = 300;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::ReadTimeout);
}

TEST(HttpFailures, StalledErrorBodyHasItsOwnIdleLimit) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 100\r\n\r\npartial");
        c.Stall();
    });
    THttpClient http;
    http.ReadTimeout = 0;  // no limit for good bodies
    http.ErrorBodyTimeout = 300;
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::ReadTimeout);
}

TEST(HttpFailures, UnreadableStatusLineIsAProtocolErrorWithoutStatus) {
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("SOMETHING ELSE\r\n\r\nbody");
    });
    THttpClient http;
    try {
        http.Get(server.Url());
        FAIL() << "no error";
    } catch (const EHttpProtocolError& e) {
        EXPECT_EQ(e.ErrorCode, -1);
        EXPECT_EQ(e.ErrorMessage, "");
    }
}

TEST(HttpFailures, RefusedAndResetConnectionsAreSocketErrors) {
    THttpClient http;
    try {
        http.Get("http://127.0.0.1:" + std::to_string(UnusedPort()) + "/");
        FAIL() << "no error";
    } catch (const EHttpSocketError& e) {
        EXPECT_EQ(e.Kind, EHttpError::TKind::SocketError);
        EXPECT_EQ(e.OSError, ECONNREFUSED);
    }
    EXPECT_EQ(http.LastRequestSends(), 0);  // nothing went out

    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        c.Reset();
    });
    try {
        http.Get(server.Url(), [](const char*, size_t) {});
        FAIL() << "no error";
    } catch (const EHttpSocketError& e) {
        EXPECT_EQ(e.OSError, ECONNRESET);
    }
}

namespace {

// A listener whose accept queue is full: further connection attempts get no
// answer, as with an address where nothing replies.
class TFullBacklog {
public:
    TFullBacklog() {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_, 0);
        socklen_t len = sizeof a;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
        for (int i = 0; i < 4; ++i) {
            int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
            fillers_.push_back(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ~TFullBacklog() {
        for (int fd : fillers_) ::close(fd);
        ::close(listen_);
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    int listen_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

}  // namespace

TEST(HttpFailures, UnansweredConnectHitsTheConnectTimeoutAsASocketError) {
    TFullBacklog blackhole;
    THttpClient http;
    http.ConnectTimeout = 300;
    http.ReadTimeout = 300;
    try {
        http.Get(blackhole.Url());
        FAIL() << "no error";
    } catch (const EHttpSocketError& e) {
        EXPECT_EQ(e.Kind, EHttpError::TKind::ConnectTimeout);
        EXPECT_EQ(e.OSError, ETIMEDOUT);
    }
}

TEST(HttpCancel, CancelFromAnotherThreadEndsABlockedCall) {
    std::atomic<int> served{0};
    TRawServer server([&](TRawConnection& c) {
        c.ReadRequest();
        if (served++ == 0) {
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n0123456789");
            c.Stall();
        } else {
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
        }
    });
    THttpClient http;
    http.ReadTimeout = 0;  // only Cancel can end the stalled body
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        http.Cancel();
    });
    EXPECT_EQ(KindOf([&] { http.Get(server.Url(), [](const char*, size_t) {}); }), EHttpError::TKind::Cancelled);
    canceller.join();

    // Sticky until reset, so a Cancel just before a request is not lost.
    EXPECT_EQ(http.ResponseCode(), 200);  // the stalled reply had its status
    EXPECT_EQ(KindOf([&] { http.Get(server.Url()); }), EHttpError::TKind::Cancelled);
    EXPECT_EQ(http.ResponseCode(), 0);  // the request that never went out had none
    EXPECT_EQ(served, 1);
    http.ResetCancel();
    EXPECT_EQ(http.Get(server.Url()), "ok");
    // The cancelled request never even connected.
    EXPECT_EQ(server.Connections(), 2);
}

TEST(HttpCancel, CancelEndsAConnectWithoutTimeLimit) {
    TFullBacklog blackhole;
    THttpClient http;
    http.ConnectTimeout = 10000;  // far beyond the Cancel
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        http.Cancel();
    });
    EXPECT_EQ(KindOf([&] { http.Get(blackhole.Url()); }), EHttpError::TKind::Cancelled);
    canceller.join();
}
