#include "devicelink/Registrar.h"

TRegistrar::TRegistrar(std::function<void(TArrivals&)> Register)
    : register_(std::move(Register)), worker_([this] { run(); }) {}

TRegistrar::~TRegistrar() {
    {
        std::lock_guard lk(mu_);
        ending_ = true;
    }
    cv_.notify_all();
    worker_.join();
}

bool TRegistrar::Idle() const {
    std::lock_guard lk(mu_);
    return !next_;
}

void TRegistrar::Submit(TArrivals Arrivals) {
    std::unique_lock lk(mu_);
    cv_.wait(lk, [&] { return !next_; });
    // Out of order once one has failed: the arrivals go, unregistered.
    if (failure_ || Arrivals.Empty()) return;
    next_ = std::move(Arrivals);
    lk.unlock();
    cv_.notify_all();
}

void TRegistrar::Drain() {
    std::unique_lock lk(mu_);
    cv_.wait(lk, [&] { return !next_; });
}

void TRegistrar::ThrowIfFailed() const {
    std::lock_guard lk(mu_);
    if (failure_) std::rethrow_exception(failure_);
}

bool TRegistrar::Failed() const {
    std::lock_guard lk(mu_);
    return bool(failure_);
}

void TRegistrar::run() {
    std::unique_lock lk(mu_);
    for (;;) {
        cv_.wait(lk, [&] { return next_ || ending_; });
        if (!next_) return;
        lk.unlock();
        std::exception_ptr failure;
        try {
            register_(*next_);
        } catch (...) {
            failure = std::current_exception();
        }
        // Released on this thread: the files' descriptors close here.
        TArrivals done = std::move(*next_);
        lk.lock();
        if (failure) failure_ = failure;
        next_.reset();
        lk.unlock();
        done = TArrivals();
        cv_.notify_all();
        lk.lock();
    }
}
