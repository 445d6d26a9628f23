#include "workstation/Unitstatus.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/FolderCount.h"
#include "rtl/Folders.h"
#include "workstation/Mainunit.h"

#include "devicelink/DeviceSession.h"
#include "net/HttpClient.h"
#include "workstation/Unitconnect.h"

#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

YORDE_IMPLEMENT_CLASS(TStatusFrame, [](TClassBuilder<TStatusFrame>& c) {
    using T = TStatusFrame;
    c.Field("FreeSpaceLabel", &T::FreeSpaceLabel);
    c.Field("FilesLabel", &T::FilesLabel);
    c.Field("UserLabel", &T::UserLabel);
    c.Field("SDLabel", &T::SDLabel);
    c.Field("StatusLabel", &T::StatusLabel);
    c.Field("StatusProgressBar", &T::StatusProgressBar);
    c.Field("Timer1", &T::Timer1);
    c.Field("Timer2", &T::Timer2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("Timer2Timer", &T::Timer2Timer);
})

namespace {

AnsiString loggedInUserName() {
    if (!MainForm) return AnsiString();
    const TUserRecord user = MainForm->GetCurrentUserRecord();
    return AnsiString(user.Name, strnlen(user.Name, sizeof user.Name));
}

}  // namespace

// Counts the entries "files/*.wav" names (whatever their kind) on a thread of
// its own, so that a folder of a million recordings never holds up the
// window; a folder that has not changed is not read again. Each count is
// handed to Arrived, on the counting thread, with the number of the request
// it answers.
class TFileCounter {
public:
    using TArrived = std::function<void(int Count, unsigned Request)>;
    explicit TFileCounter(TArrived Arrived) : arrived_(std::move(Arrived)), worker_([this] { run(); }) {}
    ~TFileCounter() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }
    TFileCounter(const TFileCounter&) = delete;
    TFileCounter& operator=(const TFileCounter&) = delete;

    // Asks for a count of Pattern; a request not yet begun is replaced.
    void Request(const AnsiString& Pattern, unsigned Number) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pattern_ = Pattern;
            request_ = Number;
        }
        wake_.notify_one();
    }
    // The last count (-1: none yet) and the request it answered.
    std::pair<int, unsigned> Last() const {
        const uint64_t last = last_.load();
        return {int(int32_t(uint32_t(last))), unsigned(last >> 32)};
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        std::unique_ptr<TFolderMatchCount> folder;
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !pattern_.empty(); });
            if (stop_) return;
            const AnsiString pattern = std::exchange(pattern_, AnsiString());
            const unsigned request = request_;
            lock.unlock();
            if (!folder || pattern != counted_) folder = std::make_unique<TFolderMatchCount>(pattern);
            counted_ = pattern;
            const int n = folder->Count();
            last_ = uint64_t(request) << 32 | uint32_t(n);
            arrived_(n, request);
            lock.lock();
        }
    }

    TArrived arrived_;
    std::mutex mutex_;
    std::condition_variable wake_;
    AnsiString pattern_;
    unsigned request_ = 0;
    bool stop_ = false;
    AnsiString counted_;  // the counting thread's
    std::atomic<uint64_t> last_{uint32_t(-1)};
    std::thread worker_;  // last: started once the rest is ready
};

AnsiString FreeSpaceAmount(int64_t FreeBytes) {
    // "GB" and "MB" here are 1 024 000 000 and 1 024 000 bytes; a failed
    // query (-1) shows 0 MB.
    const int64_t mb = FreeBytes / 1024 / 1000;
    const int64_t gb = mb / 1000;
    return gb > 0 ? IntToStr(gb) + " GB" : IntToStr(mb) + " MB";
}

TStatusFrame::TStatusFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    httpClient_ = std::make_unique<THttpClient>();
    httpClient_->ConnectTimeout = 30000;
    httpClient_->ReadTimeout = 60000;
    counter_ = std::make_unique<TFileCounter>([this](int Count, unsigned Request) {
        QueueOffMain(Life(), [this, Count, Request] { showFiles(Count, Request); });
    });
}

TStatusFrame::~TStatusFrame() = default;

int TStatusFrame::RecordingCount() const { return counter_->Last().first; }

AnsiString TStatusFrame::text(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TStatusFrame::showFiles(int Count, unsigned Request) {
    // A count from before the login began could be out of date.
    if (LoggedIn && firstRequest_ != 0 && Request >= firstRequest_)
        FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": " + IntToStr(Count));
}

void TStatusFrame::Timer1Timer(TObject*) {
    FreeSpaceLabel->SetCaption(text("IDS_FREESPACE") + ": " + FreeSpaceAmount(DiskFree(ProgramDir())));
    if (!LoggedIn) {
        // Nothing is counted for a label that shows none.
        firstRequest_ = 0;
        UserLabel->SetCaption(text("IDS_NOTLOGGED"));
        FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": -");
        SDLabel->SetCaption(text("IDS_SD") + ": -");
        return;
    }
    UserLabel->SetMixedText(TMixedText().Translated(text("IDS_LOGGED") + " ").UserText(loggedInUserName()));
    // Until a count of this login is in, the label keeps what it showed;
    // each count shows as soon as it is in.
    const auto [files, answered] = counter_->Last();
    showFiles(files, answered);
    ++requests_;
    if (firstRequest_ == 0) firstRequest_ = requests_;
    counter_->Request(ProgramDir() + "files/*.wav", requests_);
    const char* state = nullptr;
    switch (SdState.load()) {
    case -1: SDLabel->SetCaption(text("IDS_SD") + ": -"); return;
    case 0: state = "IDS_SD_INSTALLED"; break;
    case 1: state = "IDS_SD_NONE"; break;
    case 2: state = "IDS_SD_INIT"; break;
    case 3:
    case 4: state = "IDS_SD_ERROR"; break;
    default: return;  // an unknown state leaves the label as it was
    }
    SDLabel->SetCaption(text("IDS_SD") + ": " + text(state));
}

void TStatusFrame::Timer2Timer(TObject*) {
    try {
        TMainForm* main = MainForm;
        if (!main || !main->ConnectFrame1) return;
        if (!session_ || session_->NonceText().empty()) {
            session_ = std::make_unique<TDeviceSession>(*httpClient_, main->ConnectFrame1->SerwerIPEdit->Text());
            session_->FetchNonce(main->ConnectFrame1->HasloEdit->Text());
        }
        TSdReply reply;
        if (session_->GetSdData(reply) != TReplyParse::Ok) return;
        SdState = reply.State;
        if (SdState == 0)
            SDLabel->SetHint(text("IDS_SD_CAPACITY") + ": " + IntToStr(reply.CardSize) + " MB\n" + text("IDS_SD_SIZE") +
                             ": " + IntToStr(reply.RecSize) + " MB");
        else
            SDLabel->SetHint(text("IDS_SD"));
    } catch (...) {
        // A failed tick changes nothing; the next one tries again.
    }
}
