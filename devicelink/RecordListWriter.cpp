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

DBThread::DBThread(AnsiString TmpDbPath, TLog Log_) : TThread(true), Path(std::move(TmpDbPath)), Log(std::move(Log_)) {
    SetPriority(tpLower);
    SetAbortHook([this] {
        Cancelled = true;
        Wake();
    });
    if (Log) Log("DBThread started");
}

DBThread::~DBThread() {
    // The owner ends the writer first; this is the last resort.
    Terminate();
    if (!Finished() && !Suspended()) WaitFor();
    if (Log) Log("DBThread stoped");
}

void DBThread::SetLists(const std::vector<AnsiString>& Urls_, const std::vector<AnsiString>& Sizes_) {
    {
        std::lock_guard lk(Mu);
        Urls.insert(Urls.end(), Urls_.begin(), Urls_.end());
        Sizes.insert(Sizes.end(), Sizes_.begin(), Sizes_.end());
        Pending = true;
    }
    Cv.notify_all();
}

bool DBThread::IsBusy() const {
    std::lock_guard lk(Mu);
    return Pending;
}

bool DBThread::WaitIdle(const std::atomic<bool>& Cancel) {
    std::unique_lock lk(Mu);
    Cv.wait(lk, [&] { return !Pending || Ended || Cancel.load(); });
    return !Pending;
}

void DBThread::Stop() {
    {
        std::lock_guard lk(Mu);
        Running = false;
    }
    Cv.notify_all();
}

void DBThread::Wake() {
    { std::lock_guard lk(Mu); }
    Cv.notify_all();
}

void DBThread::Execute() {
    SqliteDb db;
    try {
        db.SetCancelFlag(&Cancelled);
        db.Open(Path);
        // tmp.db is made anew at every start: a crash may lose it whole.
        db.ExecDml("PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;");
    } catch (const SqliteException& e) {
        if (Log) Log(AnsiString("DBThread catch: ") + e.Message());
    }
    for (;;) {
        std::vector<AnsiString> urls, sizes;
        {
            std::unique_lock lk(Mu);
            Cv.wait(lk, [&] { return Pending || !Running || Terminated(); });
            if (!Pending || Terminated()) break;
            urls.swap(Urls);
            sizes.swap(Sizes);
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
                    if (Log) Log("DBThread list: " + urls[i]);
                } catch (const SqliteException& e) {
                    if (Log) Log(AnsiString("DBThread catch: ") + e.Message());
                }
            }
            batch.Commit();
        } catch (const SqliteException& e) {
            if (Log) Log(AnsiString("DBThread catch: ") + e.Message());
        }
        {
            std::lock_guard lk(Mu);
            Pending = false;
        }
        Cv.notify_all();
    }
    {
        std::lock_guard lk(Mu);
        Ended = true;
        Pending = false;
    }
    Cv.notify_all();
}
