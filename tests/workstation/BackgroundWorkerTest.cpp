// The background worker: work off the GUI thread, its end reported on it,
// one run at a time, and the cooperative suspend and terminate.
#include "workstation/BackgroundWorker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Runs the GUI thread's queue until Done holds (a hang shows as a failure,
// not as a stuck test).
template <class F>
bool serveUntil(F Done) {
    for (int i = 0; i < 2000 && !Done(); ++i) CheckSynchronize(10);
    return Done();
}

// A gate the work waits at until the test opens it.
class Gate {
public:
    void Open() {
        std::lock_guard<std::mutex> lock(m_);
        open_ = true;
        cv_.notify_all();
    }
    void Pass() {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool open_ = false;
};

class BackgroundWorker : public ::testing::Test {
protected:
    void SetUp() override { InitMainThread(); }
    void TearDown() override {
        worker.reset();
        serveUntil([] { return !CheckSynchronize(0); });  // the freed threads' last calls
    }
    void onCompleted() {
        worker->RunWorkerCompleted = [this](TObject* Sender, RunWorkerCompletedEventArgs& e) {
            EXPECT_EQ(Sender, worker.get());
            EXPECT_TRUE(IsMainThread());
            results.push_back(e.Result);
        };
    }
    std::unique_ptr<TBackgroundWorker, void (*)(TObject*)> worker{new TBackgroundWorker(nullptr), &TObject::Free};
    std::vector<bool> results;
};

TEST_F(BackgroundWorker, WorkRunsOffTheGuiThreadAndItsEndIsReportedOnIt) {
    std::thread::id workThread;
    worker->DoWork = [&](TObject* Sender, DoWorkEventArgs& e) {
        EXPECT_EQ(Sender, worker.get());
        EXPECT_FALSE(e.Result);
        workThread = std::this_thread::get_id();
        e.Result = true;
    };
    onCompleted();
    worker->RunWorkerAsync();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1; }));
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_EQ(results, std::vector<bool>{true});

    // After the report a new run is accepted; a work that leaves the flag reports false.
    worker->DoWork = [](TObject*, DoWorkEventArgs&) {};
    worker->RunWorkerAsync();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 2; }));
    EXPECT_EQ(results, (std::vector<bool>{true, false}));
}

TEST_F(BackgroundWorker, ASecondStartDuringARunIsRefused) {
    Gate gate;
    worker->DoWork = [&](TObject*, DoWorkEventArgs& e) {
        gate.Pass();
        e.Result = true;
    };
    onCompleted();
    worker->RunWorkerAsync();
    try {
        worker->RunWorkerAsync();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "BackgroundWorker is busy");
    }
    gate.Open();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1; }));
    EXPECT_EQ(results, std::vector<bool>{true});  // the refused start ran nothing
}

TEST_F(BackgroundWorker, AWorkThatRaisesStillReportsItsEnd) {
    worker->DoWork = [](TObject*, DoWorkEventArgs& e) {
        e.Result = true;
        throw std::runtime_error("disk gone");
    };
    onCompleted();
    worker->RunWorkerAsync();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1; }));
    EXPECT_EQ(results, std::vector<bool>{false});
    EXPECT_NO_THROW(worker->RunWorkerAsync());
    ASSERT_TRUE(serveUntil([&] { return results.size() == 2; }));
}

TEST_F(BackgroundWorker, SynchronizeVclRunsOnTheGuiThreadWhileTheWorkWaits) {
    std::vector<std::string> order;
    worker->DoWork = [&](TObject*, DoWorkEventArgs& e) {
        worker->SynchronizeVCL([&] {
            EXPECT_TRUE(IsMainThread());
            order.push_back("gui");
        });
        order.push_back("work");  // after the GUI call returned
        e.Result = true;
    };
    onCompleted();
    worker->RunWorkerAsync();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1; }));
    EXPECT_EQ(order, (std::vector<std::string>{"gui", "work"}));
}

TEST_F(BackgroundWorker, TerminateForgetsTheRunAndNeverReportsIt) {
    Gate started;
    std::atomic<int> stopped{0};
    worker->DoWork = [&](TObject*, DoWorkEventArgs& e) {
        started.Open();
        while (!worker->TerminateRequested()) worker->CheckSuspended();
        ++stopped;
        e.Result = true;
    };
    onCompleted();
    worker->RunWorkerAsync();
    started.Pass();
    worker->Terminate();
    // A new run is accepted at once.
    worker->DoWork = [](TObject*, DoWorkEventArgs&) {};
    worker->RunWorkerAsync();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1 && stopped == 1; }));
    EXPECT_EQ(results, std::vector<bool>{false});  // only the second run's end
    worker->Terminate();                           // idle: nothing happens
}

TEST_F(BackgroundWorker, ASuspendedRunGoesOnWhenResumed) {
    Gate atCheck, suspended;
    worker->DoWork = [&](TObject*, DoWorkEventArgs& e) {
        atCheck.Open();
        suspended.Pass();
        worker->CheckSuspended();  // waits here until Resume
        e.Result = true;
    };
    onCompleted();
    worker->Suspend();  // idle: nothing happens
    worker->Resume();
    worker->RunWorkerAsync();
    atCheck.Pass();
    worker->Suspend();
    suspended.Open();
    worker->Resume();
    ASSERT_TRUE(serveUntil([&] { return results.size() == 1; }));
    EXPECT_EQ(results, std::vector<bool>{true});
}

TEST_F(BackgroundWorker, FreedWhileWorkingStopsTheWorkQuietly) {
    Gate started;
    bool reported = false;
    TBackgroundWorker* w = worker.get();  // the smart pointer is cleared before the object goes
    w->DoWork = [&started, w](TObject*, DoWorkEventArgs&) {
        started.Open();
        while (!w->TerminateRequested()) w->SynchronizeVCL([] {});
    };
    worker->RunWorkerCompleted = [&](TObject*, RunWorkerCompletedEventArgs&) { reported = true; };
    worker->RunWorkerAsync();
    started.Pass();
    worker.reset();
    EXPECT_FALSE(reported);
}

TEST(BackgroundWorkerClass, IsKnownToLayoutsWithItsEvents) {
    TBackgroundWorker::Register();
    ASSERT_EQ(GetClass("TBackgroundWorker"), TBackgroundWorker::StaticClass());
    TBackgroundWorker w(nullptr);
    for (const char* event : {"DoWork", "RunWorkerCompleted"}) EXPECT_TRUE(PropIsType(&w, event, tkMethod)) << event;
}

}  // namespace
