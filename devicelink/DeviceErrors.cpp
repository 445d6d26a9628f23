#include "devicelink/DeviceErrors.h"

namespace {

struct TDigitsKey {
    const char* Digits;
    const char* Key;
};

// The key of the first entry whose digits occur in Text, else Otherwise.
template <size_t N>
AnsiString FirstFound(const AnsiString& Text, const TDigitsKey (&Order)[N], const char* Otherwise) {
    for (const TDigitsKey& entry : Order)
        if (Text.find(entry.Digits) != AnsiString::npos) return entry.Key;
    return Otherwise;
}

}  // namespace

AnsiString DeviceErrorBodyKey(const AnsiString& Body) {
    static const TDigitsKey kOrder[] = {{"405", "IDS_WRONG_PASSWORD"},
                                        {"423", "IDS_BUSY"},
                                        {"404", "IDS_CANNOT_RECEIVE"},
                                        {"400", "IDS_RECEIVE_ERROR"}};
    return FirstFound(Body, kOrder, "IDS_CONNECT_ERROR_2");
}

AnsiString UploadRefusalKey(const AnsiString& StatusLine) {
    static const TDigitsKey kOrder[] = {
        {"405", "IDS_HTTP_405"}, {"403", "IDS_HTTP_403"}, {"500", "IDS_HTTP_500"}, {"503", "IDS_HTTP_503"}};
    return FirstFound(StatusLine, kOrder, "IDS_HTTP_USED");
}

static const EHttpError* AsHttp(const std::exception& Failure) { return dynamic_cast<const EHttpError*>(&Failure); }

TDeviceFailure FirmwareFailure(const std::exception& Failure) {
    TDeviceFailure out;
    if (dynamic_cast<const EDeviceNoConnection*>(&Failure)) {
        out.Key = "IDS_CONNECT_ERROR_2";
        return out;
    }
    const EHttpError* http = AsHttp(Failure);
    if (!http) {
        out.Key = "IDS_CONNECT_ERROR_3";
        return out;
    }
    switch (http->Kind) {
    case EHttpError::TKind::ReadTimeout:
    case EHttpError::TKind::SocketError:
    case EHttpError::TKind::ConnectTimeout: out.Key = "IDS_CONNECT_ERROR_1"; break;
    case EHttpError::TKind::ProtocolError: out.Key = "IDS_CONNECT_ERROR_2"; break;
    case EHttpError::TKind::Cancelled:
        out.Quiet = true;
        out.ResetLink = false;
        break;
    default: out.Key = "IDS_CONNECT_ERROR_3"; break;
    }
    return out;
}

TDeviceFailure RequestFailure(const std::exception& Failure) {
    TDeviceFailure out;
    const EHttpError* http = AsHttp(Failure);
    if (!http) {
        out.Key = "IDS_CONNECT_ERROR_4";
        out.ResetSd = true;
        return out;
    }
    switch (http->Kind) {
    case EHttpError::TKind::ClosedGracefully: break;  // both labels cleared, SD state kept
    case EHttpError::TKind::ReadTimeout:
        out.Key = "IDS_TIMEOUT";
        out.ResetSd = true;
        break;
    case EHttpError::TKind::SocketError:
    case EHttpError::TKind::ConnectTimeout:
        out.Key = "IDS_INT";
        out.ResetSd = true;
        break;
    case EHttpError::TKind::ProtocolError:
        if (const auto* status = dynamic_cast<const EHttpProtocolError*>(http))
            out.Key = DeviceErrorBodyKey(status->ErrorMessage);
        else
            out.Key = "IDS_CONNECT_ERROR_2";
        // Busy, a missing file and a download error leave the card's state as shown.
        out.ResetSd = out.Key == "IDS_WRONG_PASSWORD" || out.Key == "IDS_CONNECT_ERROR_2";
        break;
    case EHttpError::TKind::Cancelled:
        out.Quiet = true;
        out.ResetLink = false;
        break;
    default:
        out.Key = "IDS_CONNECT_ERROR_4";
        out.ResetSd = true;
        break;
    }
    return out;
}
