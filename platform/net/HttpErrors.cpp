#include "HttpErrors.h"

#include <cerrno>
#include <cstring>
#include <string>

const char* HttpErrorKindName(EHttpError::TKind kind) {
    using K = EHttpError::TKind;
    switch (kind) {
    case K::ProtocolError: return "ProtocolError";
    case K::ClosedGracefully: return "ClosedGracefully";
    case K::ReadTimeout: return "ReadTimeout";
    case K::ConnectTimeout: return "ConnectTimeout";
    case K::SocketError: return "SocketError";
    case K::Truncated: return "Truncated";
    case K::TooLarge: return "TooLarge";
    case K::Cancelled: return "Cancelled";
    case K::Other: return "Other";
    }
    return "Other";
}

EHttpProtocolError::EHttpProtocolError(int errorCode, AnsiString statusLine, AnsiString errorMessage)
    : EHttpError(TKind::ProtocolError, statusLine.empty() ? AnsiString("Unreadable reply status") : statusLine),
      ErrorCode(errorCode),
      StatusLine(std::move(statusLine)),
      ErrorMessage(std::move(errorMessage)) {}

static AnsiString SocketMessage(int osError, const AnsiString& detail) {
    AnsiString m = "Socket Error # " + std::to_string(osError);
    char buf[256];
    // GNU strerror_r returns the text, not necessarily in buf.
    const char* text = osError ? strerror_r(osError, buf, sizeof buf) : nullptr;
    if (text && *text) m += "\n" + AnsiString(text);
    if (!detail.empty()) m += "\n" + detail;
    return m;
}

EHttpSocketError::EHttpSocketError(int osError, const AnsiString& detail)
    : EHttpError(TKind::SocketError, SocketMessage(osError, detail)), OSError(osError) {}

EHttpConnectTimeout::EHttpConnectTimeout() : EHttpSocketError(TKind::ConnectTimeout, ETIMEDOUT, "Connect timed out") {}

EHttpTruncated::EHttpTruncated(int64_t bytesReceived)
    : EHttpError(TKind::Truncated, "Connection closed after " + std::to_string(bytesReceived) +
                                       " bytes, before the announced end of the reply"),
      BytesReceived(bytesReceived) {}
