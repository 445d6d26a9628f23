#pragma once
// How a failed exchange request becomes the message the user sees.
#include "net/HttpErrors.h"
#include "rtl/AnsiString.h"

#include <exception>

// Every preload attempt failed on a dropped connection or a socket error.
class EDeviceNoConnection : public Exception {
public:
    EDeviceNoConnection() : Exception("No connection") {}
    const char* ClassName() const noexcept override { return "EDeviceNoConnection"; }
};

// Every attempt of a later request failed on a dropped connection.
class EDeviceRetriesExhausted : public Exception {
public:
    explicit EDeviceRetriesExhausted(AnsiString message) : Exception(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EDeviceRetriesExhausted"; }
};

// A reply the client cannot use: a nonce holding characters that do not
// belong in a URL, or JSON of another structure than the device's.
class EDeviceBadReply : public Exception {
public:
    explicit EDeviceBadReply(AnsiString message) : Exception(std::move(message)) {}
    const char* ClassName() const noexcept override { return "EDeviceBadReply"; }
};

// The message key for an HTTP error reply after the preload: the first of
// 405, 423, 404, 400 found in its body decides; otherwise the address does not
// lead to the exchange.
AnsiString DeviceErrorBodyKey(const AnsiString& Body);

// The message key for an announcement upload the device refused: the first
// of 405, 403, 500, 503 found in the reply's status line decides; any other
// refusal means the announcement file is in use.
AnsiString UploadRefusalKey(const AnsiString& StatusLine);

struct TDeviceFailure {
    AnsiString Key;         // IDS_ key for both status labels; empty: clear them
    bool ResetLink = true;  // back to the connect button
    bool ResetSd = false;   // SD state back to -1 (unknown) with the plain hint
    bool Quiet = false;     // cancelled: nothing to show
};

// A failure of the preload request or of the firmware rule.
TDeviceFailure FirmwareFailure(const std::exception& Failure);
// A failure of the nonce, SD, list or file requests.
TDeviceFailure RequestFailure(const std::exception& Failure);
