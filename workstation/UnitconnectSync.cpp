#include "workstation/UnitconnectSync.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Format.h"
#include "store/RecordingNames.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitstatus.h"

namespace {

TStatusFrame* StatusBar() { return MainForm ? MainForm->StatusFrameBottom : nullptr; }

// A recording as the list shows it, in a form the narrow label can wrap:
// date, time and numbers; the file name when the name holds no date and time.
AnsiString ShownRecording(const AnsiString& FileName) {
    const TRecordingRow row = RecordingRowFromName(FileName, -1);
    auto digits = [&](size_t At, size_t Count) {
        for (size_t i = At; i < At + Count; ++i)
            if (i >= row.Data.size() || row.Data[i] < '0' || row.Data[i] > '9') return false;
        return true;
    };
    const bool dated = row.Data.size() == 24 && digits(0, 4) && digits(5, 2) && digits(8, 2) && digits(16, 2) &&
                       digits(19, 2) && digits(22, 2);
    if (!dated) return FileName;
    return row.Data.substr(0, 10) + " " + row.Data.substr(16) + " (" + row.AbA + ", " + row.AbB + ")";
}

}  // namespace

void TLiveRuns::Started() {
    std::lock_guard lk(mu_);
    ++running_;
}

void TLiveRuns::Ended() {
    {
        std::lock_guard lk(mu_);
        --running_;
    }
    cv_.notify_all();
}

int TLiveRuns::Count() const {
    std::lock_guard lk(mu_);
    return running_;
}

bool TLiveRuns::WaitNone(int Ms) {
    std::unique_lock lk(mu_);
    return cv_.wait_for(lk, std::chrono::milliseconds(Ms), [this] { return running_ <= 0; });
}

TConnectSyncUi::TConnectSyncUi(TConnectFrame* Frame, std::shared_ptr<TLiveRuns> Live)
    : frame_(Frame), frameAlive_(Frame->Alive()), live_(std::move(Live)) {
    live_->Started();
}

AnsiString TConnectSyncUi::text(const AnsiString& Key) const {
    return Key.empty() ? AnsiString() : frame_->lxLangLinked1->GetTextOrDefault(Key);
}

void TConnectSyncUi::post(std::function<void(TConnectFrame&)> Fn, TAfterDetach When) {
    {
        // Anything else posted puts a later progress report behind it.
        std::lock_guard lk(mu_);
        progressPosted_ = false;
    }
    TThread::Queue(nullptr, [self = shared_from_this(), fn = std::move(Fn), When] {
        if (self->frameAlive_.expired() || (self->detached_ && When == TAfterDetach::Drop)) return;
        fn(*self->frame_);
    });
}

void TConnectSyncUi::Log(const AnsiString& Line) {
    {
        std::lock_guard lk(mu_);
        lines_.push_back(Line);
        if (linesPosted_) return;
        linesPosted_ = true;
    }
    TThread::Queue(nullptr, [self = shared_from_this()] {
        std::vector<AnsiString> lines;
        {
            std::lock_guard lk(self->mu_);
            lines.swap(self->lines_);
            self->linesPosted_ = false;
        }
        for (const AnsiString& line : lines) DebugLog(line);
    });
}

void TConnectSyncUi::ShowMessage(const AnsiString& Key) { ShowFileMessage(Key, AnsiString()); }

void TConnectSyncUi::ShowFileMessage(const AnsiString& Key, const AnsiString& FileName) {
    post([this, Key, FileName](TConnectFrame& f) {
        const AnsiString shown = FileName.empty() ? text(Key) : text(Key) + " " + ShownRecording(FileName);
        f.StatusLabel->SetCaption(shown);
        if (TStatusFrame* bar = StatusBar()) bar->StatusLabel->SetCaption(shown);
    });
}

void TConnectSyncUi::ShowLinkStatus(const AnsiString& Key, const AnsiString& Suffix) {
    post([this, Key, Suffix](TConnectFrame& f) { f.StatusLabel->SetCaption(text(Key) + Suffix); });
}

void TConnectSyncUi::ShowProgress(int64_t FileNumber, int64_t FileCount, int Percent) {
    {
        std::lock_guard lk(mu_);
        progressFile_ = FileNumber;
        progressCount_ = FileCount;
        progressPercent_ = Percent;
        if (progressPosted_) return;
        progressPosted_ = true;
    }
    TThread::Queue(nullptr, [self = shared_from_this()] {
        int64_t file, count;
        int percent;
        {
            std::lock_guard lk(self->mu_);
            file = self->progressFile_;
            count = self->progressCount_;
            percent = self->progressPercent_;
            self->progressPosted_ = false;
        }
        TStatusFrame* bar = StatusBar();
        if (self->frameAlive_.expired() || self->detached_ || !bar) return;
        bar->StatusProgressBar->SetPosition(percent);
        bar->StatusLabel->SetCaption(Sprintf("%s %lld %s %lld (%d%%)", self->text("IDS_RECEIVING").c_str(),
                                             (long long)file, self->text("IDS_FROM").c_str(), (long long)count,
                                             percent));
    });
}

void TConnectSyncUi::SetFileCount(int64_t Count) {
    post([Count](TConnectFrame& f) {
        f.ProgressBarHttp->SetPosition(0);
        f.ProgressBarHttp->SetMax(int(std::min<int64_t>(Count, INT32_MAX)));
        f.ProgressBarHttp->SetStep(1);
    });
}

void TConnectSyncUi::StepFile() {
    post([](TConnectFrame& f) { f.ProgressBarHttp->StepIt(); });
}

void TConnectSyncUi::ClearProgress() {
    post([](TConnectFrame& f) {
        f.ProgressBarHttp->SetPosition(0);
        if (TStatusFrame* bar = StatusBar()) bar->StatusProgressBar->SetPosition(0);
    });
}

void TConnectSyncUi::ShowSdState(const TSdReply& Sd) {
    post([this, Sd](TConnectFrame&) {
        TStatusFrame* bar = StatusBar();
        if (!bar) return;
        bar->SdState = Sd.State;
        bar->SDLabel->SetHint(Sd.State == 0 ? Sprintf("%s: %d MB\n%s: %d MB", text("IDS_SD_CAPACITY").c_str(),
                                                      Sd.CardSize, text("IDS_SD_SIZE").c_str(), Sd.RecSize)
                                            : text("IDS_SD_HINT"));
    });
}

void TConnectSyncUi::ResetSdState() {
    post([this](TConnectFrame&) {
        if (TStatusFrame* bar = StatusBar()) {
            bar->SdState = -1;
            bar->SDLabel->SetHint(text("IDS_SD_HINT"));
        }
    });
}

void TConnectSyncUi::ResetToConnect() {
    post([](TConnectFrame& f) { f.ResetToConnect(); });
}

void TConnectSyncUi::ReloadList() {
    {
        std::lock_guard lk(mu_);
        if (reloadPosted_) return;
        reloadPosted_ = true;
    }
    // Also for a run let go: the files it brought belong in the list.
    post(
        [self = shared_from_this()](TConnectFrame&) {
            {
                std::lock_guard lk(self->mu_);
                self->reloadPosted_ = false;
            }
            if (!MainForm || !MainForm->MediaFrame1) return;
            // The reload may write the status line; the download's text comes back after it.
            TStatusFrame* bar = StatusBar();
            const AnsiString kept = bar ? bar->StatusLabel->Caption() : AnsiString();
            MainForm->MediaFrame1->RefreshRecordingsInBackground();
            if (bar) bar->StatusLabel->SetCaption(kept);
        },
        TAfterDetach::Keep);
}

void TConnectSyncUi::RunFinished() {
    endedFlag_ = true;
    live_->Ended();
    post([self = shared_from_this()](TConnectFrame& f) { f.RunEnded(self.get()); }, TAfterDetach::Keep);
}
