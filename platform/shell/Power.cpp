#include "Power.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <mutex>
#include <vector>

#include <time.h>

namespace {

std::int64_t ClockMs(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return std::int64_t{ts.tv_sec} * 1000 + ts.tv_nsec / 1000000;
}

constexpr const char* kLogindService = "org.freedesktop.login1";

}  // namespace

TClockSample ReadSystemClocks() { return {ClockMs(CLOCK_BOOTTIME), ClockMs(CLOCK_MONOTONIC)}; }

bool TClockJumpDetector::Check(const TClockSample& now) {
    const std::int64_t gap = now.WithSleepMs - now.WithoutSleepMs;
    const bool jumped = primed_ && gap - lastGap_ > thresholdMs_;
    primed_ = true;
    lastGap_ = gap;
    return jumped;
}

class TResumeWatcher::Impl : public QObject {
    Q_OBJECT
public:
    Impl(TCallback onResume, TResumeWatcherOptions options)
        : onResume_(std::move(onResume)), options_(std::move(options)), detector_(options_.ThresholdMs) {
        if (!options_.Clock) options_.Clock = ReadSystemClocks;
        if (options_.UseSystemBus) watchesLogind_ = ConnectLogind();
        if (!watchesLogind_) {
            detector_.Check(options_.Clock());
            connect(&timer_, &QTimer::timeout, this, [this] {
                if (detector_.Check(options_.Clock())) Fire();
            });
            timer_.start(std::max(1, options_.CheckIntervalMs));
        }
        std::lock_guard lock(RegistryMutex());
        Registry().push_back(this);
    }

    ~Impl() override {
        std::lock_guard lock(RegistryMutex());
        auto& r = Registry();
        r.erase(std::remove(r.begin(), r.end(), this), r.end());
    }

    bool WatchesLogind() const { return watchesLogind_; }

    void Fire() {
        if (!onResume_) return;
        try {
            onResume_();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "resume handler failed: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "resume handler failed\n");
        }
    }

    static std::vector<QPointer<Impl>> LiveWatchers() {
        std::lock_guard lock(RegistryMutex());
        return {Registry().begin(), Registry().end()};
    }

private slots:
    void OnPrepareForSleep(bool starting) {
        if (!starting) Fire();
    }

private:
    bool ConnectLogind() {
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected()) return false;
        // A bus without logind (containers) would never send the signal.
        QDBusConnectionInterface* iface = bus.interface();
        if (!iface || !iface->isServiceRegistered(QString::fromLatin1(kLogindService)).value()) return false;
        return bus.connect(QString::fromLatin1(kLogindService), QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                           SLOT(OnPrepareForSleep(bool)));
    }

    static std::mutex& RegistryMutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<Impl*>& Registry() {
        static std::vector<Impl*> r;
        return r;
    }

    TCallback onResume_;
    TResumeWatcherOptions options_;
    TClockJumpDetector detector_;
    QTimer timer_;
    bool watchesLogind_ = false;
};

TResumeWatcher::TResumeWatcher(TCallback onResume, TResumeWatcherOptions options)
    : impl_(std::make_unique<Impl>(std::move(onResume), std::move(options))) {}

TResumeWatcher::~TResumeWatcher() = default;

bool TResumeWatcher::WatchesLogind() const { return impl_->WatchesLogind(); }

void TResumeWatcher::RaiseResumeForTest() {
    for (const QPointer<Impl>& w : Impl::LiveWatchers()) {
        if (!w) continue;  // freed by an earlier watcher's handler
        if (w->thread() == QThread::currentThread())
            w->Fire();
        else
            QMetaObject::invokeMethod(
                w.data(),
                [p = w] {
                    if (p) p->Fire();
                },
                Qt::QueuedConnection);
    }
}

#include "Power.moc"
