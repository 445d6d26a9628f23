#pragma once
// Component state lives on the main thread. A setter called on a worker is
// queued to the main thread (calls run in the order they were made) and the
// worker goes on; a getter called on a worker waits while the main thread
// reads the value (queued after the worker's earlier sets, so it sees them).
// The main thread's WaitFor serves both, so neither can deadlock against it.
#include "classes/Thread.h"

#include <memory>
#include <type_traits>
#include <utility>

// Objects whose setters may be called from workers own one of these; a
// queued call for an object destroyed meanwhile is dropped.
class TLifeToken {
public:
    TLifeToken() : token_(std::make_shared<char>(0)) {}
    TLifeToken(const TLifeToken&) = delete;
    TLifeToken& operator=(const TLifeToken&) = delete;
    std::weak_ptr<char> Watch() const { return token_; }

private:
    std::shared_ptr<char> token_;
};

// True when called off the main thread: Fn was queued and the caller must return.
template <class F>
bool QueueOffMain(const TLifeToken& Life, F&& Fn) {
    if (IsMainThread()) return false;
    TThread::Queue(nullptr, [w = Life.Watch(), fn = std::forward<F>(Fn)]() mutable {
        if (!w.expired()) fn();
    });
    return true;
}

// Fn's result, computed on the main thread.
template <class F>
auto ReadOnMain(F&& Fn) -> std::invoke_result_t<F&> {
    if (IsMainThread()) return Fn();
    std::invoke_result_t<F&> result{};
    TThread::Synchronize(nullptr, [&] { result = Fn(); });
    return result;
}
