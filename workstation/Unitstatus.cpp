#include "workstation/Unitstatus.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/FindFiles.h"
#include "rtl/Folders.h"
#include "workstation/Mainunit.h"

#include "devicelink/DeviceSession.h"
#include "net/HttpClient.h"
#include "workstation/Unitconnect.h"

#include <condition_variable>
#include <cstring>
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
// its own, so that a folder of 100 000 recordings never holds up the window.
class TFileCounter {
public:
    TFileCounter() : worker_([this] { run(); }) {}
    ~TFileCounter() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;  // a count under way ends at its next entry
        }
        wake_.notify_one();
        worker_.join();
    }
    TFileCounter(const TFileCounter&) = delete;
    TFileCounter& operator=(const TFileCounter&) = delete;

    // Asks for a count of Pattern; a request not yet begun is replaced.
    void Request(const AnsiString& Pattern) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pattern_ = Pattern;
        }
        wake_.notify_one();
    }
    int Last() const { return last_.load(); }

private:
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !pattern_.empty(); });
            if (stop_) return;
            const AnsiString pattern = std::exchange(pattern_, AnsiString());
            lock.unlock();
            int n = 0;
            TSearchRec rec;
            for (int found = FindFirst(pattern, faAnyFile, rec); found == 0 && !stop_; found = FindNext(rec)) ++n;
            FindClose(rec);
            if (stop_) return;
            last_ = n;
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    AnsiString pattern_;
    std::atomic<bool> stop_{false};
    std::atomic<int> last_{-1};
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
    HttpClient = std::make_unique<THttpClient>();
    HttpClient->ConnectTimeout = 30000;
    HttpClient->ReadTimeout = 60000;
    counter_ = std::make_unique<TFileCounter>();
    // Ready by the first tick.
    counter_->Request(ProgramDir() + "files/*.wav");
}

TStatusFrame::~TStatusFrame() = default;

int TStatusFrame::RecordingCount() const { return counter_->Last(); }

AnsiString TStatusFrame::text(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TStatusFrame::Timer1Timer(TObject*) {
    FreeSpaceLabel->SetCaption(text("IDS_FREESPACE") + ": " + FreeSpaceAmount(DiskFree(ProgramDir())));
    const int files = counter_->Last();
    counter_->Request(ProgramDir() + "files/*.wav");
    if (!LoggedIn) {
        UserLabel->SetCaption(text("IDS_NOTLOGGED"));
        FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": -");
        SDLabel->SetCaption(text("IDS_SD") + ": -");
        return;
    }
    UserLabel->SetMixedText(TMixedText().Translated(text("IDS_LOGGED") + " ").UserText(loggedInUserName()));
    // Until the first count is in, the label keeps what it showed.
    if (files >= 0) FilesLabel->SetCaption(text("IDS_FILES_COUNT") + ": " + IntToStr(files));
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
            session_ = std::make_unique<TDeviceSession>(*HttpClient, main->ConnectFrame1->SerwerIPEdit->Text());
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
