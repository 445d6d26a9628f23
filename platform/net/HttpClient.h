#pragma once
// An HTTP client for the device link: plain http only, no redirects, an
// in-memory cookie jar and a kept-alive connection of its own (two clients
// share nothing). One request runs at a time, on the calling thread; only
// Cancel() may be called from another thread.
//
// Failures raise the EHttpError kinds of HttpErrors.h. A handler of
// OnWorkBegin or OnWork, or a sink, that throws aborts the request and its
// exception reaches the caller unchanged.
#include "HttpErrors.h"
#include "rtl/AnsiString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class TMultipartForm;

// Sets up the HTTP library for the whole process. Call on the main thread
// before any worker starts; further calls do nothing.
void NetInit();

class THttpClient {
public:
    using TSink = std::function<void(const char* data, size_t size)>;

    THttpClient();
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Settings, read at the start of each request. Times in ms; 0 = no limit
    // (for the connect: the library's own limit of five minutes).
    int ConnectTimeout = 30000;
    int ReadTimeout = 60000;      // idle time since the last byte received
    int ErrorBodyTimeout = 2000;  // the same, for the body of an error status
    int64_t MaxResponseSize = 0;  // cap on a reply body in bytes; 0 = none
    // The next GET opens a new connection instead of reusing the kept-alive
    // one (a retry then goes out once: the library resends a request by
    // itself only on a reused connection that turned out closed).
    bool FreshConnection = false;

    // Progress of the body of each successful reply, on the calling thread:
    // OnWorkBegin with the announced length (-1 when not announced), then
    // OnWork with the bytes of this body so far after each piece.
    std::function<void(int64_t expectedSize)> OnWorkBegin;
    std::function<void(int64_t bytesSoFar)> OnWork;

    // GET, the body as it came. A body cut short of its announced length is
    // returned as far as it arrived, and LastReplyTruncated() tells so.
    AnsiString Get(const AnsiString& url);
    // GET into the caller's sink. A body cut short raises EHttpTruncated.
    void Get(const AnsiString& url, const TSink& sink);
    // POST of a multipart form over a new connection, as HTTP/1.0 with
    // "Connection: keep-alive". Returns the reply body.
    AnsiString PostMultipart(const AnsiString& url, const TMultipartForm& form);

    // Drops the kept-alive connection; cookies stay.
    void Disconnect();

    // Any thread: the running request, and every later one, fail promptly with
    // EHttpCancelled until ResetCancel(). Sticky, so a Cancel that comes just
    // before a request starts is not lost.
    void Cancel();
    void ResetCancel();
    bool Cancelled() const;

    // About the last reply: its status (0 when none arrived), its status line
    // and whether its body was cut short.
    int ResponseCode() const;
    const AnsiString& ResponseText() const;
    bool LastReplyTruncated() const;
    // How many times the last request went out: 2 when the kept-alive
    // connection was found closed after sending and the library sent the
    // request again on a new one; 0 when no connection was made.
    int LastRequestSends() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};
