#include "devicelink/AnnouncementUpload.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceSession.h"
#include "devicelink/DeviceText.h"
#include "devicelink/SyncRun.h"
#include "net/Multipart.h"
#include "net/NetUtils.h"
#include "rtl/Files.h"
#include "rtl/StrUtils.h"

namespace {

constexpr char kHttp[] = "http://";

bool HasHttpPrefix(const AnsiString& Address) { return LowerCase(Address.substr(0, 7)) == kHttp; }

// The nonce request failed, or brought no usable nonce.
class ENonceFailed : public Exception {
public:
    explicit ENonceFailed(AnsiString message) : Exception(std::move(message)) {}
};

}  // namespace

AnsiString AnnouncementAddressRefusal(const AnsiString& Address, const AnsiString& Password) {
    if (!HasHttpPrefix(Address)) {
        if (Address.size() < 8 || !IsValidIP(Address)) return "IDS_NOURL";
    } else if (!IsValidIP(Address.substr(7))) {
        return "IDS_NOURL";
    }
    if (Password.empty()) return "IDS_NOPASSWORD";
    if (Password.size() < 8) return "IDS_SHORTPASS";
    return AnsiString();
}

POSTThread::POSTThread(const AnsiString& FileName, TUploadSettings Settings, std::shared_ptr<TUploadUi> Ui)
    : TThread(false), UploadFile(FileName), settings_(std::move(Settings)), ui_(std::move(Ui)) {
    SetFreeOnTerminate(true);
    SetPriority(tpLower);
    http_.ConnectTimeout = 30000;
    http_.ReadTimeout = 30000;
    SetAbortHook([this] { http_.Cancel(); });
    AfterConstruction();
}

void POSTThread::Execute() {
    TUploadResult result = TUploadResult::Failed;
    try {
        result = run();
    } catch (const std::exception& e) {
        log(AnsiString("Announcement: ") + e.what());
    }
    DeleteFile(UploadFile);
    // Whatever happened, the main window comes back.
    ui_->UploadFinished(result);
}

TUploadResult POSTThread::run() {
    // Too short for "http://" and an address: nothing to ask.
    if (settings_.Address.size() <= 8) {
        ui_->ShowStatus("IDS_NOURL");
        return TUploadResult::NoAddress;
    }
    const int slot = ui_->ChooseSlot();
    if (Terminated()) return TUploadResult::Stopped;
    if (slot < 1) {
        ui_->ShowStatus("");
        return TUploadResult::NoSlot;
    }
    Slot = slot;
    ui_->ShowStatus("IDS_ANNOUNCE_SEND");
    const TUploadResult result = send();
    // A refusal's message stays where the user reads it.
    if (result != TUploadResult::Refused && result != TUploadResult::Stopped) ui_->ShowStatus("");
    return result;
}

TUploadResult POSTThread::send() {
    const AnsiString base =
        DeviceBaseFor(HasHttpPrefix(settings_.Address) ? settings_.Address : kHttp + settings_.Address);
    try {
        // The form holds the file open until it is sent.
        TMultipartForm form;
        form.AddFile("fileToUpload2", UploadFile, "tar");

        AnsiString nonce;
        try {
            http_.MaxResponseSize = kDeviceSmallReplyCap;
            nonce = http_.Get(NonceUrl(base));
            if (http_.LastReplyTruncated()) throw ENonceFailed("the nonce reply was cut off");
        } catch (const EHttpCancelled&) {
            throw;
        } catch (const std::exception& e) {
            // A closed connection here is no success: nothing was sent.
            throw ENonceFailed(AnsiString("no nonce: ") + e.what());
        }
        if (!IsUrlSafeNonce(nonce)) throw ENonceFailed("the nonce holds characters that do not belong in a URL");
        unsigned char nonceBytes[kDeviceNonceSize];
        unsigned char key[kDeviceKeySize];
        HexToBytes(nonce, nonceBytes, kDeviceNonceSize);
        DeviceKeyFromPassword(settings_.Password, key);
        int32_t counter = 1;
        char response[33];
        ComputeResponse(key, nonceBytes, counter, response);

        try {
            http_.MaxResponseSize = kDeviceSmallReplyCap;
            http_.PostMultipart(UploadUrl(base, nonce, response, Slot), form);
        } catch (const EHttpClosedGracefully&) {
            // The device may close without a reply once it has the file.
        }
        log("Announcement sent to slot " + std::to_string(Slot));
        return TUploadResult::Sent;
    } catch (const EHttpCancelled&) {
        log("Announcement: stopped");
        return TUploadResult::Stopped;
    } catch (const EHttpProtocolError& e) {
        log("Announcement refused: " + e.StatusLine);
        ui_->ShowStatus(UploadRefusalKey(e.StatusLine));
        return TUploadResult::Refused;
    } catch (const std::exception& e) {
        log(AnsiString("Announcement not sent: ") + e.what());
        if (Terminated()) return TUploadResult::Stopped;
        ui_->ShowSendError();
        return TUploadResult::Failed;
    }
}
