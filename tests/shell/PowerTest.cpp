#include "shell/Power.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

TEST(ShellResume, ClockJumpDetector) {
    TClockJumpDetector d(2000);
    EXPECT_FALSE(d.Check({100'000, 40'000}));  // first sample primes only
    // Both clocks advance together: no sleep, whatever the pace.
    EXPECT_FALSE(d.Check({160'000, 100'000}));
    EXPECT_FALSE(d.Check({161'500, 101'000}));  // 500 ms drift stays under the threshold
    // The machine slept ten minutes: only the sleeping clock moved.
    EXPECT_TRUE(d.Check({763'500, 103'000}));
    // The jump is reported once, not on every later sample.
    EXPECT_FALSE(d.Check({765'500, 105'000}));
    // Exactly the threshold is drift; a millisecond more is a sleep.
    EXPECT_FALSE(d.Check({769'500, 107'000}));
    EXPECT_TRUE(d.Check({773'501, 109'000}));
}

namespace {

// One application object for the watcher tests; the timer and the queued
// calls need it.
QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    return *QCoreApplication::instance();
}

// Serves events until the condition holds or a generous limit passes.
template <class F>
bool PumpUntil(F done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace

TEST(ShellResume, WatcherWithoutBusReportsClockJumpOnMainThread) {
    App();
    auto sleptMs = std::make_shared<std::atomic<std::int64_t>>(0);
    std::int64_t base = 1'000'000;
    TResumeWatcherOptions opt;
    opt.UseSystemBus = false;
    opt.CheckIntervalMs = 5;
    opt.Clock = [sleptMs, base] { return TClockSample{base + *sleptMs, base}; };
    int calls = 0;
    QThread* callThread = nullptr;
    TResumeWatcher watcher(
        [&] {
            ++calls;
            callThread = QThread::currentThread();
        },
        opt);
    EXPECT_FALSE(watcher.WatchesLogind());

    *sleptMs = 60'000;
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(callThread, QThread::currentThread());
}

TEST(ShellResume, RaiseForTestReachesEveryWatcher) {
    App();
    TResumeWatcherOptions opt;
    opt.UseSystemBus = false;
    int a = 0, b = 0;
    {
        TResumeWatcher first([&] { ++a; }, opt);
        TResumeWatcher second([&] { throw std::runtime_error("handler fault"); }, opt);
        TResumeWatcher third([&] { ++b; }, opt);
        TResumeWatcher::RaiseResumeForTest();  // the throwing handler stops nobody
        EXPECT_EQ(a, 1);
        EXPECT_EQ(b, 1);

        // From another thread the event is queued to the watchers' thread.
        std::thread([] { TResumeWatcher::RaiseResumeForTest(); }).join();
        EXPECT_EQ(a, 1);
        ASSERT_TRUE(PumpUntil([&] { return a == 2 && b == 2; }));
    }
    TResumeWatcher::RaiseResumeForTest();  // none alive: nothing happens
    QCoreApplication::processEvents();
    EXPECT_EQ(a, 2);
}
