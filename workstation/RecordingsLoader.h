#pragma once
// Reads the recordings list on a thread of its own, so that a reload over a
// large store never holds the window, and frees there the rows the list no
// longer shows.
#include "workstation/RecordingRows.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TRecordingsLoader {
public:
    // Runs on the GUI thread with what was read.
    using TDone = std::function<void(TRecordingsRead& Read)>;

    TRecordingsLoader();
    // Cuts a reading under way short and waits for the thread; nothing more
    // is reported.
    ~TRecordingsLoader();
    TRecordingsLoader(const TRecordingsLoader&) = delete;
    TRecordingsLoader& operator=(const TRecordingsLoader&) = delete;

    // ReadRecordings on the loader's thread, in the order asked, and the
    // row of the file name Seek among the rows read.
    void Read(const AnsiString& DbPath, const TSqlStatement& Statement, const TRecordingLayout& Layout,
              const AnsiString& Seek, TDone Done);
    // Frees Rows on the loader's thread.
    void Dispose(TGridRows&& Rows);

private:
    void post(std::function<void()> Job);
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool stop_ = false;
    std::atomic<bool> cancel_{false};
    // Expires with the loader: a result reported after that is dropped.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
    std::thread thread_;  // last: started once the rest is ready
};
