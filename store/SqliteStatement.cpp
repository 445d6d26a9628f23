#include "store/SqliteStatement.h"

#include "store/SqliteDb.h"

#include <sqlite3.h>

#include <utility>

SqliteStatement::SqliteStatement(SqliteDb& db, const AnsiString& sql) : db_(db.Handle()) {
    if (!db_) throw SqliteException(DBLAYER_ERROR, "Database not open", false);
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
    if (!stmt_) throw SqliteException(DBLAYER_ERROR, "Null Virtual Machine pointer", false);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

void SqliteStatement::Fail(int code) const { throw SqliteException(code, sqlite3_errmsg(db_), false); }

SqliteStatement& SqliteStatement::Bind(int index, const AnsiString& text) {
    const int rc = sqlite3_bind_text(stmt_, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) Fail(rc);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, int64_t value) {
    const int rc = sqlite3_bind_int64(stmt_, index, value);
    if (rc != SQLITE_OK) Fail(rc);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, double value) {
    const int rc = sqlite3_bind_double(stmt_, index, value);
    if (rc != SQLITE_OK) Fail(rc);
    return *this;
}

bool SqliteStatement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    Fail(rc);
}

int SqliteStatement::Exec() {
    while (Step()) {
    }
    return sqlite3_changes(db_);
}

void SqliteStatement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

AnsiString SqliteStatement::ColumnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? AnsiString(text, size_t(sqlite3_column_bytes(stmt_, column))) : AnsiString();
}

std::string_view SqliteStatement::ColumnView(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string_view(text, size_t(sqlite3_column_bytes(stmt_, column))) : std::string_view();
}

int64_t SqliteStatement::ColumnInt64(int column) const { return sqlite3_column_int64(stmt_, column); }

bool SqliteStatement::ColumnIsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
