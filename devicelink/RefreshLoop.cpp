#include "devicelink/RefreshLoop.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The interval is read again at least this often.
constexpr milliseconds kLongestSleep(1000);

}  // namespace

LoopThread::LoopThread(std::function<int()> Interval_, std::function<void()> Request_)
    : Interval(std::move(Interval_)), Request(std::move(Request_)), Thread([this] { Execute(); }) {}

LoopThread::~LoopThread() {
    Stop();
    if (Thread.joinable()) Thread.join();
}

void LoopThread::Stop() {
    {
        std::lock_guard lk(Mu);
        Active = false;
    }
    Cv.notify_all();
}

void LoopThread::Pause() {
    std::lock_guard lk(Mu);
    PausedNow = true;
}

void LoopThread::Resume() {
    {
        std::lock_guard lk(Mu);
        PausedNow = false;
    }
    Cv.notify_all();
}

bool LoopThread::IsPaused() const {
    std::lock_guard lk(Mu);
    return PausedNow;
}

void LoopThread::Execute() {
    Clock::duration counted{};  // time since the last request, pauses left out
    std::unique_lock lk(Mu);
    while (Active) {
        if (PausedNow) {
            Cv.wait(lk, [this] { return !PausedNow || !Active; });
            continue;
        }
        const int seconds = Interval ? Interval() : 0;
        const Clock::duration interval =
            seconds <= 0 ? Clock::duration(milliseconds(10)) : std::chrono::seconds(seconds);
        if (counted >= interval) {
            lk.unlock();
            if (Request) Request();
            lk.lock();
            counted = {};
            continue;
        }
        const Clock::time_point from = Clock::now();
        Cv.wait_for(lk, std::min<Clock::duration>(interval - counted, kLongestSleep),
                    [this] { return !Active || PausedNow; });
        counted += Clock::now() - from;
    }
}
