#pragma once
// One connection to one SQLite database file. Move-only; closes with its
// owner. Every failure is thrown as SqliteException.
#include "rtl/AnsiString.h"
#include "store/SqliteException.h"
#include "store/SqliteQuery.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A value bound to a "?" parameter: a text or an integer. Bound values
// never change the statement, whatever quotes they hold.
using SqlValue = std::variant<AnsiString, std::int64_t>;
using SqlValues = std::vector<SqlValue>;

class SqliteDb {
public:
    static constexpr int DefaultBusyTimeoutMs = 60000;

    SqliteDb();
    SqliteDb(SqliteDb&& other) noexcept;
    SqliteDb& operator=(SqliteDb&& other) noexcept;
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;
    virtual ~SqliteDb();

    // Opens (and creates) the file by its full name, closing any previous
    // connection first, and applies the busy time-out.
    void Open(const AnsiString& fileName);
    void Close();

    // Runs one or more statements; returns the rows changed by the last.
    int ExecDml(const AnsiString& sql);
    // Runs the first statement of sql; the query stands on its first row
    // (or at its end when there is none).
    SqliteQuery ExecQuery(const AnsiString& sql);
    // The same for one statement whose "?" parameters take values in order.
    int ExecDml(const AnsiString& sql, const SqlValues& values);
    SqliteQuery ExecQuery(const AnsiString& sql, const SqlValues& values);

    // Applies at once when open, and at every later Open.
    void SetBusyTimeout(int ms);

    // With a flag, a worker's connection gives up soon after the flag is
    // set: a wait for another connection's lock ends (SQLITE_BUSY) and a
    // running statement is interrupted (SQLITE_INTERRUPT). The flag must
    // outlive the connection. Applies at once and at every later Open.
    void SetCancelFlag(const std::atomic<bool>* flag);

    // The connection, for statements of the layer; null when closed.
    sqlite3* Handle() const { return db_; }

    // The state of a busy wait that watches the cancel flag.
    struct TBusyWait {
        int LimitMs;
        const std::atomic<bool>* Cancel;
        std::chrono::steady_clock::time_point Start;
    };

private:
    void CheckDB() const;
    sqlite3_stmt* Compile(const AnsiString& sql);
    // Compiles and binds; throws (finalizing) on failure.
    sqlite3_stmt* CompileBound(const AnsiString& sql, const SqlValues& values);

    void applyWaits();

    sqlite3* db_ = nullptr;
    int busyTimeoutMs_ = DefaultBusyTimeoutMs;
    const std::atomic<bool>* cancel_ = nullptr;
    std::unique_ptr<TBusyWait> wait_;  // the busy handler's data while a flag is set
};

// Tests see the text of every statement that connections opened from then
// on run, as it was compiled ("?" where a value is bound), to check that no
// value ever becomes part of a statement. An empty function ends it.
void SetSqlStatementObserver(std::function<void(const char* Sql)> Observer);

// A single-quoted SQL literal: quotes inside are doubled.
AnsiString SqlQuote(const AnsiString& text);
