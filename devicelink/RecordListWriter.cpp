#include "devicelink/RecordListWriter.h"

#include "rtl/Paths.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <cstdlib>

namespace {

// The size as the device's number: whole numbers stay integers, as the
// statement text once made them.
void BindSize(SqliteStatement& insert, int index, const AnsiString& size) {
    char* end = nullptr;
    const long long whole = std::strtoll(size.c_str(), &end, 10);
    if (!size.empty() && *end == '\0')
        insert.Bind(index, int64_t(whole));
    else
        insert.Bind(index, std::strtod(size.c_str(), nullptr));
}

}  // namespace

DBThread::DBThread(AnsiString TmpDbPath, TLog Log) : TThread(true), path_(std::move(TmpDbPath)), log_(std::move(Log)) {
    SetPriority(tpLower);
    SetAbortHook([this] {
        cancelled_ = true;
        Wake();
    });
    if (log_) log_("DBThread started");
}

DBThread::~DBThread() {
    // The owner ends the writer first; this is the last resort.
    Terminate();
    if (!Finished() && !Suspended()) WaitFor();
    if (log_) log_("DBThread stoped");
}

void DBThread::SetLists(const std::vector<AnsiString>& Urls, const std::vector<AnsiString>& Sizes) {
    {
        std::lock_guard lk(mu_);
        urls_.insert(urls_.end(), Urls.begin(), Urls.end());
        sizes_.insert(sizes_.end(), Sizes.begin(), Sizes.end());
        pending_ = true;
    }
    cv_.notify_all();
}

bool DBThread::IsBusy() const {
    std::lock_guard lk(mu_);
    return pending_;
}

bool DBThread::WaitIdle(const std::atomic<bool>& Cancel) {
    std::unique_lock lk(mu_);
    cv_.wait(lk, [&] { return !pending_ || ended_ || Cancel.load(); });
    return !pending_;
}

void DBThread::Stop() {
    {
        std::lock_guard lk(mu_);
        running_ = false;
    }
    cv_.notify_all();
}

void DBThread::Wake() {
    { std::lock_guard lk(mu_); }
    cv_.notify_all();
}

void DBThread::Execute() {
    SqliteDb db;
    try {
        db.SetCancelFlag(&cancelled_);
        db.Open(path_);
        // tmp.db is made anew at every start: a crash may lose it whole.
        db.ExecDml("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;");
    } catch (const SqliteException& e) {
        if (log_) log_(AnsiString("DBThread catch: ") + e.Message());
    }
    for (;;) {
        std::vector<AnsiString> urls, sizes;
        {
            std::unique_lock lk(mu_);
            cv_.wait(lk, [&] { return pending_ || !running_ || Terminated(); });
            if (!pending_ || Terminated()) break;
            urls.swap(urls_);
            sizes.swap(sizes_);
        }
        try {
            SqliteStatement insert(db, "INSERT INTO DownFiles VALUES(?, ?, ?);");
            SqliteTransaction batch(db);
            for (size_t i = 0; i < urls.size() && !Terminated(); ++i) {
                try {
                    insert.Reset();
                    insert.Bind(1, urls[i]).Bind(2, ExtractDeviceFileName(urls[i]));
                    BindSize(insert, 3, i < sizes.size() ? sizes[i] : AnsiString("0"));
                    insert.Exec();
                    if (log_) log_("DBThread list: " + urls[i]);
                } catch (const SqliteException& e) {
                    if (log_) log_(AnsiString("DBThread catch: ") + e.Message());
                }
            }
            batch.Commit();
        } catch (const SqliteException& e) {
            if (log_) log_(AnsiString("DBThread catch: ") + e.Message());
        }
        {
            std::lock_guard lk(mu_);
            pending_ = false;
        }
        cv_.notify_all();
    }
    {
        std::lock_guard lk(mu_);
        ended_ = true;
        pending_ = false;
    }
    cv_.notify_all();
}
