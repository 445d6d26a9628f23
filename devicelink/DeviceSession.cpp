#include "devicelink/DeviceSession.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceText.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int kTextAttempts = 3;
constexpr int kFileAttempts = 6;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A text reply cut short of its announced length would pass for a whole one
// (a nonce or a list page missing its end); it is taken as the dropped
// connection it is, so the request is tried again.
AnsiString GetWhole(THttpClient& Http, const AnsiString& Url) {
    AnsiString body = Http.Get(Url);
    if (Http.LastReplyTruncated()) throw EHttpClosedGracefully("Connection closed in the middle of the reply");
    return body;
}

}  // namespace

bool IsUrlSafeNonce(const AnsiString& Nonce) {
    return !Nonce.empty() && std::all_of(Nonce.begin(), Nonce.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.' ||
               c == '_' || c == '~';
    });
}

TDeviceSession::TDeviceSession(THttpClient& Http, AnsiString Base, TLog Log)
    : http_(Http), base_(std::move(Base)), log_(std::move(Log)) {}

void TDeviceSession::Attempt(const std::function<void()>& Get, int& Used, const AnsiString& LogPrefix) {
    http_.FreshConnection = Used > 0;
    auto account = [&] {
        const int sends = http_.LastRequestSends();
        Used += std::max(1, sends);
        for (int i = 1; i < sends; ++i)
            if (log_) log_(LogPrefix + "Connection Closed Gracefully");
    };
    try {
        Get();
    } catch (...) {
        account();
        throw;
    }
    account();
}

AnsiString TDeviceSession::Preload() {
    const AnsiString url = PreloadUrl(base_);
    http_.MaxResponseSize = kDeviceSmallReplyCap;
    for (int used = 0; used < kTextAttempts;) {
        try {
            AnsiString body;
            Attempt([&] { body = GetWhole(http_, url); }, used, "625: ");
            return body;
        } catch (const EHttpClosedGracefully& e) {
            if (log_) log_("625: " + e.Message);
        } catch (const EHttpSocketError& e) {
            if (log_) log_("629: " + e.Message);
            Pause(10);
        }
    }
    if (log_) log_("632: Exception get firmware,gracefully");
    throw EDeviceNoConnection();
}

AnsiString TDeviceSession::GetTextWithRetries(const AnsiString& Url, const char* LogPrefix) {
    for (int used = 0; used < kTextAttempts;) {
        try {
            AnsiString body;
            Attempt([&] { body = GetWhole(http_, Url); }, used, LogPrefix);
            return body;
        } catch (const EHttpClosedGracefully& e) {
            if (log_) log_(LogPrefix + e.Message);
        }
    }
    throw EDeviceRetriesExhausted("Connection closed " + std::to_string(kTextAttempts) + " times");
}

void TDeviceSession::FetchNonce(const AnsiString& Password) {
    http_.MaxResponseSize = kDeviceSmallReplyCap;
    const AnsiString nonce = GetTextWithRetries(NonceUrl(base_), "695");
    // It goes into every later URL unchanged: a blank or a line end would break them.
    if (!IsUrlSafeNonce(nonce)) throw EDeviceBadReply("The nonce holds characters that do not belong in a URL");
    nonce_ = nonce;
    HexToBytes(nonce_, nonceBytes_, kDeviceNonceSize);
    DeviceKeyFromPassword(Password, key_);
}

AnsiString TDeviceSession::NextResponse() {
    char response[33];
    ComputeResponse(key_, nonceBytes_, Counter, response);
    return AnsiString(response);
}

TReplyParse TDeviceSession::GetSdData(TSdReply& Out) {
    const AnsiString url = SdDataUrl(base_, nonce_, NextResponse());
    http_.MaxResponseSize = kDeviceSmallReplyCap;
    const TReplyParse parsed = ParseSdReply(GetTextWithRetries(url, "798"), Out);
    if (parsed == TReplyParse::WrongStructure) throw EDeviceBadReply("The SD reply has another structure");
    return parsed;
}

TReplyParse TDeviceSession::GetRecordListPage(const AnsiString& IdPart, const AnsiString& DatePart,
                                              TRecordListPage& Out) {
    const AnsiString url = RecordListUrl(base_, nonce_, NextResponse(), IdPart, DatePart);
    http_.MaxResponseSize = kDeviceListPageCap;
    const TReplyParse parsed = ParseRecordListReply(GetTextWithRetries(url, "849"), Out);
    if (parsed == TReplyParse::WrongStructure) throw EDeviceBadReply("The record list has another structure");
    return parsed;
}

TDeviceSession::TFileResult TDeviceSession::GetRecord(const AnsiString& Name, int64_t ExpectedSize,
                                                      const std::function<void()>& StartAttempt,
                                                      const THttpClient::TSink& Sink) {
    // Every attempt sends the same URL: the device accepts a repeated request.
    const AnsiString url = RecordUrl(base_, nonce_, NextResponse(), Name);
    http_.MaxResponseSize = 0;
    for (int used = 0; used < kFileAttempts;) {
        if (used > 0) Pause(5);
        if (StartAttempt) StartAttempt();
        int64_t received = 0;
        const THttpClient::TSink counting = [&](const char* data, size_t size) {
            received += int64_t(size);
            Sink(data, size);
        };
        try {
            Attempt([&] { http_.Get(url, counting); }, used, "1021");
            if (log_) log_("Downloaded: " + Name);
            return TFileResult::Complete;
        } catch (const EHttpClosedGracefully& e) {
            if (log_) log_("1021" + e.Message);
        } catch (const EHttpTruncated& e) {
            // Everything the list promised is here: only the announced length was wrong.
            if (ExpectedSize > 0 && received >= ExpectedSize) {
                if (log_) log_("Downloaded: " + Name);
                return TFileResult::Complete;
            }
            if (log_) log_("1021" + e.Message);
        }
    }
    return TFileResult::GaveUp;
}
