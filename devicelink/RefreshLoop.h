#pragma once
// The refresh loop: asks for a sync run every RefreshSeconds seconds while the
// link is in use, counted from its previous request (0 or less: every 10 ms).
// It sleeps on a condition variable between requests, so a stop, a pause or
// its end are seen at once; the request itself must not wait for anything,
// and so stopping the loop never waits for the GUI thread either.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class LoopThread {
public:
    // Interval: read at every wake, so a change takes effect with the time
    // already counted. Request: called on the loop's thread. Starts at once.
    LoopThread(std::function<int()> Interval, std::function<void()> Request);
    // Stops and joins.
    ~LoopThread();
    LoopThread(const LoopThread&) = delete;
    LoopThread& operator=(const LoopThread&) = delete;

    // Ends the loop; a request running at that moment still ends normally.
    void Stop();
    // Around an SD-card import: no requests meanwhile; the time counted so far is kept.
    void Pause();
    void Resume();
    bool IsPaused() const;

private:
    void Execute();

    std::function<int()> Interval;
    std::function<void()> Request;
    mutable std::mutex Mu;
    std::condition_variable Cv;
    bool Active = true;
    bool PausedNow = false;
    std::thread Thread;  // last: starts once the rest is set
};
