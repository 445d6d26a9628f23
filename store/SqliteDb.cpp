#include "store/SqliteDb.h"

#include "rtl/CodePages.h"

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace {

std::mutex gObserverMutex;
std::function<void(const char*)> gObserver;
std::atomic<bool> gObserving{false};

int TraceStatement(unsigned type, void*, void*, void* text) {
    if (type != SQLITE_TRACE_STMT) return 0;
    std::function<void(const char*)> observer;
    {
        std::lock_guard lock(gObserverMutex);
        observer = gObserver;
    }
    if (observer) observer(static_cast<const char*>(text));
    return 0;
}

}  // namespace

void SetSqlStatementObserver(std::function<void(const char* Sql)> Observer) {
    std::lock_guard lock(gObserverMutex);
    gObserving = static_cast<bool>(Observer);
    gObserver = std::move(Observer);
}

SqliteDb::SqliteDb() = default;

SqliteDb::SqliteDb(SqliteDb&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      busyTimeoutMs_(other.busyTimeoutMs_),
      cancel_(other.cancel_),
      wait_(std::move(other.wait_)) {}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept {
    if (this != &other) {
        Close();
        db_ = std::exchange(other.db_, nullptr);
        busyTimeoutMs_ = other.busyTimeoutMs_;
        cancel_ = other.cancel_;
        wait_ = std::move(other.wait_);
    }
    return *this;
}

SqliteDb::~SqliteDb() { Close(); }

void SqliteDb::Open(const AnsiString& fileName) {
    Close();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(ToOsText(fileName).c_str(), &db);
    if (rc != SQLITE_OK) {
        // SQLite hands out a handle even when the open fails; read its
        // message, then let it go.
        SqliteException error(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), false);
        sqlite3_close(db);
        throw error;
    }
    db_ = db;
    if (gObserving) sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, TraceStatement, nullptr);
    SetBusyTimeout(busyTimeoutMs_);
}

void SqliteDb::Close() {
    if (db_) sqlite3_close(std::exchange(db_, nullptr));
}

void SqliteDb::CheckDB() const {
    if (!db_) throw SqliteException(DBLAYER_ERROR, "Database not open", false);
}

int SqliteDb::ExecDml(const AnsiString& sql) {
    CheckDB();
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) throw SqliteException(rc, error, true);
    return sqlite3_changes(db_);
}

SqliteQuery SqliteDb::ExecQuery(const AnsiString& sql) { return ExecQuery(sql, {}); }

void SqliteDb::SetBusyTimeout(int ms) {
    busyTimeoutMs_ = ms;
    applyWaits();
}

void SqliteDb::SetCancelFlag(const std::atomic<bool>* flag) {
    cancel_ = flag;
    applyWaits();
}

namespace {

// The busy time-out in short sleeps, each checking the flag.
int BusyWait(void* data, int count) {
    auto* wait = static_cast<SqliteDb::TBusyWait*>(data);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) wait->Start = now;
    if (wait->Cancel->load() || now - wait->Start >= std::chrono::milliseconds(wait->LimitMs)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(count < 10 ? 1 : 10));
    return 1;
}

int InterruptWhenCancelled(void* data) { return static_cast<const std::atomic<bool>*>(data)->load() ? 1 : 0; }

}  // namespace

void SqliteDb::applyWaits() {
    if (!db_) return;
    if (!cancel_) {
        sqlite3_busy_timeout(db_, busyTimeoutMs_);
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        return;
    }
    wait_ = std::make_unique<TBusyWait>(TBusyWait{busyTimeoutMs_, cancel_, {}});
    sqlite3_busy_handler(db_, BusyWait, wait_.get());
    sqlite3_progress_handler(db_, 1000, InterruptWhenCancelled, const_cast<std::atomic<bool>*>(cancel_));
}

sqlite3_stmt* SqliteDb::Compile(const AnsiString& sql) {
    CheckDB();
    sqlite3_stmt* stmt = nullptr;
    // The _v2 form re-prepares by itself after a schema change by another
    // connection; the reported codes are the same.
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) throw SqliteException(rc, nullptr, false);
    return stmt;
}

sqlite3_stmt* SqliteDb::CompileBound(const AnsiString& sql, const SqlValues& values) {
    sqlite3_stmt* stmt = Compile(sql);
    // Blank text or only a comment compiles to no statement at all.
    if (!stmt) throw SqliteException(DBLAYER_ERROR, "Null Virtual Machine pointer", false);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int index = int(i) + 1;
        const int rc = std::holds_alternative<std::int64_t>(values[i])
                           ? sqlite3_bind_int64(stmt, index, std::get<std::int64_t>(values[i]))
                           : sqlite3_bind_text(stmt, index, std::get<AnsiString>(values[i]).data(),
                                               int(std::get<AnsiString>(values[i]).size()), SQLITE_TRANSIENT);
        if (rc != SQLITE_OK) {
            SqliteException error(rc, sqlite3_errmsg(db_), false);
            sqlite3_finalize(stmt);
            throw error;
        }
    }
    return stmt;
}

int SqliteDb::ExecDml(const AnsiString& sql, const SqlValues& values) {
    CheckDB();
    sqlite3_stmt* stmt = CompileBound(sql, values);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) {
        sqlite3_finalize(stmt);
        return sqlite3_changes(db_);
    }
    const int code = sqlite3_finalize(stmt);
    throw SqliteException(code, sqlite3_errmsg(db_), false);
}

SqliteQuery SqliteDb::ExecQuery(const AnsiString& sql, const SqlValues& values) {
    CheckDB();
    sqlite3_stmt* stmt = CompileBound(sql, values);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return SqliteQuery(db_, stmt, true, true);
    if (rc == SQLITE_ROW) return SqliteQuery(db_, stmt, false, true);
    const int code = sqlite3_finalize(stmt);
    throw SqliteException(code, sqlite3_errmsg(db_), false);
}

AnsiString SqlQuote(const AnsiString& text) {
    AnsiString quoted = "'";
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}
