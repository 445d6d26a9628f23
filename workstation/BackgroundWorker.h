#pragma once
// A non-visual component that runs one piece of work on a thread of its own
// and reports its end on the GUI thread. One run at a time.
//
// Linux cannot suspend or kill a thread safely, so both are cooperative: a
// suspended run stops at its next CheckSuspended(), and Terminate() asks the
// run to stop (TerminateRequested() turns true) and forgets it at once; a
// new run may start while the old one winds down, and the old one's end is
// never reported.
#include "classes/Thread.h"

#include <atomic>
#include <functional>
#include <vector>

struct DoWorkEventArgs {
    bool Result = false;
};
struct RunWorkerCompletedEventArgs {
    bool Result = false;
};
using TDoWorkEvent = TEvent<TObject*, DoWorkEventArgs&>;
using TRunWorkerCompletedEvent = TEvent<TObject*, RunWorkerCompletedEventArgs&>;
YORDE_EVENT_TYPEINFO(TDoWorkEvent)
YORDE_EVENT_TYPEINFO(TRunWorkerCompletedEvent)

class TBackgroundWorkerThread : public TThread {
    YORDE_CLASS(TBackgroundWorkerThread, TThread)
public:
    using TWork = std::function<void(TBackgroundWorkerThread* Thread)>;
    // Created suspended: the caller attaches OnTerminate, then starts it.
    explicit TBackgroundWorkerThread(TWork Work) : TThread(true), work_(std::move(Work)) {}
    // The flag the work left; read once the thread has ended.
    std::atomic<bool> Result{false};
    bool Wait() { return CheckPaused(); }

protected:
    void Execute() override { work_(this); }

private:
    TWork work_;
};

class TBackgroundWorker : public TComponent {
    YORDE_CLASS(TBackgroundWorker, TComponent)
public:
    explicit TBackgroundWorker(TComponent* AOwner) : TComponent(AOwner) {}
    // Asks a running work to stop and waits for it; nothing is reported.
    ~TBackgroundWorker() override;

    // Runs on the worker thread with the component as sender.
    TDoWorkEvent DoWork;
    // Runs on the GUI thread with the flag DoWork left (false when it raised).
    TRunWorkerCompletedEvent RunWorkerCompleted;

    // Exception "BackgroundWorker is busy" while a run goes on.
    void RunWorkerAsync();
    // From the work: runs Method on the GUI thread while the work waits.
    void SynchronizeVCL(TThreadMethod Method);
    void Suspend();
    void Resume();
    void Terminate();

    // For the work, on its thread: Terminate() was called for this run.
    bool TerminateRequested() const;
    // For the work, on its thread: waits here while the run is suspended.
    void CheckSuspended() const;

    // Makes the class known to layouts.
    static void Register();

private:
    void ExecuteDoWork(TObject* Sender, const TDoWorkEvent& Work);
    void WorkCompleted(TObject* Sender);

    bool result_ = false;
    std::atomic<TBackgroundWorkerThread*> worker_{nullptr};
    // Threads not freed yet, forgotten ones included (GUI thread only).
    std::vector<TBackgroundWorkerThread*> threads_;
    bool destroying_ = false;
};
