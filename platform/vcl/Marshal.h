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

// Fn run on the main thread while the caller waits (a call with pointer or
// reference arguments, which must stay valid until it has run).
template <class F>
void RunOnMain(F&& Fn) {
    if (IsMainThread()) {
        Fn();
        return;
    }
    TThread::Synchronize(nullptr, [&] { Fn(); });
}

// The sub-objects a control owns (its font, brush, pen, canvas, picture, the
// picture's bitmap and that bitmap's canvas) live on the main thread with
// it, and are marked so. On a worker, a change to a font, brush or pen is
// queued like the control's own setters; a change to a graphic or drawing
// on a canvas, whose arguments are often pointers, runs on the main thread
// while the worker waits; a read waits for the main thread. Free-standing
// objects belong to whoever uses them.
class TThreadHome {
public:
    virtual ~TThreadHome() = default;
    // Marks the object (and what it holds) as living on the main thread.
    virtual void LiveOnMainThread() {
        if (!life_) life_ = std::make_unique<TLifeToken>();
    }
    bool LivesOnMainThread() const { return life_ != nullptr; }

protected:
    // Called on a worker for an object living on the main thread.
    bool awayFromHome() const { return life_ && !IsMainThread(); }
    // True when Fn was queued: the caller returns.
    template <class F>
    bool queueHome(F&& Fn) const {
        return life_ && QueueOffMain(*life_, std::forward<F>(Fn));
    }
    // True when Fn ran on the main thread while the caller waited: the
    // caller returns. For calls whose arguments are pointers or references,
    // and whose exceptions belong to the caller.
    template <class F>
    bool runHome(F&& Fn) const {
        if (!awayFromHome()) return false;
        RunOnMain(Fn);
        return true;
    }
    // Fn's result, read where the object lives.
    template <class F>
    auto readHome(F&& Fn) const -> std::invoke_result_t<F&> {
        return awayFromHome() ? ReadOnMain(Fn) : Fn();
    }

private:
    std::unique_ptr<TLifeToken> life_;
};
