#pragma once
// The refresh loop: asks for a sync run every RefreshSeconds seconds while the
// link is in use, counted from its previous request (0 or less: every 10 ms).
// It sleeps on a condition variable between requests, so a stop, a pause or
// its end are seen at once; the request itself must not wait for anything,
// and so stopping the loop never waits for the GUI thread either.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The time the loop counts, and its sleeps on that time. Tests give the loop
// a clock they move by hand.
class TLoopClock {
public:
    using TTime = std::chrono::steady_clock::time_point;
    virtual ~TLoopClock() = default;
    virtual TTime Now() = 0;
    // Sleeps on Cv, Lock held as for condition_variable::wait_until, until
    // Deadline has come on this clock or Cv is notified (or spuriously).
    virtual void WaitUntil(std::condition_variable& Cv, std::unique_lock<std::mutex>& Lock, TTime Deadline) = 0;
};

// The steady clock of the machine.
std::shared_ptr<TLoopClock> SteadyLoopClock();

class LoopThread {
public:
    // Interval: read at every wake, so a change takes effect with the time
    // already counted. Request: called on the loop's thread. Starts at once.
    // Clock: none for the steady clock.
    LoopThread(std::function<int()> Interval, std::function<void()> Request,
               std::shared_ptr<TLoopClock> Clock = nullptr);
    // Stops and joins.
    ~LoopThread();
    LoopThread(const LoopThread&) = delete;
    LoopThread& operator=(const LoopThread&) = delete;

    // Ends the loop; a request running at that moment still ends normally.
    void Stop();
    // Around an SD-card import: no requests meanwhile; the time counted up to
    // the pause is kept, the pause itself counts for nothing.
    void Pause();
    void Resume();
    bool IsPaused() const;

private:
    void Execute();

    std::function<int()> interval_;
    std::function<void()> request_;
    std::shared_ptr<TLoopClock> clock_;
    mutable std::mutex mu_;
    std::condition_variable cv_;
    bool active_ = true;
    bool pausedNow_ = false;
    std::thread thread_;  // last: starts once the rest is set
};
