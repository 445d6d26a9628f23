#pragma once
// The record-list writer of one sync run: the run hands it each page of the
// device's list and fetches the next page meanwhile; the writer stores the
// entries in DownFiles of "tmp.db" on a connection of its own, one
// transaction per page.
#include "classes/Thread.h"
#include "rtl/AnsiString.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

class DBThread : public TThread {
public:
    using TLog = std::function<void(const AnsiString& Line)>;

    // Created suspended; Start() lets it run. Nothing is lost when a page is
    // handed over, or Stop called, before it has started.
    DBThread(AnsiString TmpDbPath, TLog Log);
    ~DBThread() override;

    // Copies a page: the device's names ("n") and sizes ("s", as text), in
    // the same order. Only while IsBusy() is false.
    void SetLists(const std::vector<AnsiString>& Urls, const std::vector<AnsiString>& Sizes);
    // A handed-over page is not stored yet.
    bool IsBusy() const;
    // Waits until the page is stored, the writer has ended or Cancel is set
    // (then false).
    bool WaitIdle(const std::atomic<bool>& Cancel);
    // The writer ends once the page in hand is stored. Sticky.
    void Stop();
    // Wakes the waits so they can look at their cancel flags.
    void Wake();

protected:
    void Execute() override;

private:
    AnsiString path_;
    TLog log_;
    std::atomic<bool> cancelled_{false};  // the busy wait and statements of the writer's connection give up
    mutable std::mutex mu_;
    std::condition_variable cv_;
    std::vector<AnsiString> urls_;
    std::vector<AnsiString> sizes_;
    bool pending_ = false;  // a page is handed over and not yet stored
    bool running_ = true;   // Stop clears it
    bool ended_ = false;    // Execute has returned, or never will run
};
