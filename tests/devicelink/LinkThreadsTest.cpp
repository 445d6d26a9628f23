// The refresh loop and the record-list writer on their own.
#include "FakeLoopClock.h"
#include "TempFolder.h"

#include "devicelink/RecordListWriter.h"
#include "devicelink/RefreshLoop.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Waits up to ten seconds for Ready.
template <class F>
bool Eventually(F&& Ready) {
    for (int i = 0; i < 2000; ++i) {
        if (Ready()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return Ready();
}

class Writer : public ::testing::Test {
protected:
    // A stopped writer ends at once; one that does not fails here within
    // seconds instead of keeping its run waiting for ever.
    static bool Ends(DBThread& W) {
        if (!Eventually([&] { return W.Finished(); })) return false;
        W.WaitFor();
        return true;
    }
    void SetUp() override { ASSERT_EQ(PrepareLocalDatabases(Dir.Root()).ExitCode, DB_READY); }

    std::unique_ptr<DBThread> Make() {
        return std::make_unique<DBThread>(Dir.Path("tmp.db"), [this](const AnsiString& line) {
            std::lock_guard lk(Mu);
            Lines.push_back(line);
        });
    }
    // url, filename, size and the size's SQL type of every DownFiles row.
    std::vector<std::vector<std::string>> Rows() {
        SqliteDb db;
        db.Open(Dir.Path("tmp.db"));
        SqliteStatement q(db, "SELECT url, filename, size, typeof(size) FROM DownFiles ORDER BY rowid;");
        std::vector<std::vector<std::string>> rows;
        while (q.Step()) rows.push_back({q.ColumnText(0), q.ColumnText(1), q.ColumnText(2), q.ColumnText(3)});
        return rows;
    }

    yorde::test::TTempFolder Dir{"yorde-writer"};
    std::mutex Mu;
    std::vector<std::string> Lines;
    std::atomic<bool> NotCancelled{false};
};

// A page handed over and a Stop given before the writer ever ran are both
// kept: the page is stored, then the writer ends.
TEST_F(Writer, PageAndStopBeforeTheStart) {
    auto writer = Make();
    writer->SetLists({"ROZMOWY\\2024\\a.wav", "b.wav", "x');DROP TABLE DownFiles;--"}, {"1625", "2.5", "7"});
    // A second page before the writer took the first joins it.
    writer->SetLists({"c.wav"}, {"9"});
    EXPECT_TRUE(writer->IsBusy());
    writer->Stop();
    writer->Start();
    EXPECT_TRUE(writer->WaitIdle(NotCancelled));
    ASSERT_TRUE(Ends(*writer));

    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"ROZMOWY\\2024\\a.wav", "a.wav", "1625", "integer"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"b.wav", "b.wav", "2.5", "real"}));
    EXPECT_EQ(rows[2][0], "x');DROP TABLE DownFiles;--");
    EXPECT_EQ(rows[3], (std::vector<std::string>{"c.wav", "c.wav", "9", "integer"}));
    writer.reset();
    EXPECT_EQ(Lines.front(), "DBThread started");
    EXPECT_EQ(Lines[1], "DBThread list: ROZMOWY\\2024\\a.wav");
    EXPECT_EQ(Lines.back(), "DBThread stoped");
}

// A page that cannot be stored is logged and still cleared, so the run
// waiting for it goes on; the next page is stored.
TEST_F(Writer, FailedPageIsClearedAndTheNextStored) {
    {
        SqliteDb db;
        db.Open(Dir.Path("tmp.db"));
        db.ExecDml("DROP TABLE DownFiles;");
    }
    auto writer = Make();
    writer->Start();
    writer->SetLists({"a.wav"}, {"1"});
    EXPECT_TRUE(writer->WaitIdle(NotCancelled));
    EXPECT_FALSE(writer->IsBusy());
    {
        SqliteDb db;
        db.Open(Dir.Path("tmp.db"));
        db.ExecDml(TmpDbCreateStatement);
    }
    writer->SetLists({"b.wav"}, {"2"});
    EXPECT_TRUE(writer->WaitIdle(NotCancelled));
    writer->Stop();
    ASSERT_TRUE(Ends(*writer));
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Rows()[0][0], "b.wav");
    std::lock_guard lk(Mu);
    EXPECT_NE(std::find_if(Lines.begin(), Lines.end(),
                           [](const std::string& l) { return l.rfind("DBThread catch: ", 0) == 0; }),
              Lines.end());
}

// A wait for a writer that never runs ends when the wait is cancelled.
TEST_F(Writer, WaitEndsWhenCancelled) {
    auto writer = Make();
    writer->SetLists({"a.wav"}, {"1"});
    std::atomic<bool> cancel{false};
    std::thread waiter([&] { EXPECT_FALSE(writer->WaitIdle(cancel)); });
    cancel = true;
    writer->Wake();
    waiter.join();
}

class Loop : public ::testing::Test {
protected:
    std::unique_ptr<LoopThread> Make() {
        return std::make_unique<LoopThread>([this] { return Seconds.load(); }, [this] { ++Requests; }, Clock);
    }
    // Moves the clock on and waits until the loop has seen it.
    void Advance(std::chrono::milliseconds By) {
        Clock->Advance(By);
        ASSERT_TRUE(Clock->AwaitSleep());
    }
    std::atomic<int> Seconds{0};
    std::atomic<int> Requests{0};
    std::shared_ptr<yorde::test::TFakeLoopClock> Clock = std::make_shared<yorde::test::TFakeLoopClock>();
};

// The users frame sets the interval to the slider's position times 120 s: the
// loop asks exactly when each interval is over, again and again, counted
// from its previous request.
TEST_F(Loop, AsksOnTimeAtEveryInterval) {
    for (int position : {1, 3, 60}) {
        SCOPED_TRACE(position);
        Seconds = position * 120;
        Requests = 0;
        auto loop = Make();
        ASSERT_TRUE(Clock->AwaitSleep());
        const std::chrono::milliseconds interval = std::chrono::seconds(Seconds.load());
        for (int n = 1; n <= 4; ++n) {
            Advance(interval - 1ms);
            EXPECT_EQ(Requests, n - 1);
            Advance(1ms);
            EXPECT_EQ(Requests, n);
        }
        // Long past the time, one request: the time counts anew from it.
        Advance(interval * 3);
        EXPECT_EQ(Requests, 5);
    }
}

// A pause is seen at once: the time up to it counts, the pause itself counts
// for nothing, and the loop counts again as soon as it is resumed.
TEST_F(Loop, PauseAndResumeTakeEffectAtOnce) {
    Seconds = 120;
    auto loop = Make();
    ASSERT_TRUE(Clock->AwaitSleep());
    Advance(100s);
    loop->Pause();
    EXPECT_TRUE(loop->IsPaused());
    ASSERT_TRUE(Clock->AwaitSleep(false)) << "the loop did not see the pause";
    Clock->Advance(3600s);
    ASSERT_TRUE(Clock->AwaitSleep(false));
    EXPECT_EQ(Requests, 0);
    loop->Resume();
    ASSERT_TRUE(Clock->AwaitSleep()) << "the loop did not see the end of the pause";
    Advance(20s - 1ms);
    EXPECT_EQ(Requests, 0);
    Advance(1ms);
    EXPECT_EQ(Requests, 1);
}

// With no interval the loop asks every 10 ms, paused it asks nothing, and
// resumed it asks again.
TEST_F(Loop, NoIntervalAsksEveryTenMilliseconds) {
    auto loop = Make();
    ASSERT_TRUE(Clock->AwaitSleep());
    const int first = Requests;
    for (int n = 1; n <= 5; ++n) Advance(10ms);
    EXPECT_EQ(Requests, first + 5);
    loop->Pause();
    ASSERT_TRUE(Clock->AwaitSleep(false));
    Clock->Advance(1000ms);
    ASSERT_TRUE(Clock->AwaitSleep(false));
    EXPECT_EQ(Requests, first + 5);
    loop->Resume();
    ASSERT_TRUE(Clock->AwaitSleep());
    Advance(10ms);
    EXPECT_EQ(Requests, first + 6);
}

// Every request is followed by a wait of its own: the loop never asks twice
// in a row without reading the interval, waiting, and reading it again.
TEST_F(Loop, EveryRequestWaitsItsInterval) {
    std::mutex mu;
    std::string trace;  // 'i' for every read of the interval, 'R' for every request
    auto loop = std::make_unique<LoopThread>(
        [&] {
            std::lock_guard lk(mu);
            trace += 'i';
            return 0;
        },
        [&] {
            std::lock_guard lk(mu);
            trace += 'R';
        });
    EXPECT_TRUE(Eventually([&] {
        std::lock_guard lk(mu);
        return std::count(trace.begin(), trace.end(), 'R') >= 4;
    }));
    loop.reset();
    const size_t first = trace.find('R');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(trace.find("RiR", first), std::string::npos) << trace;
    EXPECT_EQ(trace.find("RR", first), std::string::npos) << trace;
}

// A loop waiting out a long interval, or paused, still ends when freed.
TEST_F(Loop, EndsWhileWaitingOrPaused) {
    Seconds = 3600;
    auto waiting = Make();
    ASSERT_TRUE(Clock->AwaitSleep());
    waiting.reset();
    EXPECT_EQ(Requests, 0);

    auto paused = Make();
    ASSERT_TRUE(Clock->AwaitSleep());
    paused->Pause();
    ASSERT_TRUE(Clock->AwaitSleep(false));
    paused.reset();

    // Paused by its own request, so that it surely waits paused when freed.
    std::promise<void> pausedItself;
    std::unique_ptr<LoopThread> loop;
    std::once_flag once;
    loop = std::make_unique<LoopThread>([] { return 0; },
                                        [&] {
                                            std::call_once(once, [&] {
                                                loop->Pause();
                                                pausedItself.set_value();
                                            });
                                        });
    ASSERT_EQ(pausedItself.get_future().wait_for(10s), std::future_status::ready);
    loop.reset();
}

// A shorter interval set while the loop waits takes effect with the time
// already counted.
TEST_F(Loop, IntervalChangesWhileWaiting) {
    Seconds = 3600;
    auto loop = Make();
    ASSERT_TRUE(Clock->AwaitSleep());
    Advance(100s);
    Seconds = 120;
    Advance(19s);
    EXPECT_EQ(Requests, 0);
    Advance(1s);
    EXPECT_EQ(Requests, 1);
}

}  // namespace
