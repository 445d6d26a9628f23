#include "devicelink/DeviceProtocol.h"

#include "devicelink/DeviceText.h"
#include "devicelink/Unitmd5.h"

#include <cstdio>

void DeviceKeyFromPassword(const AnsiString& Password, unsigned char* Key) {
    MD5_CTX ctx;
    MD5Init(&ctx);
    MD5Update(&ctx, Password.data(), static_cast<uint32_t>(Password.size()));
    MD5Final(&ctx, Key);
}

void ComputeResponse(const unsigned char* Key, const unsigned char* Nonce, int32_t& Counter, char* Out) {
    // The device reads the counter as plain digits; a value past the top of
    // the range (never reached in one run) wraps instead of overflowing.
    const uint32_t value = static_cast<uint32_t>(Counter);
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%u", value);
    MD5_CTX ctx;
    MD5Init(&ctx);
    MD5Update(&ctx, Key, kDeviceKeySize);
    MD5Update(&ctx, Nonce, kDeviceNonceSize);
    MD5Update(&ctx, digits, static_cast<uint32_t>(n));
    unsigned char digest[16];
    MD5Final(&ctx, digest);
    Counter = static_cast<int32_t>(value + 1u);
    MD5ToHex(digest, Out, 33);
}

AnsiString PreloadUrl(const AnsiString& Base) { return Base + "/preload.cgi"; }

AnsiString NonceUrl(const AnsiString& Base) { return Base + "/get_nonce.cgi"; }

static AnsiString Authenticated(const AnsiString& Base, const char* Path, const AnsiString& Nonce,
                                const AnsiString& Response) {
    return Base + Path + "?nonce=" + Nonce + "&response=" + Response;
}

AnsiString SdDataUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response) {
    return Authenticated(Base, "/get_data.cgi", Nonce, Response) + "&sd=1";
}

AnsiString RecordListUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response,
                         const AnsiString& IdPart, const AnsiString& DatePart) {
    return Authenticated(Base, "/recordlist.cgi", Nonce, Response) + IdPart + DatePart;
}

AnsiString RecordUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response,
                     const AnsiString& Name) {
    return Authenticated(Base, "/record.cgi", Nonce, Response) + "&file=" + UrlEncode(Name);
}

AnsiString UploadUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response, int Slot) {
    return Authenticated(Base, "/upload.cgi", Nonce, Response) + "&type=announcement&id=" + std::to_string(Slot);
}

AnsiString RecordListDatePart(const AnsiString& NewestData) {
    if (NewestData.empty()) return AnsiString();
    // Characters as stored; a text shorter than a date gives what it holds.
    auto part = [&](size_t at, size_t len) {
        return at < NewestData.size() ? NewestData.substr(at, len) : AnsiString();
    };
    return "&year=" + part(0, 4) + "&month=" + part(5, 2) + "&day=" + part(8, 2);
}

AnsiString FirmwareVersionText(const AnsiString& Reply) {
    const size_t at = Reply.find("version");
    // The 1-based position of the key (0 when absent) plus 11, as a 0-based index.
    const size_t p = at == AnsiString::npos ? 0 : at + 1;
    const size_t from = p + 11 - 1;
    if (from >= Reply.size()) return AnsiString();
    const AnsiString window = Reply.substr(from, 20);
    const size_t quote = window.find('"');
    if (quote == AnsiString::npos) return AnsiString();
    AnsiString version;
    for (char ch : window.substr(0, quote))
        if (ch != '.') version += ch;
    return version;
}

int FirmwareMajorVersion(const AnsiString& Reply) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const size_t key = Reply.find("\"version\"");
    if (key == AnsiString::npos) {
        const AnsiString version = FirmwareVersionText(Reply);
        return !version.empty() && isDigit(version[0]) ? version[0] - '0' : -1;
    }
    size_t at = key + 9;
    auto skipBlanks = [&] {
        while (at < Reply.size() && (Reply[at] == ' ' || Reply[at] == '\t')) ++at;
    };
    skipBlanks();
    if (at >= Reply.size() || Reply[at] != ':') return -1;
    ++at;
    skipBlanks();
    if (at >= Reply.size() || Reply[at] != '"') return -1;
    ++at;
    int major = -1;
    // Nine digits at most: a longer number is no version this client knows of, but it is new.
    for (int n = 0; at < Reply.size() && isDigit(Reply[at]) && n < 9; ++at, ++n)
        major = (major < 0 ? 0 : major * 10) + (Reply[at] - '0');
    return major;
}

TFirmwareCheck CheckFirmware(const AnsiString& Reply) {
    const int major = FirmwareMajorVersion(Reply);
    if (major < 0) return TFirmwareCheck::Unreadable;
    return major < 2 ? TFirmwareCheck::TooOld : TFirmwareCheck::Supported;
}
