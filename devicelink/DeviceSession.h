#pragma once
// One sync run's conversation with the exchange over its own HTTP client:
// the nonce and key, the request counter and the retries of each request.
// Failures that are not retried, and exhausted retries, leave as exceptions
// for FirmwareFailure / RequestFailure of DeviceErrors.h.
//
// Attempts are counted as the device sees them: when the client finds a
// kept-alive connection closed after sending and sends the request again by
// itself, that counts as an attempt with a trace line of its own, and every
// retry goes out on a new connection, so no attempt is ever doubled.
#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceReplies.h"
#include "net/HttpClient.h"

#include <functional>

// Caps on text replies: preload, nonce and SD state are a few bytes, a list
// page some thousand entries.
constexpr int64_t kDeviceSmallReplyCap = 64 * 1024;
constexpr int64_t kDeviceListPageCap = 64 * 1024 * 1024;

class TDeviceSession {
public:
    using TLog = std::function<void(const AnsiString& line)>;

    // Base: "http://" + address, no trailing slash. Log receives one line per
    // failed attempt; it may be empty.
    TDeviceSession(THttpClient& Http, AnsiString Base, TLog Log = {});

    // Request 1, up to three attempts. Throws EDeviceNoConnection when all of
    // them drop or meet a socket error.
    AnsiString Preload();
    // Request 2, up to three attempts; keeps the nonce and derives the key
    // from the password. EDeviceBadReply when the nonce holds a character
    // that does not belong in a URL.
    void FetchNonce(const AnsiString& Password);
    // Request 3. NotJson leaves Out as it was; EDeviceBadReply for a wrong structure.
    TReplyParse GetSdData(TSdReply& Out);
    // Request 4, one page. NotJson ends the list; EDeviceBadReply for a wrong structure.
    TReplyParse GetRecordListPage(const AnsiString& IdPart, const AnsiString& DatePart, TRecordListPage& Out);

    enum class TFileResult { Complete, GaveUp };
    // Request 5 into Sink, up to six attempts; StartAttempt runs before each
    // so the caller can empty its target. Complete when a reply arrived whole,
    // or ended early after at least ExpectedSize (> 0) bytes (a device that
    // announces more than it sends); GaveUp when every attempt dropped.
    TFileResult GetRecord(const AnsiString& Name, int64_t ExpectedSize, const std::function<void()>& StartAttempt,
                          const THttpClient::TSink& Sink);

    // A fresh response with the next counter value.
    AnsiString NextResponse();

    const AnsiString& NonceText() const { return nonce_; }
    int32_t Counter = 1;  // the next value a response will use

private:
    AnsiString GetTextWithRetries(const AnsiString& Url, const char* LogPrefix);
    // One attempt of a GET: Used grows by the times it went out, and a send
    // the client repeated by itself gets its trace line.
    void Attempt(const std::function<void()>& Get, int& Used, const AnsiString& LogPrefix);

    THttpClient& http_;
    AnsiString base_;
    TLog log_;
    AnsiString nonce_;
    unsigned char nonceBytes_[kDeviceNonceSize] = {};
    unsigned char key_[kDeviceKeySize] = {};
};

// The sync run's client settings: connect within 30 s, 90 s of silence ends a read.
inline void ConfigureSyncClient(THttpClient& Http) {
    Http.ConnectTimeout = 30000;
    Http.ReadTimeout = 90000;
}

// The nonce goes into URLs as it came: only letters, digits and "-._~" may.
bool IsUrlSafeNonce(const AnsiString& Nonce);
