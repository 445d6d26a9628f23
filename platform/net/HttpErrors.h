#pragma once
// Failures of an HTTP transfer, one class per kind so that handlers can be
// written per kind (catch (EHttpProtocolError&)) or read the Kind of the base.
//
// A connect time-out is its own kind but derives from EHttpSocketError: the
// callers treat it as a socket error (an old client saw the OS give up on the
// connect before its own limit ran out), and those that care can still tell
// it apart by Kind. Its OSError is ETIMEDOUT.
#include "rtl/Exceptions.h"

#include <cstdint>

class EHttpError : public Exception {
public:
    enum class TKind {
        ProtocolError,     // a reply with a non-2xx status, or an unparsable status line
        ClosedGracefully,  // the peer closed before the status line arrived
        ReadTimeout,       // nothing received within the read time-out
        ConnectTimeout,    // the connection was not made within the connect time-out
        SocketError,       // refused, reset, unreachable, send or receive failure
        Truncated,         // the body ended short of its announced length
        TooLarge,          // the reply went over the client's size cap
        Cancelled,         // Cancel() was called
        Other
    };

    EHttpError(TKind kind, AnsiString message) : Exception(std::move(message)), Kind(kind) {}
    const char* ClassName() const noexcept override { return "EHttpError"; }

    TKind Kind;
};

const char* HttpErrorKindName(EHttpError::TKind kind);

#define YORDE_DECLARE_HTTP_ERROR(Name, KindValue)                                               \
    class Name : public EHttpError {                                                            \
    public:                                                                                     \
        explicit Name(AnsiString message) : EHttpError(TKind::KindValue, std::move(message)) {} \
        const char* ClassName() const noexcept override { return #Name; }                       \
    };

YORDE_DECLARE_HTTP_ERROR(EHttpClosedGracefully, ClosedGracefully)
YORDE_DECLARE_HTTP_ERROR(EHttpReadTimeout, ReadTimeout)
YORDE_DECLARE_HTTP_ERROR(EHttpTooLarge, TooLarge)
YORDE_DECLARE_HTTP_ERROR(EHttpCancelled, Cancelled)
YORDE_DECLARE_HTTP_ERROR(EHttpOther, Other)
#undef YORDE_DECLARE_HTTP_ERROR

class EHttpProtocolError : public EHttpError {
public:
    // ErrorCode is the status, -1 when the status line could not be read.
    // StatusLine is the line as received, without its line end.
    // ErrorMessage is the body of the error reply.
    EHttpProtocolError(int errorCode, AnsiString statusLine, AnsiString errorMessage);
    const char* ClassName() const noexcept override { return "EHttpProtocolError"; }

    int ErrorCode;
    AnsiString StatusLine;
    AnsiString ErrorMessage;
};

class EHttpSocketError : public EHttpError {
public:
    explicit EHttpSocketError(int osError, const AnsiString& detail = AnsiString());
    const char* ClassName() const noexcept override { return "EHttpSocketError"; }

    int OSError;  // errno; 0 when the system gave none

protected:
    EHttpSocketError(TKind kind, int osError, AnsiString message)
        : EHttpError(kind, std::move(message)), OSError(osError) {}
};

class EHttpConnectTimeout : public EHttpSocketError {
public:
    EHttpConnectTimeout();
    const char* ClassName() const noexcept override { return "EHttpConnectTimeout"; }
};

class EHttpTruncated : public EHttpError {
public:
    explicit EHttpTruncated(int64_t bytesReceived);
    const char* ClassName() const noexcept override { return "EHttpTruncated"; }

    int64_t BytesReceived;
};
