#include "devicelink/Registrar.h"

TRegistrar::TRegistrar(std::function<void(TArrivals&)> Register_)
    : Register(std::move(Register_)), Worker([this] { run(); }) {}

TRegistrar::~TRegistrar() {
    {
        std::lock_guard lk(Mu);
        Ending = true;
    }
    Cv.notify_all();
    Worker.join();
}

bool TRegistrar::Idle() const {
    std::lock_guard lk(Mu);
    return !Next;
}

void TRegistrar::Submit(TArrivals Arrivals) {
    std::unique_lock lk(Mu);
    Cv.wait(lk, [&] { return !Next; });
    // Out of order once one has failed: the arrivals go, unregistered.
    if (Failure || Arrivals.Empty()) return;
    Next = std::move(Arrivals);
    lk.unlock();
    Cv.notify_all();
}

void TRegistrar::Drain() {
    std::unique_lock lk(Mu);
    Cv.wait(lk, [&] { return !Next; });
}

void TRegistrar::ThrowIfFailed() const {
    std::lock_guard lk(Mu);
    if (Failure) std::rethrow_exception(Failure);
}

bool TRegistrar::Failed() const {
    std::lock_guard lk(Mu);
    return bool(Failure);
}

void TRegistrar::run() {
    std::unique_lock lk(Mu);
    for (;;) {
        Cv.wait(lk, [&] { return Next || Ending; });
        if (!Next) return;
        lk.unlock();
        std::exception_ptr failure;
        try {
            Register(*Next);
        } catch (...) {
            failure = std::current_exception();
        }
        // Released on this thread: the files' descriptors close here.
        TArrivals done = std::move(*Next);
        lk.lock();
        if (failure) Failure = failure;
        Next.reset();
        lk.unlock();
        done = TArrivals();
        Cv.notify_all();
        lk.lock();
    }
}
