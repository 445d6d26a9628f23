#pragma once
// A cursor over one prepared statement. Move-only: exactly one query object
// holds a given statement; a moved-from query has none.
#include "rtl/AnsiString.h"
#include "store/SqliteException.h"

#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// The text of one column. SQL NULL gives no text (IsNull), and every
// conversion of it to a text gives an empty one.
class SqliteText {
public:
    explicit SqliteText(const char* p) : p_(p) {}
    bool IsNull() const { return p_ == nullptr; }
    // The raw pointer: null for SQL NULL.
    const char* Data() const { return p_; }
    const char* c_str() const { return p_ ? p_ : ""; }
    operator AnsiString() const { return FromCStr(p_); }
    friend bool operator==(const SqliteText& a, std::string_view b) { return std::string_view(a.c_str()) == b; }

private:
    const char* p_;
};

class SqliteQuery {
public:
    // No statement, no connection, at its end, owning nothing.
    SqliteQuery();
    // Reads the column count of stmt.
    SqliteQuery(sqlite3* db, sqlite3_stmt* stmt, bool eof, bool ownsStmt = true);
    SqliteQuery(SqliteQuery&& other) noexcept;
    // Finalizes the own statement (errors swallowed), then takes the other's.
    SqliteQuery& operator=(SqliteQuery&& other) noexcept;
    SqliteQuery(const SqliteQuery&) = delete;
    SqliteQuery& operator=(const SqliteQuery&) = delete;
    virtual ~SqliteQuery();

    // Valid until the next step or the end of the query.
    SqliteText FieldValue(int field);
    int FieldDataType(int field);
    int GetIntField(int field, int nullValue = 0);
    AnsiString GetStringField(int field, const AnsiString& nullValue = AnsiString());

    bool Eof();
    void NextRow();
    void Finalize();

private:
    void CheckVM() const;
    void CheckField(int field) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    bool eof_ = true;
    int cols_ = 0;
    bool ownsStmt_ = false;
};
