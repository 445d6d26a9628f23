// The connection frame's threads: sync runs started on demand and by the
// refresh loop, stopped without waiting for them, and freed once they have
// reported their end. A run is asked to stop and ends within a second;
// meanwhile no second run starts, so two runs never write "files" and
// "data.db" at once.
#include "devicelink/RefreshLoop.h"
#include "devicelink/SyncRun.h"
#include "rtl/Folders.h"
#include "workstation/Mainunit.h"
#include "workstation/RecordingInPlayer.h"
#include "workstation/Unitconnect.h"
#include "workstation/UnitconnectSync.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitstatus.h"

#include <algorithm>

namespace {

// How long the exit and an SD-card import wait for a stopping run.
constexpr int kRunEndMs = 5000;

}  // namespace

TConnectFrame::~TConnectFrame() {
    try {
        ShutdownLink();  // done already, unless the frame is deleted without Free
    } catch (...) {
    }
}

void TConnectFrame::BeforeDestruction() {
    // While the frame is whole: a run's last calls still reach its controls.
    try {
        ShutdownLink();
    } catch (...) {
        // The frame goes all the same.
    }
    inherited::BeforeDestruction();
}

void TConnectFrame::startRun() {
    if (importActive_) return;
    if (!stopping_.empty()) {
        // The next run waits for the stopping one to end.
        startWhenStopped_ = true;
        return;
    }
    const AnsiString folder = ProgramDir();
    // The run outlives no frame: the frame ends every run before it goes.
    TSyncSettings settings{SerwerIPEdit->Text(),
                           HasloEdit->Text(),
                           folder,
                           [this] { return StorageQuota.load(); },
                           [folder] { return RecordingInPlayerName(folder); },
                           {}};
    syncThread_.Ui = std::make_shared<TConnectSyncUi>(this, live_);
    try {
        syncThread_.Thread = std::make_unique<HTTPThread>(std::move(settings), syncThread_.Ui);
    } catch (const std::exception& e) {
        // No run means no end to report.
        live_->Ended();
        syncThread_.Ui.reset();
        DebugLog(AnsiString("HTTPThread: ") + e.what());
    }
}

void TConnectFrame::letRunGo() {
    if (!syncThread_.Thread) return;
    TRun run = std::move(syncThread_);
    syncThread_ = TRun{};
    run.Ui->Detach();
    if (run.Thread->Finished()) {
        freeRun(run);
        return;
    }
    const bool ended = run.Ui->Ended();
    run.Thread->Cancel();
    TConnectSyncUi* ui = run.Ui.get();
    stopping_.push_back(std::move(run));
    // Its end was reported while it was the current run: it goes once its thread is gone.
    if (ended) {
        RunEnded(ui);
        return;
    }
    // What the stopped run showed of its work goes with it.
    ProgressBarHttp->SetPosition(0);
    StatusLabel->SetCaption("");
    if (MainForm && MainForm->StatusFrameBottom) {
        MainForm->StatusFrameBottom->StatusProgressBar->SetPosition(0);
        MainForm->StatusFrameBottom->StatusLabel->SetCaption("");
    }
}

void TConnectFrame::freeRun(TRun& Run) {
    try {
        Run.Thread.reset();  // it has ended: this joins at once
    } catch (const std::exception& e) {
        DebugLog(AnsiString(e.what()));
    }
    Run.Ui.reset();
}

void TConnectFrame::RunEnded(TConnectSyncUi* Ui) {
    auto it = std::find_if(stopping_.begin(), stopping_.end(), [&](const TRun& r) { return r.Ui.get() == Ui; });
    if (it == stopping_.end()) return;  // the current run: freed by the next Refresh
    if (!it->Thread->Finished()) {
        // Its thread is a moment away from its end: freeing it now would wait.
        TThread::Queue(nullptr, [this, alive = Alive(), ui = it->Ui] {
            if (!alive.expired()) RunEnded(ui.get());
        });
        return;
    }
    TRun run = std::move(*it);
    stopping_.erase(it);
    freeRun(run);
    if (startWhenStopped_ && stopping_.empty()) {
        startWhenStopped_ = false;
        startRun();
    }
}

void TConnectFrame::Refresh() {
    if (!syncThread_.Thread) {
        startRun();
        return;
    }
    // A run still going drops this request; the next tick counts anew.
    if (RunUnderWay()) return;
    DebugLog("TRefresh -> Terminate");
    TRun finished = std::move(syncThread_);
    syncThread_ = TRun{};
    freeRun(finished);
    startRun();
}

bool TConnectFrame::RunUnderWay() const { return syncThread_.Thread && !syncThread_.Thread->Finished(); }

void TConnectFrame::startLoopThread() {
    const std::weak_ptr<char> alive = Life().Watch();
    refreshLoop_ = std::make_unique<LoopThread>([this] { return RefreshSeconds.load(); },
                                                [this, alive] {
                                                    // One request waits on the GUI thread at most.
                                                    if (refreshPosted_.exchange(true)) return;
                                                    TThread::Queue(nullptr, [this, alive] {
                                                        if (alive.expired()) return;
                                                        refreshPosted_ = false;
                                                        Refresh();
                                                    });
                                                },
                                                LoopClock);
}

void TConnectFrame::stopLoopThread() {
    if (!refreshLoop_) return;
    try {
        refreshLoop_.reset();  // the loop never waits for the GUI: it ends at once
    } catch (const std::exception& e) {
        DebugLog(AnsiString(e.what()));
    }
}

void TConnectFrame::waitForRunsToEnd(int Ms) {
    if (!IsMainThread()) {
        live_->WaitNone(Ms);
        return;
    }
    // The runs' ends arrive through this thread's queue.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while ((!stopping_.empty() || live_->Count() > 0) && std::chrono::steady_clock::now() < until) CheckSynchronize(10);
}

void TConnectFrame::Disconnect() {
    if (!IsMainThread()) {
        TThread::Synchronize(nullptr, [this] { Disconnect(); });
        live_->WaitNone(kRunEndMs);
        return;
    }
    try {
        importActive_ = true;
        startWhenStopped_ = false;
        if (refreshLoop_ && !refreshLoop_->IsPaused()) refreshLoop_->Pause();
        if (syncThread_.Thread) {
            DebugLog("ConnectBtn -> Disconnect -> Terminate -> Suspend");
            letRunGo();
        }
        waitForRunsToEnd(kRunEndMs);
    } catch (const std::exception& e) {
        DebugLog(AnsiString(e.what()));
    }
}

void TConnectFrame::StartLoop() {
    if (!IsMainThread()) {
        TThread::Synchronize(nullptr, [this] { StartLoop(); });
        return;
    }
    importActive_ = false;
    if (!refreshLoop_)
        startLoopThread();
    else if (refreshLoop_->IsPaused())
        refreshLoop_->Resume();
}

void TConnectFrame::ShutdownLink() {
    stopLoopThread();
    startWhenStopped_ = false;
    importActive_ = true;  // nothing starts any more
    letRunGo();
    waitForRunsToEnd(kRunEndMs);
    // Whatever has not ended by now is waited for as it is freed.
    std::vector<TRun> left = std::move(stopping_);
    stopping_.clear();
    for (TRun& run : left) freeRun(run);
}
