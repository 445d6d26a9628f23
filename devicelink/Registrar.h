#pragma once
// The thread that makes a sync run's downloads durable and registers them,
// one hand-over at a time and in the order handed over, while the run goes
// on fetching the next files. A failure ends the registering: what was
// handed over with it is the handler's to clean up, and whatever comes
// after is dropped (its unfinished files go with it), so that nothing is
// registered out of order.
#include "devicelink/PartFile.h"
#include "rtl/AnsiString.h"

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct TArrivedFile {
    AnsiString Name;
    std::unique_ptr<TPartFile> Part;  // whole, not yet on the disk
};

// What one hand-over brings.
struct TArrivals {
    std::vector<TArrivedFile> Files;
    std::vector<AnsiString> Owed;  // asked for in vain
    bool Reload = false;           // the list is filled again once they are registered
    bool Empty() const { return Files.empty() && Owed.empty(); }
};

class TRegistrar {
public:
    // Register runs on the registrar's thread, for each hand-over in turn.
    explicit TRegistrar(std::function<void(TArrivals&)> Register);
    // Waits for the hand-over being registered.
    ~TRegistrar();
    TRegistrar(const TRegistrar&) = delete;
    TRegistrar& operator=(const TRegistrar&) = delete;

    // Nothing is being registered.
    bool Idle() const;
    // Waits until nothing is being registered, then hands Arrivals over
    // (after a failure they are dropped at once).
    void Submit(TArrivals Arrivals);
    // Waits until everything handed over is registered or dropped.
    void Drain();
    // Rethrows the failure that ended the registering, if there was one.
    void ThrowIfFailed() const;
    bool Failed() const;

private:
    void run();

    std::function<void(TArrivals&)> register_;
    mutable std::mutex mu_;
    std::condition_variable cv_;
    std::optional<TArrivals> next_;  // handed over, being registered
    bool ending_ = false;
    std::exception_ptr failure_;
    std::thread worker_;
};
