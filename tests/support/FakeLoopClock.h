#pragma once
// A clock for the refresh loop that moves only when a test moves it, and
// tells the test when the loop has gone to sleep on it.
#include "devicelink/RefreshLoop.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace yorde::test {

class TFakeLoopClock : public TLoopClock {
public:
    TTime Now() override {
        std::lock_guard lk(Mu);
        return Time;
    }

    void WaitUntil(std::condition_variable& Cv, std::unique_lock<std::mutex>& Lock, TTime Deadline) override {
        {
            std::lock_guard lk(Mu);
            if (Time >= Deadline) return;
            SleeperCv = &Cv;
            SleeperMutex = Lock.mutex();
            Asleep = true;
            SleepDeadline = Deadline;
            SleptAt = Time;
        }
        Changed.notify_all();
        Cv.wait(Lock);
        std::lock_guard lk(Mu);
        Asleep = false;
    }

    // Moves the time on and wakes the loop to look at it.
    void Advance(std::chrono::milliseconds By) {
        std::condition_variable* cv;
        std::mutex* mutex;
        {
            std::lock_guard lk(Mu);
            Time += By;
            cv = SleeperCv;
            mutex = SleeperMutex;
        }
        if (!cv) return;
        // Taken and let go: the loop is either asleep now or still to look at the time.
        { std::lock_guard lk(*mutex); }
        cv->notify_all();
    }

    // Waits (ten seconds at the most) until the loop sleeps, having seen the
    // present time: for its next moment (Timed) or for a notify only.
    bool AwaitSleep(bool Timed = true) {
        std::unique_lock lk(Mu);
        return Changed.wait_for(lk, std::chrono::seconds(10),
                                [&] { return Asleep && SleptAt == Time && (SleepDeadline != TTime::max()) == Timed; });
    }

private:
    std::mutex Mu;
    std::condition_variable Changed;
    TTime Time{};
    std::condition_variable* SleeperCv = nullptr;
    std::mutex* SleeperMutex = nullptr;
    bool Asleep = false;
    TTime SleepDeadline{};
    TTime SleptAt{};
};

}  // namespace yorde::test
