#include "store/SqliteQuery.h"

#include <sqlite3.h>

#include <utility>

SqliteQuery::SqliteQuery() = default;

SqliteQuery::SqliteQuery(sqlite3* db, sqlite3_stmt* stmt, bool eof, bool ownsStmt)
    : db_(db), stmt_(stmt), eof_(eof), cols_(stmt ? sqlite3_column_count(stmt) : 0), ownsStmt_(ownsStmt) {}

SqliteQuery::SqliteQuery(SqliteQuery&& other) noexcept
    : db_(other.db_),
      stmt_(std::exchange(other.stmt_, nullptr)),
      eof_(other.eof_),
      cols_(other.cols_),
      ownsStmt_(other.ownsStmt_) {}

SqliteQuery& SqliteQuery::operator=(SqliteQuery&& other) noexcept {
    if (this == &other) return *this;
    try {
        Finalize();
    } catch (...) {
    }
    // A statement that was not ours (or failed to finalize) is let go here.
    db_ = other.db_;
    stmt_ = std::exchange(other.stmt_, nullptr);
    eof_ = other.eof_;
    cols_ = other.cols_;
    ownsStmt_ = other.ownsStmt_;
    return *this;
}

SqliteQuery::~SqliteQuery() {
    try {
        Finalize();
    } catch (...) {
    }
}

void SqliteQuery::CheckVM() const {
    if (!stmt_) throw SqliteException(DBLAYER_ERROR, "Null Virtual Machine pointer", false);
}

void SqliteQuery::CheckField(int field) const {
    CheckVM();
    if (field < 0 || field > cols_ - 1) throw SqliteException(DBLAYER_ERROR, "Invalid field index requested", false);
}

SqliteText SqliteQuery::FieldValue(int field) {
    CheckField(field);
    return SqliteText(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, field)));
}

int SqliteQuery::FieldDataType(int field) {
    CheckField(field);
    return sqlite3_column_type(stmt_, field);
}

int SqliteQuery::GetIntField(int field, int nullValue) {
    if (FieldDataType(field) == SQLITE_NULL) return nullValue;
    return sqlite3_column_int(stmt_, field);
}

AnsiString SqliteQuery::GetStringField(int field, const AnsiString& nullValue) {
    if (FieldDataType(field) == SQLITE_NULL) return nullValue;
    return FieldValue(field);
}

bool SqliteQuery::Eof() {
    CheckVM();
    return eof_;
}

void SqliteQuery::NextRow() {
    CheckVM();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) {
        eof_ = true;
    } else if (rc == SQLITE_ROW) {
        eof_ = false;
    } else {
        const int code = sqlite3_finalize(std::exchange(stmt_, nullptr));
        throw SqliteException(code, sqlite3_errmsg(db_), false);
    }
}

void SqliteQuery::Finalize() {
    if (stmt_ && ownsStmt_) {
        const int rc = sqlite3_finalize(std::exchange(stmt_, nullptr));
        if (rc != SQLITE_OK) throw SqliteException(rc, sqlite3_errmsg(db_), false);
    }
}
