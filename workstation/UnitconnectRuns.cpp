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
    if (ImportActive) return;
    if (!Stopping.empty()) {
        // The next run waits for the stopping one to end.
        StartWhenStopped = true;
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
    SyncThread.Ui = std::make_shared<TConnectSyncUi>(this, Live);
    try {
        SyncThread.Thread = std::make_unique<HTTPThread>(std::move(settings), SyncThread.Ui);
    } catch (const std::exception& e) {
        // No run means no end to report.
        Live->Ended();
        SyncThread.Ui.reset();
        DebugLog(AnsiString("HTTPThread: ") + e.what());
    }
}

void TConnectFrame::letRunGo() {
    if (!SyncThread.Thread) return;
    TRun run = std::move(SyncThread);
    SyncThread = TRun{};
    run.Ui->Detach();
    if (run.Thread->Finished()) {
        freeRun(run);
        return;
    }
    const bool ended = run.Ui->Ended();
    run.Thread->Cancel();
    TConnectSyncUi* ui = run.Ui.get();
    Stopping.push_back(std::move(run));
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
    auto it = std::find_if(Stopping.begin(), Stopping.end(), [&](const TRun& r) { return r.Ui.get() == Ui; });
    if (it == Stopping.end()) return;  // the current run: freed by the next Refresh
    if (!it->Thread->Finished()) {
        // Its thread is a moment away from its end: freeing it now would wait.
        TThread::Queue(nullptr, [this, alive = Alive(), ui = it->Ui] {
            if (!alive.expired()) RunEnded(ui.get());
        });
        return;
    }
    TRun run = std::move(*it);
    Stopping.erase(it);
    freeRun(run);
    if (StartWhenStopped && Stopping.empty()) {
        StartWhenStopped = false;
        startRun();
    }
}

void TConnectFrame::Refresh() {
    if (!SyncThread.Thread) {
        startRun();
        return;
    }
    // A run still going drops this request; the next tick counts anew.
    if (RunUnderWay()) return;
    DebugLog("TRefresh -> Terminate");
    TRun finished = std::move(SyncThread);
    SyncThread = TRun{};
    freeRun(finished);
    startRun();
}

bool TConnectFrame::RunUnderWay() const { return SyncThread.Thread && !SyncThread.Thread->Finished(); }

void TConnectFrame::startLoopThread() {
    const std::weak_ptr<char> alive = Life().Watch();
    RefreshLoop = std::make_unique<LoopThread>([this] { return RefreshSeconds.load(); },
                                               [this, alive] {
                                                   // One request waits on the GUI thread at most.
                                                   if (RefreshPosted.exchange(true)) return;
                                                   TThread::Queue(nullptr, [this, alive] {
                                                       if (alive.expired()) return;
                                                       RefreshPosted = false;
                                                       Refresh();
                                                   });
                                               },
                                               LoopClock);
}

void TConnectFrame::stopLoopThread() {
    if (!RefreshLoop) return;
    try {
        RefreshLoop.reset();  // the loop never waits for the GUI: it ends at once
    } catch (const std::exception& e) {
        DebugLog(AnsiString(e.what()));
    }
}

void TConnectFrame::waitForRunsToEnd(int Ms) {
    if (!IsMainThread()) {
        Live->WaitNone(Ms);
        return;
    }
    // The runs' ends arrive through this thread's queue.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while ((!Stopping.empty() || Live->Count() > 0) && std::chrono::steady_clock::now() < until) CheckSynchronize(10);
}

void TConnectFrame::Disconnect() {
    if (!IsMainThread()) {
        TThread::Synchronize(nullptr, [this] { Disconnect(); });
        Live->WaitNone(kRunEndMs);
        return;
    }
    try {
        ImportActive = true;
        StartWhenStopped = false;
        if (RefreshLoop && !RefreshLoop->IsPaused()) RefreshLoop->Pause();
        if (SyncThread.Thread) {
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
    ImportActive = false;
    if (!RefreshLoop)
        startLoopThread();
    else if (RefreshLoop->IsPaused())
        RefreshLoop->Resume();
}

void TConnectFrame::ShutdownLink() {
    stopLoopThread();
    StartWhenStopped = false;
    ImportActive = true;  // nothing starts any more
    letRunGo();
    waitForRunsToEnd(kRunEndMs);
    // Whatever has not ended by now is waited for as it is freed.
    std::vector<TRun> left = std::move(Stopping);
    Stopping.clear();
    for (TRun& run : left) freeRun(run);
}
