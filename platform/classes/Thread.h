#pragma once
// Worker threads in the class library's manner, and the queue through which
// workers hand calls to the main (GUI) thread.
//
// The main thread drains the queue with CheckSynchronize(): the GUI layer
// sets WakeMainThread to post an event into its loop whenever a call is
// queued, and calls CheckSynchronize() from that event. WaitFor and the
// destructor drain the queue too when they run on the main thread, so a
// worker blocked in Synchronize and the main thread waiting for it cannot
// deadlock.
//
// Differences from the class library, forced by C++ and POSIX:
// - C++ runs no code after the most-derived constructor, so a thread created
//   with CreateSuspended false starts when the most-derived constructor ends
//   with AfterConstruction() (or at Start()); it is never started from the
//   base constructor, where Execute would race the derived construction.
// - A running thread cannot be suspended. Suspend() maps to RequestPause():
//   the thread stops at its next CheckPaused() and waits there until
//   Resume()/ResumePaused() or Terminate().
// - Nothing kills a thread. Terminate() sets the stop flag, wakes a paused
//   thread and calls the abort hook so a blocked transfer gives up; the
//   thread ends when its Execute returns.
// - A thread object must not be destroyed while Execute still uses members
//   of the derived class: free running threads with TObject::Free (which
//   stops and waits while the object is whole) or WaitFor before delete.
//   The destructor stops and waits as a last resort.
#include "Classes.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = std::function<void()>;

class TThread : public TObject {
    YORDE_CLASS(TThread, TObject)
public:
    explicit TThread(bool CreateSuspended);
    ~TThread() override;

    // Starts a thread that was not created suspended (see above). Only the
    // most-derived constructor calls it, as its last statement.
    void AfterConstruction();
    // Stops and waits while the derived object is still whole (TObject::Free).
    void BeforeDestruction() override;

    // Starts the thread; EThread when it was started before.
    void Start();
    // Starts a thread that was never started, or lets a paused one go on.
    void Resume();
    // Cooperative: the same as RequestPause() on a running thread.
    void Suspend();
    // Not started yet, or asked to pause.
    bool Suspended() const;

    // Sets the stop flag, wakes a paused thread and calls the abort hook.
    // Any thread may call it.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }
    // Execute has ended and OnTerminate has run.
    bool Finished() const { return finished_.load(); }

    // Waits until Execute has ended and OnTerminate has run; returns
    // ReturnValue. On the main thread it keeps running queued calls while it
    // waits. EThread when the thread was never started, when a thread waits
    // for itself, and for FreeOnTerminate threads (they may be gone on return).
    int WaitFor();

    int ReturnValue() const { return returnValue_.load(); }
    void SetReturnValue(int v) { returnValue_.store(v); }
    // The object deletes itself on the main thread after OnTerminate.
    bool FreeOnTerminate() const { return freeOnTerminate_.load(); }
    void SetFreeOnTerminate(bool v) { freeOnTerminate_.store(v); }
    // Kept only: Linux's normal scheduling ignores thread priorities.
    TThreadPriority Priority() const { return priority_.load(); }
    void SetPriority(TThreadPriority v) { priority_.store(v); }
    // Id of the running thread; a default id before Start.
    std::thread::id ThreadID() const;

    // An exception that escaped Execute (or OnTerminate): kept, never fatal.
    // Valid once the thread has finished, and inside OnTerminate.
    std::exception_ptr FatalException() const { return fatal_; }
    const AnsiString& FatalExceptionMessage() const { return fatalMessage_; }

    // Run on the main thread after Execute ends, also when Execute raised.
    // Assign before the thread starts.
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread while the caller waits; directly when
    // called on the main thread. An exception raised by Method is re-raised
    // in the caller. Caller may be null for threads not made by this class.
    void Synchronize(TThreadMethod Method) { Synchronize(this, std::move(Method)); }
    static void Synchronize(TThread* Caller, TThreadMethod Method);
    // Posts Method to the main thread without waiting; calls run in the order
    // they were posted (also when posted from the main thread).
    void Queue(TThreadMethod Method) { Queue(this, std::move(Method)); }
    static void Queue(TThread* Caller, TThreadMethod Method);
    // Drops calls that Caller queued and the main thread has not run yet.
    static void RemoveQueuedEvents(TThread* Caller);

    // Cooperative pause of a polling thread.
    void RequestPause();
    void ResumePaused();
    bool PauseRequested() const { return pauseRequested_.load(); }
    // The thread is blocked in CheckPaused right now.
    bool Paused() const { return paused_.load(); }

    // Called by Terminate() (on the terminating thread) so that a blocked
    // transfer can be cancelled; called at once when installed after
    // Terminate(). Must be quick and must not call back into this object.
    // Clearing it (nullptr) waits for a call in progress to return.
    void SetAbortHook(std::function<void()> Hook);

protected:
    virtual void Execute() = 0;
    // Runs OnTerminate on the main thread; called on the worker after Execute.
    virtual void DoTerminate();
    // Blocks while a pause is requested; wakes on resume or terminate.
    // Returns !Terminated().
    bool CheckPaused();

private:
    void launch();
    void run();
    void stopAndWait() noexcept;
    void join() noexcept;

    std::thread thread_;
    std::mutex joinMutex_;
    mutable std::mutex mutex_;  // guards started_, id_, the pause wait
    std::condition_variable cv_;
    bool createSuspended_;
    bool started_ = false;
    std::thread::id id_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> pauseRequested_{false};
    std::atomic<bool> paused_{false};
    std::atomic<bool> freeOnTerminate_{false};
    std::atomic<int> returnValue_{0};
    std::atomic<TThreadPriority> priority_{tpNormal};
    std::exception_ptr fatal_;  // written by the worker before finished_
    AnsiString fatalMessage_;
    std::mutex hookMutex_;
    std::function<void()> abortHook_;
};

// The main-thread side.

// Runs the calls queued so far (waiting up to TimeoutMs for one when none is
// queued); returns whether it ran any. Only on the main thread (else
// EThread). An exception raised by a queued (not synchronized) call comes
// out here; the calls after it stay queued.
bool CheckSynchronize(int TimeoutMs = 0);

// Set by the GUI layer before any worker starts: posts an event into its loop
// that calls CheckSynchronize(). Called on the queuing thread.
extern std::function<void()> WakeMainThread;

// The main thread: the one that called InitMainThread(), else the first that
// touched the thread class.
void InitMainThread();
std::thread::id MainThreadID();
bool IsMainThread();

// At process end, on the main thread: runs queued calls until every started
// FreeOnTerminate thread has finished and been deleted, or TimeoutMs passed
// (negative: no limit). With TerminateFirst, asks them to stop first.
// Returns true when none is left.
bool WaitForFreeOnTerminateThreads(int TimeoutMs, bool TerminateFirst = false);
