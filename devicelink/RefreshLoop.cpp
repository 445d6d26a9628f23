#include "devicelink/RefreshLoop.h"

namespace {

using std::chrono::milliseconds;

// The interval is read again at least this often.
constexpr milliseconds kLongestSleep(1000);

class TSteadyLoopClock : public TLoopClock {
public:
    TTime Now() override { return std::chrono::steady_clock::now(); }
    void WaitUntil(std::condition_variable& Cv, std::unique_lock<std::mutex>& Lock, TTime Deadline) override {
        Cv.wait_until(Lock, Deadline);
    }
};

}  // namespace

std::shared_ptr<TLoopClock> SteadyLoopClock() {
    static const std::shared_ptr<TLoopClock> clock = std::make_shared<TSteadyLoopClock>();
    return clock;
}

LoopThread::LoopThread(std::function<int()> Interval_, std::function<void()> Request_,
                       std::shared_ptr<TLoopClock> Clock_)
    : Interval(std::move(Interval_)),
      Request(std::move(Request_)),
      Clock(Clock_ ? std::move(Clock_) : SteadyLoopClock()),
      Thread([this] { Execute(); }) {}

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
    {
        std::lock_guard lk(Mu);
        PausedNow = true;
    }
    // Woken, the loop keeps the time up to now and counts no more of it.
    Cv.notify_all();
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
    using TDuration = TLoopClock::TTime::duration;
    TDuration counted{};  // time since the last request, pauses left out
    std::unique_lock lk(Mu);
    while (Active) {
        if (PausedNow) {
            Clock->WaitUntil(Cv, lk, TLoopClock::TTime::max());
            continue;
        }
        const int seconds = Interval ? Interval() : 0;
        const TDuration interval =
            seconds <= 0 ? TDuration(milliseconds(10)) : TDuration(std::chrono::seconds(seconds));
        if (counted >= interval) {
            lk.unlock();
            if (Request) Request();
            lk.lock();
            counted = {};
            continue;
        }
        const TLoopClock::TTime from = Clock->Now();
        Clock->WaitUntil(Cv, lk, from + std::min<TDuration>(interval - counted, kLongestSleep));
        counted += Clock->Now() - from;
    }
}
