#pragma once
// One prepared statement with bound values, run as often as needed. Values
// never pass through the SQL text, so no name can change what a statement
// does. Move-only; finalised with its owner.
#include "rtl/AnsiString.h"
#include "store/SqliteException.h"

#include <cstdint>
#include <string_view>

class SqliteDb;
struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    // Compiles the first statement of sql.
    SqliteStatement(SqliteDb& db, const AnsiString& sql);
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    // Parameters count from 1.
    SqliteStatement& Bind(int index, const AnsiString& text);
    SqliteStatement& Bind(int index, int64_t value);
    SqliteStatement& Bind(int index, double value);

    // One step: true while a row is ready to read.
    bool Step();
    // Runs to its end; the rows changed.
    int Exec();
    // Ready to run again, with no values bound.
    void Reset();

    AnsiString ColumnText(int column) const;
    // The same without a copy: valid until the next Step or Reset.
    std::string_view ColumnView(int column) const;
    int64_t ColumnInt64(int column) const;
    bool ColumnIsNull(int column) const;

private:
    [[noreturn]] void Fail(int code) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};
