#include "classes/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// A thread whose work is a callable; created suspended unless asked.
class FnThread : public TThread {
public:
    using Body = std::function<void(FnThread&)>;
    explicit FnThread(Body body, bool createSuspended = true) : TThread(createSuspended), body_(std::move(body)) {
        AfterConstruction();
    }
    using TThread::CheckPaused;

protected:
    void Execute() override { body_(*this); }

private:
    Body body_;
};

void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

template <class Pred>
void WaitUntil(Pred pred) {
    while (!pred()) Pause();
}

struct SqliteLikeError {  // stands outside both exception hierarchies
    int code;
};

}  // namespace

TEST(ThreadTest, SynchronizeRunsOnMainWhileMainWaits) {
    InitMainThread();
    std::vector<std::thread::id> ranOn;
    FnThread t([&](FnThread& self) {
        for (int i = 0; i < 20; ++i) self.Synchronize([&] { ranOn.push_back(std::this_thread::get_id()); });
        self.SetReturnValue(7);
    });
    EXPECT_EQ(t.ClassName(), "TThread");
    t.Start();
    EXPECT_EQ(t.WaitFor(), 7);
    ASSERT_EQ(ranOn.size(), 20u);
    for (auto id : ranOn) EXPECT_EQ(id, MainThreadID());
    EXPECT_TRUE(t.Finished());
    EXPECT_NE(t.ThreadID(), std::this_thread::get_id());

    // On the main thread the call runs at once.
    bool direct = false;
    TThread::Synchronize(nullptr, [&] { direct = true; });
    EXPECT_TRUE(direct);
}

TEST(ThreadTest, NonMainThreadCreatesAndWaitsForAnother) {
    // The import thread starts and stops the loop thread itself.
    std::atomic<int> refreshes{0};
    int innerResult = 0;
    FnThread outer([&](FnThread&) {
        FnThread inner([&](FnThread& self) {
            for (int i = 0; i < 5; ++i) self.Synchronize([&] { ++refreshes; });
            self.SetReturnValue(3);
        });
        inner.Start();
        innerResult = inner.WaitFor();
    });
    outer.Start();
    outer.WaitFor();
    EXPECT_EQ(innerResult, 3);
    EXPECT_EQ(refreshes.load(), 5);
}

TEST(ThreadTest, ExceptionEscapingExecuteIsKept) {
    struct Case {
        std::function<void()> raise;
        const char* message;
    };
    const Case cases[] = {
        {[] { throw EConvertError("'x' is not a valid integer value"); }, "'x' is not a valid integer value"},
        {[] {
             AnsiString s("ab");
             s.insert(5, "c");
         },
         nullptr},  // std::out_of_range
        {[] { throw SqliteLikeError{5}; }, "Unknown exception"},
    };
    for (const Case& c : cases) {
        FnThread t([&](FnThread&) { c.raise(); });
        t.Start();
        t.WaitFor();
        ASSERT_TRUE(t.FatalException());
        if (c.message)
            EXPECT_EQ(t.FatalExceptionMessage(), c.message);
        else
            EXPECT_FALSE(t.FatalExceptionMessage().empty());
    }
    FnThread t([](FnThread&) { throw EConvertError("bad"); });
    t.Start();
    t.WaitFor();
    EXPECT_THROW(std::rethrow_exception(t.FatalException()), EConvertError);
}

TEST(ThreadTest, ExceptionInSynchronizedMethodReachesWorker) {
    AnsiString caught;
    int sqliteCode = 0;
    FnThread t([&](FnThread& self) {
        try {
            self.Synchronize([] { throw EAbort("stop here"); });
        } catch (const Exception& e) {
            caught = e.Message;
        }
        try {
            self.Synchronize([] { throw SqliteLikeError{19}; });
        } catch (const SqliteLikeError& e) {
            sqliteCode = e.code;
        }
    });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(caught, "stop here");
    EXPECT_EQ(sqliteCode, 19);
    EXPECT_FALSE(t.FatalException());
}

TEST(ThreadTest, OnTerminateRunsOnMainAfterExecuteEvenWhenItRaised) {
    for (bool raise : {false, true}) {
        std::thread::id ranOn;
        TObject* sender = nullptr;
        AnsiString fatal;
        bool executeDone = false;
        FnThread t([&](FnThread&) {
            executeDone = true;
            if (raise) throw Exception("broken");
        });
        t.OnTerminate = [&](TObject* s) {
            ranOn = std::this_thread::get_id();
            sender = s;
            fatal = t.FatalExceptionMessage();
            EXPECT_TRUE(executeDone);
            EXPECT_FALSE(t.Finished());
        };
        t.Start();
        t.WaitFor();  // returns only after OnTerminate
        EXPECT_EQ(ranOn, MainThreadID());
        EXPECT_EQ(sender, &t);
        EXPECT_EQ(fatal, raise ? "broken" : "");
    }
}

TEST(ThreadTest, AFailingOnTerminateIsKeptUnlessExecuteFailedFirst) {
    for (bool executeRaises : {false, true}) {
        FnThread t([&](FnThread&) {
            if (executeRaises) throw Exception("execute broke");
        });
        t.OnTerminate = [](TObject*) { throw Exception("handler broke"); };
        t.Start();
        t.WaitFor();
        EXPECT_EQ(t.FatalExceptionMessage(), executeRaises ? "execute broke" : "handler broke");
    }
}

TEST(ThreadTest, QueuedCallsRunInOrder) {
    EXPECT_FALSE(CheckSynchronize());
    std::vector<int> order;
    FnThread t([&](FnThread& self) {
        for (int i = 0; i < 100; ++i) self.Queue([&order, i] { order.push_back(i); });
    });
    t.Start();
    t.WaitFor();  // may have run some of them while waiting
    // A Queue from the main thread waits its turn too.
    TThread::Queue(nullptr, [&] { order.push_back(100); });
    EXPECT_LT(order.size(), 101u);
    EXPECT_TRUE(CheckSynchronize());
    ASSERT_EQ(order.size(), 101u);
    for (int i = 0; i <= 100; ++i) EXPECT_EQ(order[i], i);
    EXPECT_FALSE(CheckSynchronize());
}

TEST(ThreadTest, FailingQueuedCallIsReportedAndLosesNothing) {
    std::vector<int> ran;
    TThread::Queue(nullptr, [&] { ran.push_back(1); });
    TThread::Queue(nullptr, [] { throw EConvertError("queued"); });
    TThread::Queue(nullptr, [&] { ran.push_back(3); });
    EXPECT_THROW(CheckSynchronize(), EConvertError);
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));

    // Raised while WaitFor drained: kept for the next CheckSynchronize.
    FnThread t([&](FnThread& self) {
        self.Queue([] { throw EAbort("later"); });
        self.Synchronize([&] { ran.push_back(4); });
    });
    t.Start();
    t.WaitFor();
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 4}));
    EXPECT_THROW(CheckSynchronize(), EAbort);
    EXPECT_FALSE(CheckSynchronize());
}

TEST(ThreadTest, CheckSynchronizeOnlyOnMainThread) {
    bool refused = false;
    FnThread t([&](FnThread&) {
        try {
            CheckSynchronize();
        } catch (const EThread&) {
            refused = true;
        }
    });
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(refused);
}

TEST(ThreadTest, PollingThreadPausesResumesAndTerminates) {
    std::atomic<int> ticks{0};
    FnThread t([&](FnThread& self) {
        while (self.CheckPaused()) {
            ++ticks;
            Pause();
        }
    });
    EXPECT_TRUE(t.Suspended());  // created suspended
    t.Resume();
    WaitUntil([&] { return ticks > 0; });
    EXPECT_FALSE(t.Suspended());

    t.Suspend();  // maps to a pause request
    EXPECT_TRUE(t.Suspended());
    EXPECT_TRUE(t.PauseRequested());
    WaitUntil([&] { return t.Paused(); });
    const int held = ticks;
    for (int i = 0; i < 5; ++i) Pause();
    EXPECT_EQ(ticks.load(), held);

    t.Resume();
    WaitUntil([&] { return ticks > held; });
    EXPECT_FALSE(t.PauseRequested());

    // Terminate wakes a paused thread: waiting for it cannot hang.
    t.RequestPause();
    WaitUntil([&] { return t.Paused(); });
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(t.Terminated());
}

TEST(ThreadTest, StartAndWaitRules) {
    FnThread never([](FnThread&) {});
    EXPECT_TRUE(never.Suspended());
    EXPECT_THROW(never.WaitFor(), EThread);  // never started: would wait forever

    std::atomic<bool> ran{false};
    FnThread autoStart([&](FnThread&) { ran = true; }, false);
    autoStart.WaitFor();
    EXPECT_TRUE(ran);
    EXPECT_THROW(autoStart.Start(), EThread);

    bool selfWait = false;
    FnThread self([&](FnThread& me) {
        try {
            me.WaitFor();
        } catch (const EThread&) {
            selfWait = true;
        }
    });
    self.Start();
    self.WaitFor();
    EXPECT_TRUE(selfWait);

    FnThread p([](FnThread&) {});
    p.SetPriority(tpHigher);
    EXPECT_EQ(p.Priority(), tpHigher);
}

TEST(ThreadTest, FreeOnTerminateDeletesOnMainAfterOnTerminate) {
    static std::atomic<int> alive{0};
    static std::thread::id deletedOn;
    struct Counted : FnThread {
        using FnThread::FnThread;
        ~Counted() override {
            deletedOn = std::this_thread::get_id();
            --alive;
        }
    };
    std::vector<int> events;
    for (int i = 0; i < 3; ++i) {
        ++alive;
        auto* t = new Counted([&events, i](FnThread& self) { self.Queue([&events, i] { events.push_back(i); }); });
        t->SetFreeOnTerminate(true);
        t->OnTerminate = [&events, i](TObject*) { events.push_back(10 + i); };
        t->Start();
        EXPECT_THROW(t->WaitFor(), EThread);
        // Only the main thread deletes it, and only after the queue is served.
        EXPECT_TRUE(WaitForFreeOnTerminateThreads(-1));
    }
    EXPECT_EQ(alive.load(), 0);
    EXPECT_EQ(deletedOn, MainThreadID());
    EXPECT_EQ(events, (std::vector<int>{0, 10, 1, 11, 2, 12}));

    // At process end: stop a long upload and wait for it.
    ++alive;
    auto* upload = new Counted([](FnThread& self) {
        while (self.CheckPaused()) Pause();
    });
    upload->SetFreeOnTerminate(true);
    upload->Start();
    EXPECT_FALSE(WaitForFreeOnTerminateThreads(0));
    EXPECT_TRUE(WaitForFreeOnTerminateThreads(-1, true));
    EXPECT_EQ(alive.load(), 0);
}

TEST(ThreadTest, DestroyingRunningThreadStopsItCooperatively) {
    // Blocked in Synchronize when the main thread frees it: served, not deadlocked.
    std::atomic<int> refreshes{0};
    auto* loop = new FnThread([&](FnThread& self) {
        while (!self.Terminated()) self.Synchronize([&] { ++refreshes; });
    });
    loop->Start();
    WaitUntil([&] {
        CheckSynchronize(1);
        return refreshes > 3;
    });
    TObject::Free(loop);

    // Paused when freed (the class library would hang here).
    auto* paused = new FnThread([](FnThread& self) {
        while (self.CheckPaused()) Pause();
    });
    paused->Start();
    paused->RequestPause();
    WaitUntil([&] { return paused->Paused(); });
    TObject::Free(paused);

    // Created suspended and never started: simply not started.
    auto idle = std::make_unique<FnThread>([](FnThread&) { FAIL(); });
    idle.reset();

    // A queued call of a destroyed thread never runs.
    bool late = false;
    auto t = std::make_unique<FnThread>([&](FnThread& self) { self.Queue([&] { late = true; }); });
    t->Start();
    WaitUntil([&] { return t->Finished(); });
    t.reset();
    CheckSynchronize();
    EXPECT_FALSE(late);
}

TEST(ThreadTest, TerminateCallsTheAbortHook) {
    std::mutex m;
    std::condition_variable cv;
    bool aborted = false;
    std::atomic<bool> inTransfer{false};
    FnThread t([&](FnThread& self) {
        self.SetAbortHook([&] {
            std::lock_guard lk(m);
            aborted = true;
            cv.notify_all();
        });
        inTransfer = true;
        std::unique_lock lk(m);
        cv.wait(lk, [&] { return aborted; });  // a transfer that only the hook ends
        lk.unlock();
        self.SetAbortHook(nullptr);
    });
    t.Start();
    WaitUntil([&] { return inTransfer.load(); });
    t.Terminate();
    t.WaitFor();
    EXPECT_TRUE(aborted);

    // Installed after Terminate: called at once.
    FnThread late([](FnThread&) {});
    late.Terminate();
    int calls = 0;
    late.SetAbortHook([&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

TEST(ThreadTest, WakeMainThreadSignalsQueuedWork) {
    std::atomic<int> wakes{0};
    WakeMainThread = [&] { ++wakes; };
    int served = 0;
    FnThread t([&](FnThread& self) {
        self.Queue([&] { ++served; });
        self.Synchronize([&] { ++served; });
    });
    t.Start();
    t.WaitFor();
    WakeMainThread = nullptr;
    EXPECT_EQ(served, 2);
    EXPECT_GE(wakes.load(), 2);
}

namespace {

// Counts the wake-ups the queue asks of the GUI loop while it lives.
struct WakeCounter {
    std::atomic<int> wakes{0};
    WakeCounter() {
        WakeMainThread = [this] { ++wakes; };
    }
    ~WakeCounter() { WakeMainThread = nullptr; }
};

TEST(ThreadTest, RemoveQueuedEventsDropsOnlyTheCallersQueuedCalls) {
    WakeCounter counter;
    bool queued = false, synchronized = false, othersCall = false;
    FnThread t([&](FnThread& self) {
        self.Queue([&] { queued = true; });
        // The worker waits for this one: dropping it would leave it waiting for ever.
        self.Synchronize([&] { synchronized = true; });
    });
    t.Start();
    WaitUntil([&] { return counter.wakes.load() >= 2; });
    TThread::Queue(nullptr, [&] { othersCall = true; });
    TThread::RemoveQueuedEvents(&t);
    EXPECT_TRUE(CheckSynchronize());
    t.WaitFor();
    EXPECT_FALSE(queued);
    EXPECT_TRUE(synchronized);
    EXPECT_TRUE(othersCall);
    EXPECT_FALSE(CheckSynchronize());
}

// The GUI loop's idle wait: a call queued while it waits is run before the time is up.
TEST(ThreadTest, CheckSynchronizeWithATimeOutServesACallQueuedMeanwhile) {
    std::atomic<bool> waiting{false};
    bool ran = false;
    FnThread t([&](FnThread& self) {
        WaitUntil([&] { return waiting.load(); });
        self.Queue([&] { ran = true; });
    });
    t.Start();
    waiting = true;
    EXPECT_TRUE(CheckSynchronize(60000));
    EXPECT_TRUE(ran);
    t.WaitFor();
}

TEST(ThreadTest, EachCheckSynchronizeRunsOnlyWhatWasQueuedOnEntry) {
    // A call that queues itself again must not hold the GUI loop.
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        TThread::Queue(nullptr, again);
    };
    TThread::Queue(nullptr, again);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(runs, 2);
    TThread::RemoveQueuedEvents(nullptr);
    EXPECT_FALSE(CheckSynchronize());
    EXPECT_EQ(runs, 2);

    // Three waiting, each queuing one more: one pass runs the three.
    int passes = 0;
    for (int i = 0; i < 3; ++i)
        TThread::Queue(nullptr, [&] {
            ++passes;
            TThread::Queue(nullptr, [&] { passes += 100; });
        });
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(passes, 3);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(passes, 303);
}

TEST(ThreadTest, AFailingQueuedCallWakesTheLoopForTheCallsBehindIt) {
    WakeCounter counter;
    bool ranAfter = false;
    TThread::Queue(nullptr, [] { throw EConvertError("first"); });
    TThread::Queue(nullptr, [&] { ranAfter = true; });
    int before = counter.wakes.load();
    EXPECT_THROW(CheckSynchronize(), EConvertError);
    EXPECT_EQ(counter.wakes.load(), before + 1);  // nobody else would serve the second call
    EXPECT_FALSE(ranAfter);
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_TRUE(ranAfter);

    // The last call failing leaves nothing to wake for.
    TThread::Queue(nullptr, [] { throw EConvertError("alone"); });
    before = counter.wakes.load();
    EXPECT_THROW(CheckSynchronize(), EConvertError);
    EXPECT_EQ(counter.wakes.load(), before);

    // Failures kept while WaitFor served the queue come one per call, waking for the next.
    FnThread t([](FnThread& self) {
        self.Queue([] { throw EAbort("one"); });
        self.Queue([] { throw EAbort("two"); });
        self.Synchronize([] {});
    });
    t.Start();
    t.WaitFor();
    before = counter.wakes.load();
    EXPECT_THROW(CheckSynchronize(), EAbort);
    EXPECT_EQ(counter.wakes.load(), before + 1);
    EXPECT_THROW(CheckSynchronize(), EAbort);
    EXPECT_EQ(counter.wakes.load(), before + 1);
    EXPECT_FALSE(CheckSynchronize());
}

}  // namespace
