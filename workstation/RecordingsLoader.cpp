#include "workstation/RecordingsLoader.h"

#include "classes/Thread.h"

TRecordingsLoader::TRecordingsLoader() : thread_([this] { run(); }) {}

TRecordingsLoader::~TRecordingsLoader() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        jobs_.clear();
    }
    cancel_ = true;  // a statement under way stops at its next step
    alive_.reset();
    wake_.notify_one();
    thread_.join();
}

void TRecordingsLoader::post(std::function<void()> Job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(Job));
    }
    wake_.notify_one();
}

void TRecordingsLoader::Read(const AnsiString& DbPath, const TSqlStatement& Statement, const TRecordingLayout& Layout,
                             const AnsiString& Seek, TDone Done) {
    // Layouts are static: they outlive the job.
    post(
        [this, DbPath, Statement, layout = &Layout, Seek, done = std::move(Done), alive = std::weak_ptr<char>(alive_)] {
            SqliteDb db;
            db.SetCancelFlag(&cancel_);
            auto read = std::make_shared<TRecordingsRead>(ReadRecordings(db, DbPath, Statement, *layout));
            if (read->Ran && !read->Error) {
                read->SoughtName = Seek;
                read->SoughtRow = read->Rows.FindRow(layout->IndexOf(TRecordingColumn::FileName), Seek);
            }
            TThread::Queue(nullptr, [read, done, alive] {
                if (!alive.expired()) done(*read);
            });
        });
}

void TRecordingsLoader::Dispose(TGridRows&& Rows) {
    auto rows = std::make_shared<TGridRows>();
    rows->Swap(Rows);
    post([rows]() mutable { rows.reset(); });
}

void TRecordingsLoader::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
        if (stop_) return;
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        job = nullptr;  // whatever it held goes here, off the GUI thread
        lock.lock();
    }
}
