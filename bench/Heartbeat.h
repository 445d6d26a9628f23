#pragma once
// A 10 ms timer on the GUI thread that records how late it fires: the
// longest lateness is the longest the window did not answer.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

namespace bench {

class THeartbeat {
public:
    THeartbeat() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { beat(); });
        clock_.start();
        timer_.start(kPeriodMs);
    }
    // The longest wait beyond the period so far, the one under way included.
    double LongestStallMs() const { return std::max(longest_, stall(clock_.nsecsElapsed())); }
    int Beats() const { return beats_; }

private:
    static constexpr int kPeriodMs = 10;
    double stall(qint64 Now) const { return double(Now - last_) / 1e6 - kPeriodMs; }
    void beat() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, stall(now));
        last_ = now;
        ++beats_;
    }

    QElapsedTimer clock_;
    QTimer timer_;
    qint64 last_ = 0;
    double longest_ = 0;
    int beats_ = 0;
};

}  // namespace bench
