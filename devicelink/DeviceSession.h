#pragma once
// One sync run's conversation with the exchange over its own HTTP client:
// the nonce and key, the request counter and the retries of each request.
// Failures that are not retried, and exhausted retries, leave as exceptions
// for FirmwareFailure / RequestFailure of DeviceErrors.h.
#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceReplies.h"
#include "net/HttpClient.h"

#include <functional>

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
    // from the password.
    void FetchNonce(const AnsiString& Password);
    // Request 3. False when the reply is not JSON.
    bool GetSdData(TSdReply& Out);
    // Request 4, one page. False when the reply is not JSON (the list ends).
    bool GetRecordListPage(const AnsiString& IdPart, const AnsiString& DatePart, TRecordListPage& Out);
    // Request 5 into Sink; StartAttempt runs before every attempt so the
    // caller can empty its target. False when all six attempts dropped.
    bool GetRecord(const AnsiString& Name, const std::function<void()>& StartAttempt, const THttpClient::TSink& Sink);

    // A fresh response with the next counter value.
    AnsiString NextResponse();

    const AnsiString& NonceText() const { return Nonce; }
    int32_t Counter = 1;  // the next value a response will use

private:
    AnsiString GetTextWithRetries(const AnsiString& Url, const char* LogPrefix);

    THttpClient& Http;
    AnsiString Base;
    TLog Log;
    AnsiString Nonce;
    unsigned char NonceBytes[kDeviceNonceSize] = {};
    unsigned char Key[kDeviceKeySize] = {};
};

// The sync run's client settings: connect within 30 s, 90 s of silence ends a read.
inline void ConfigureSyncClient(THttpClient& Http) {
    Http.ConnectTimeout = 30000;
    Http.ReadTimeout = 90000;
}
