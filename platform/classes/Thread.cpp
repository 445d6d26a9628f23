#include "Thread.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <vector>

YORDE_IMPLEMENT_CLASS(TThread, [](TClassBuilder<TThread>&) {})

std::function<void()> WakeMainThread;

namespace {

using Clock = std::chrono::steady_clock;

struct QueuedCall {
    TThreadMethod method;
    TThread* caller = nullptr;
    bool synchronous = false;
    bool done = false;         // synchronous calls: guarded by SyncState::mutex
    std::exception_ptr error;  // synchronous calls: handed back to the caller
};

struct SyncState {
    std::mutex mutex;
    std::condition_variable mainCv;  // a call was queued, a thread finished or was deleted
    std::condition_variable doneCv;  // a synchronous call has run
    std::deque<std::shared_ptr<QueuedCall>> queue;
    // Failures of queued calls run inside WaitFor, reported by the next CheckSynchronize.
    std::deque<std::exception_ptr> deferred;
    std::set<TThread*> live;  // started and not yet destroyed
};

// Never destroyed: workers may still queue while static destructors run.
SyncState& State() {
    static SyncState* s = new SyncState;
    return *s;
}

std::atomic<std::thread::id> mainThread;

void wake() {
    if (WakeMainThread) WakeMainThread();
}

void post(std::shared_ptr<QueuedCall> call) {
    SyncState& s = State();
    {
        std::lock_guard lk(s.mutex);
        s.queue.push_back(std::move(call));
    }
    s.mainCv.notify_all();
    wake();
}

void notifyMain() {
    SyncState& s = State();
    { std::lock_guard lk(s.mutex); }  // orders the caller's state change before the wake-up
    s.mainCv.notify_all();
}

// Runs the oldest queued call. A failing queued call is either raised here
// (the calls after it stay queued) or, with defer, kept for CheckSynchronize.
bool runOne(bool defer) {
    SyncState& s = State();
    std::shared_ptr<QueuedCall> call;
    {
        std::lock_guard lk(s.mutex);
        if (s.queue.empty()) return false;
        call = std::move(s.queue.front());
        s.queue.pop_front();
    }
    if (call->synchronous) {
        try {
            call->method();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard lk(s.mutex);
            call->done = true;
            // Let the caller own the last reference: the exception object is
            // then freed on the thread that handles it.
            call.reset();
        }
        s.doneCv.notify_all();
        return true;
    }
    try {
        call->method();
    } catch (...) {
        if (!defer) {
            bool more;
            {
                std::lock_guard lk(s.mutex);
                more = !s.queue.empty();
            }
            if (more) wake();
            throw;
        }
        std::lock_guard lk(s.mutex);
        s.deferred.push_back(std::current_exception());
    }
    return true;
}

// Main thread: runs queued calls until done() holds (evaluated under the
// state's mutex) or the deadline passes. Never raises.
bool serveUntil(const std::function<bool()>& done, std::optional<Clock::time_point> deadline) {
    SyncState& s = State();
    for (;;) {
        {
            std::unique_lock lk(s.mutex);
            auto ready = [&] { return done() || !s.queue.empty(); };
            if (deadline) {
                if (!s.mainCv.wait_until(lk, *deadline, ready)) return false;
            } else {
                s.mainCv.wait(lk, ready);
            }
            if (done()) return true;
        }
        runOne(true);
    }
}

AnsiString describe(const std::exception_ptr& e) {
    try {
        std::rethrow_exception(e);
    } catch (const Exception& x) {
        return x.Message;
    } catch (const std::exception& x) {
        return FromCStr(x.what());
    } catch (...) {
        return "Unknown exception";
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Main thread

void InitMainThread() { mainThread.store(std::this_thread::get_id()); }

std::thread::id MainThreadID() {
    std::thread::id id = mainThread.load();
    if (id == std::thread::id()) {
        mainThread.compare_exchange_strong(id, std::this_thread::get_id());
        id = mainThread.load();
    }
    return id;
}

bool IsMainThread() { return std::this_thread::get_id() == MainThreadID(); }

bool CheckSynchronize(int TimeoutMs) {
    if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread other than the main thread");
    SyncState& s = State();
    size_t pending;
    {
        std::unique_lock lk(s.mutex);
        if (!s.deferred.empty()) {
            std::exception_ptr e = s.deferred.front();
            s.deferred.pop_front();
            const bool more = !s.queue.empty() || !s.deferred.empty();
            lk.unlock();
            if (more) wake();
            std::rethrow_exception(e);
        }
        if (s.queue.empty() && TimeoutMs > 0)
            s.mainCv.wait_for(lk, std::chrono::milliseconds(TimeoutMs), [&] { return !s.queue.empty(); });
        pending = s.queue.size();
    }
    // Only what was queued on entry: a call that queues again cannot keep us here.
    // One at a time, so that a modal loop inside a call keeps the order.
    bool ran = false;
    for (size_t i = 0; i < pending && runOne(false); ++i) ran = true;
    return ran;
}

bool WaitForFreeOnTerminateThreads(int TimeoutMs, bool TerminateFirst) {
    if (!IsMainThread()) throw EThread("WaitForFreeOnTerminateThreads called from a thread other than the main thread");
    SyncState& s = State();
    if (TerminateFirst) {
        // Such threads are deleted only on this thread, so the pointers stay valid here.
        std::vector<TThread*> threads;
        {
            std::lock_guard lk(s.mutex);
            for (TThread* t : s.live)
                if (t->FreeOnTerminate()) threads.push_back(t);
        }
        for (TThread* t : threads) t->Terminate();
    }
    auto noneLeft = [&s] {
        for (TThread* t : s.live)
            if (t->FreeOnTerminate()) return false;
        return true;
    };
    std::optional<Clock::time_point> deadline;
    if (TimeoutMs >= 0) deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs);
    return serveUntil(noneLeft, deadline);
}

// ---------------------------------------------------------------------------
// TThread

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) { MainThreadID(); }

TThread::~TThread() {
    stopAndWait();
    RemoveQueuedEvents(this);
    SyncState& s = State();
    {
        std::lock_guard lk(s.mutex);
        s.live.erase(this);
    }
    s.mainCv.notify_all();
}

void TThread::AfterConstruction() {
    if (createSuspended_) return;
    std::lock_guard lk(mutex_);
    if (!started_) launch();
}

void TThread::BeforeDestruction() {
    stopAndWait();
    inherited::BeforeDestruction();
}

void TThread::Start() {
    std::lock_guard lk(mutex_);
    if (started_) throw EThread("Cannot start a thread that was already started");
    launch();
}

void TThread::Resume() {
    {
        std::lock_guard lk(mutex_);
        if (!started_) {
            launch();
            return;
        }
    }
    ResumePaused();
}

// Called with mutex_ held.
void TThread::launch() {
    SyncState& s = State();
    {
        std::lock_guard lk(s.mutex);
        s.live.insert(this);
    }
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::exception& e) {
        {
            std::lock_guard lk(s.mutex);
            s.live.erase(this);
        }
        throw EThread(AnsiString("Cannot create a thread: ") + e.what());
    }
    started_ = true;
    id_ = thread_.get_id();
}

void TThread::Suspend() {
    std::lock_guard lk(mutex_);
    if (started_) pauseRequested_.store(true);
}

bool TThread::Suspended() const {
    std::lock_guard lk(mutex_);
    return !started_ || pauseRequested_.load();
}

std::thread::id TThread::ThreadID() const {
    std::lock_guard lk(mutex_);
    return id_;
}

void TThread::Terminate() {
    {
        std::lock_guard lk(mutex_);
        terminated_.store(true);
    }
    cv_.notify_all();
    std::lock_guard lk(hookMutex_);
    if (abortHook_) {
        try {
            abortHook_();
        } catch (...) {
            // A failed abort only means the transfer runs until its next check.
        }
    }
}

void TThread::SetAbortHook(std::function<void()> Hook) {
    std::lock_guard lk(hookMutex_);
    abortHook_ = std::move(Hook);
    if (abortHook_ && terminated_.load()) {
        try {
            abortHook_();
        } catch (...) {
        }
    }
}

void TThread::RequestPause() {
    std::lock_guard lk(mutex_);
    pauseRequested_.store(true);
}

void TThread::ResumePaused() {
    {
        std::lock_guard lk(mutex_);
        pauseRequested_.store(false);
    }
    cv_.notify_all();
}

bool TThread::CheckPaused() {
    std::unique_lock lk(mutex_);
    if (pauseRequested_.load() && !terminated_.load()) {
        paused_.store(true);
        cv_.wait(lk, [this] { return !pauseRequested_.load() || terminated_.load(); });
        paused_.store(false);
    }
    return !terminated_.load();
}

int TThread::WaitFor() {
    {
        std::lock_guard lk(mutex_);
        if (!started_) throw EThread("Cannot wait for a thread that was never started");
        if (id_ == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
    }
    if (freeOnTerminate_.load()) throw EThread("Cannot wait for a thread that frees itself on termination");
    if (IsMainThread()) {
        serveUntil([this] { return finished_.load(); }, std::nullopt);
    } else {
        std::unique_lock lk(mutex_);
        cv_.wait(lk, [this] { return finished_.load(); });
    }
    join();
    return returnValue_.load();
}

void TThread::Synchronize(TThread* Caller, TThreadMethod Method) {
    if (!Method) return;
    if (IsMainThread()) {
        Method();
        return;
    }
    auto call = std::make_shared<QueuedCall>();
    call->method = std::move(Method);
    call->caller = Caller;
    call->synchronous = true;
    post(call);
    SyncState& s = State();
    std::unique_lock lk(s.mutex);
    s.doneCv.wait(lk, [&] { return call->done; });
    if (call->error) std::rethrow_exception(call->error);
}

void TThread::Queue(TThread* Caller, TThreadMethod Method) {
    if (!Method) return;
    auto call = std::make_shared<QueuedCall>();
    call->method = std::move(Method);
    call->caller = Caller;
    post(std::move(call));
}

void TThread::RemoveQueuedEvents(TThread* Caller) {
    SyncState& s = State();
    std::vector<std::shared_ptr<QueuedCall>> dropped;  // destroyed after the lock is released
    std::lock_guard lk(s.mutex);
    // A synchronous call has a caller waiting for it: it stays.
    std::deque<std::shared_ptr<QueuedCall>> kept;
    for (auto& c : s.queue) {
        if (!c->synchronous && c->caller == Caller)
            dropped.push_back(std::move(c));
        else
            kept.push_back(std::move(c));
    }
    s.queue.swap(kept);
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::run() {
    try {
        Execute();
    } catch (...) {
        fatal_ = std::current_exception();
        fatalMessage_ = describe(fatal_);
    }
    try {
        DoTerminate();
    } catch (...) {
        if (!fatal_) {
            fatal_ = std::current_exception();
            fatalMessage_ = describe(fatal_);
        }
    }
    const bool freeSelf = freeOnTerminate_.load();
    {
        std::lock_guard lk(mutex_);
        finished_.store(true);
    }
    cv_.notify_all();
    notifyMain();
    // Whoever deletes this object joins this thread first, so it stays valid
    // until run() returns.
    if (freeSelf) Queue(nullptr, [this] { TObject::Free(this); });
}

void TThread::stopAndWait() noexcept {
    {
        std::lock_guard lk(mutex_);
        if (!started_) return;
        // Deleting itself from Execute is a usage error: std::thread's
        // destructor then ends the process instead of a silent deadlock.
        if (id_ == std::this_thread::get_id()) return;
    }
    if (!finished_.load()) {
        Terminate();
        if (IsMainThread()) {
            serveUntil([this] { return finished_.load(); }, std::nullopt);
        } else {
            std::unique_lock lk(mutex_);
            cv_.wait(lk, [this] { return finished_.load(); });
        }
    }
    join();
}

void TThread::join() noexcept {
    std::lock_guard lk(joinMutex_);
    if (thread_.joinable()) thread_.join();
}
