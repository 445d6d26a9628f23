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

LoopThread::LoopThread(std::function<int()> Interval, std::function<void()> Request, std::shared_ptr<TLoopClock> Clock)
    : interval_(std::move(Interval)),
      request_(std::move(Request)),
      clock_(Clock ? std::move(Clock) : SteadyLoopClock()),
      thread_([this] { Execute(); }) {}

LoopThread::~LoopThread() {
    Stop();
    if (thread_.joinable()) thread_.join();
}

void LoopThread::Stop() {
    {
        std::lock_guard lk(mu_);
        active_ = false;
    }
    cv_.notify_all();
}

void LoopThread::Pause() {
    {
        std::lock_guard lk(mu_);
        pausedNow_ = true;
    }
    // Woken, the loop keeps the time up to now and counts no more of it.
    cv_.notify_all();
}

void LoopThread::Resume() {
    {
        std::lock_guard lk(mu_);
        pausedNow_ = false;
    }
    cv_.notify_all();
}

bool LoopThread::IsPaused() const {
    std::lock_guard lk(mu_);
    return pausedNow_;
}

void LoopThread::Execute() {
    using TDuration = TLoopClock::TTime::duration;
    TDuration counted{};  // time since the last request, pauses left out
    std::unique_lock lk(mu_);
    while (active_) {
        if (pausedNow_) {
            clock_->WaitUntil(cv_, lk, TLoopClock::TTime::max());
            continue;
        }
        const int seconds = interval_ ? interval_() : 0;
        const TDuration interval =
            seconds <= 0 ? TDuration(milliseconds(10)) : TDuration(std::chrono::seconds(seconds));
        if (counted >= interval) {
            lk.unlock();
            if (request_) request_();
            lk.lock();
            counted = {};
            continue;
        }
        const TLoopClock::TTime from = clock_->Now();
        clock_->WaitUntil(cv_, lk, from + std::min<TDuration>(interval - counted, kLongestSleep));
        counted += clock_->Now() - from;
    }
}
