#include "devicelink/DeviceSession.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceText.h"

#include <chrono>
#include <thread>

namespace {

constexpr int kTextAttempts = 3;
constexpr int kFileAttempts = 6;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace

TDeviceSession::TDeviceSession(THttpClient& Http_, AnsiString Base_, TLog Log_)
    : Http(Http_), Base(std::move(Base_)), Log(std::move(Log_)) {}

// A text reply cut short of its announced length would pass for a whole one
// (a nonce or a list page missing its end); it is taken as the dropped
// connection it is, so the request is tried again.
static AnsiString GetWhole(THttpClient& Http, const AnsiString& Url) {
    AnsiString body = Http.Get(Url);
    if (Http.LastReplyTruncated()) throw EHttpClosedGracefully("Connection closed in the middle of the reply");
    return body;
}

AnsiString TDeviceSession::Preload() {
    const AnsiString url = PreloadUrl(Base);
    for (int attempt = 1; attempt <= kTextAttempts; ++attempt) {
        try {
            return GetWhole(Http, url);
        } catch (const EHttpClosedGracefully& e) {
            if (Log) Log("625: " + e.Message);
        } catch (const EHttpSocketError& e) {
            if (Log) Log("629: " + e.Message);
            Pause(10);
        }
    }
    if (Log) Log("632: Exception get firmware,gracefully");
    throw EDeviceNoConnection();
}

AnsiString TDeviceSession::GetTextWithRetries(const AnsiString& Url, const char* LogPrefix) {
    for (int attempt = 1; attempt <= kTextAttempts; ++attempt) {
        try {
            return GetWhole(Http, Url);
        } catch (const EHttpClosedGracefully& e) {
            if (Log) Log(LogPrefix + e.Message);
        }
    }
    throw EDeviceRetriesExhausted("Connection closed " + std::to_string(kTextAttempts) + " times");
}

void TDeviceSession::FetchNonce(const AnsiString& Password) {
    Nonce = GetTextWithRetries(NonceUrl(Base), "695");
    HexToBytes(Nonce, NonceBytes, kDeviceNonceSize);
    DeviceKeyFromPassword(Password, Key);
}

AnsiString TDeviceSession::NextResponse() {
    char response[33];
    ComputeResponse(Key, NonceBytes, Counter, response);
    return AnsiString(response);
}

bool TDeviceSession::GetSdData(TSdReply& Out) {
    const AnsiString url = SdDataUrl(Base, Nonce, NextResponse());
    return ParseSdReply(GetTextWithRetries(url, "798"), Out);
}

bool TDeviceSession::GetRecordListPage(const AnsiString& IdPart, const AnsiString& DatePart, TRecordListPage& Out) {
    const AnsiString url = RecordListUrl(Base, Nonce, NextResponse(), IdPart, DatePart);
    return ParseRecordListReply(GetTextWithRetries(url, "849"), Out);
}

bool TDeviceSession::GetRecord(const AnsiString& Name, const std::function<void()>& StartAttempt,
                               const THttpClient::TSink& Sink) {
    // Every attempt sends the same URL: the device accepts a repeated counter.
    const AnsiString url = RecordUrl(Base, Nonce, NextResponse(), Name);
    for (int attempt = 1; attempt <= kFileAttempts; ++attempt) {
        if (StartAttempt) StartAttempt();
        try {
            Http.Get(url, Sink);
            if (Log) Log("Downloaded: " + url);
            return true;
        } catch (const EHttpClosedGracefully& e) {
            if (Log) Log("1021" + e.Message);
        } catch (const EHttpTruncated& e) {
            if (Log) Log("1021" + e.Message);
        }
        if (attempt < kFileAttempts) Pause(5);
    }
    return false;
}
