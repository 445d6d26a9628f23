#include "workstation/BackgroundWorker.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TBackgroundWorkerThread, [](TClassBuilder<TBackgroundWorkerThread>&) {})
YORDE_IMPLEMENT_CLASS(TBackgroundWorker, [](TClassBuilder<TBackgroundWorker>& c) {
    c.Event("RunWorkerCompleted", &TBackgroundWorker::RunWorkerCompleted);
    c.Event("DoWork", &TBackgroundWorker::DoWork);
})

namespace {
// The run whose work executes on this thread.
thread_local TBackgroundWorkerThread* currentRun = nullptr;
}  // namespace

void TBackgroundWorker::Register() { RegisterClass(StaticClass()); }

TBackgroundWorker::~TBackgroundWorker() {
    destroying_ = true;
    worker_.store(nullptr);
    for (TBackgroundWorkerThread* thread : threads_) {
        thread->Terminate();
        TObject::Free(thread);  // waits, serving the GUI calls the work makes meanwhile
    }
}

void TBackgroundWorker::RunWorkerAsync() {
    if (worker_.load()) throw Exception("BackgroundWorker is busy");
    result_ = false;
    // The run keeps the handler it started with: DoWork may be set anew
    // while a forgotten run still works.
    auto* thread = new TBackgroundWorkerThread(
        [this, work = DoWork](TBackgroundWorkerThread* Self) { ExecuteDoWork(Self, work); });
    // Attached before the thread runs.
    thread->OnTerminate = TNotifyEvent(this, &TBackgroundWorker::WorkCompleted);
    threads_.push_back(thread);
    worker_.store(thread);
    thread->Start();
}

void TBackgroundWorker::ExecuteDoWork(TObject* Sender, const TDoWorkEvent& Work) {
    auto* thread = static_cast<TBackgroundWorkerThread*>(Sender);
    currentRun = thread;
    DoWorkEventArgs e;
    Work(this, e);
    thread->Result.store(e.Result);
}

void TBackgroundWorker::WorkCompleted(TObject* Sender) {
    if (destroying_) return;  // the destructor frees it
    auto* thread = static_cast<TBackgroundWorkerThread*>(Sender);
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
    // Freed once its run has fully ended, after this handler.
    TThread::Queue(nullptr, [thread] { TObject::Free(thread); });
    if (worker_.load() != thread) return;  // forgotten by Terminate
    struct Forget {
        std::atomic<TBackgroundWorkerThread*>& worker;
        ~Forget() { worker.store(nullptr); }
    } forget{worker_};
    result_ = thread->Result.load();
    RunWorkerCompletedEventArgs e{result_};
    RunWorkerCompleted(this, e);
}

void TBackgroundWorker::SynchronizeVCL(TThreadMethod Method) {
    TBackgroundWorkerThread* thread = currentRun ? currentRun : worker_.load();
    if (thread) TThread::Synchronize(thread, std::move(Method));
}

void TBackgroundWorker::Suspend() {
    TBackgroundWorkerThread* thread = worker_.load();
    if (thread && !thread->Suspended()) thread->Suspend();
}

void TBackgroundWorker::Resume() {
    TBackgroundWorkerThread* thread = worker_.load();
    if (thread && thread->Suspended()) thread->Resume();
}

void TBackgroundWorker::Terminate() {
    if (TBackgroundWorkerThread* thread = worker_.exchange(nullptr)) thread->Terminate();
}

bool TBackgroundWorker::TerminateRequested() const { return currentRun && currentRun->Terminated(); }

void TBackgroundWorker::CheckSuspended() const {
    if (currentRun) currentRun->Wait();
}
