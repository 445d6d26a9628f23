#pragma once
// The resume-from-sleep event in place of the Windows power broadcast. Where
// logind runs on a system bus its PrepareForSleep(false) signal reports the
// resume; elsewhere a timer notices that the clock which counts suspended
// time moved ahead of the one that does not.
#include <cstdint>
#include <functional>
#include <memory>

struct TClockSample {
    std::int64_t WithSleepMs = 0;     // CLOCK_BOOTTIME: keeps counting while suspended
    std::int64_t WithoutSleepMs = 0;  // CLOCK_MONOTONIC: stops while suspended
};

TClockSample ReadSystemClocks();

// Compares successive samples. Unlike the wall clock, the two clocks above
// ignore a user or NTP setting the time, so only a real suspend shows up.
class TClockJumpDetector {
public:
    explicit TClockJumpDetector(std::int64_t thresholdMs = 2000) : thresholdMs_(thresholdMs) {}
    // True when, since the previous sample, the sleeping clock gained more than
    // the threshold on the other. The first sample only primes the detector.
    bool Check(const TClockSample& now);

private:
    std::int64_t thresholdMs_;
    bool primed_ = false;
    std::int64_t lastGap_ = 0;
};

struct TResumeWatcherOptions {
    bool UseSystemBus = true;
    int CheckIntervalMs = 2000;
    std::int64_t ThresholdMs = 2000;
    std::function<TClockSample()> Clock;  // empty: ReadSystemClocks
};

// Create on the main thread, which must run the Qt event loop: the callback
// runs there. The callback must not throw; an escaping exception is reported
// on standard error and dropped, never let through the event loop.
class TResumeWatcher {
public:
    using TCallback = std::function<void()>;
    explicit TResumeWatcher(TCallback onResume, TResumeWatcherOptions options = {});
    ~TResumeWatcher();
    TResumeWatcher(const TResumeWatcher&) = delete;
    TResumeWatcher& operator=(const TResumeWatcher&) = delete;

    // True when resume comes from logind, false when the clock check runs.
    bool WatchesLogind() const;

    // Delivers a resume to every live watcher as the system would: at once
    // when called on a watcher's own thread, queued to it otherwise.
    static void RaiseResumeForTest();

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};
