#include "store/SqliteException.h"

#include <sqlite3.h>

void SqliteException::Free::operator()(char* p) const { sqlite3_free(p); }

SqliteException::SqliteException(int code, const char* msg, bool freeMsg)
    : code_(code), message_(sqlite3_mprintf("%s[%d]: %s", ErrorCodeAsString(code), code, msg ? msg : "")) {
    if (freeMsg && msg) sqlite3_free(const_cast<char*>(msg));
}

SqliteException::SqliteException(const SqliteException& other)
    : code_(other.code_), message_(other.message_ ? sqlite3_mprintf("%s", other.message_.get()) : nullptr) {}

SqliteException& SqliteException::operator=(const SqliteException& other) {
    if (this != &other) {
        SqliteException copy(other);
        code_ = copy.code_;
        message_ = std::move(copy.message_);
    }
    return *this;
}

SqliteException::~SqliteException() = default;

const char* SqliteException::ErrorCodeAsString(int code) {
    static const char* const sqliteCodes[] = {
        "SQLITE_OK",       "SQLITE_ERROR",      "SQLITE_INTERNAL", "SQLITE_PERM",      "SQLITE_ABORT", "SQLITE_BUSY",
        "SQLITE_LOCKED",   "SQLITE_NOMEM",      "SQLITE_READONLY", "SQLITE_INTERRUPT", "SQLITE_IOERR", "SQLITE_CORRUPT",
        "SQLITE_NOTFOUND", "SQLITE_FULL",       "SQLITE_CANTOPEN", "SQLITE_PROTOCOL",  "SQLITE_EMPTY", "SQLITE_SCHEMA",
        "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT", "SQLITE_MISMATCH", "SQLITE_MISUSE",    "SQLITE_NOLFS", "SQLITE_AUTH",
        "SQLITE_FORMAT",   "SQLITE_RANGE",
    };
    if (code >= 0 && code <= 25) return sqliteCodes[code];
    switch (code) {
    case 100: return "SQLITE_ROW";
    case 101: return "SQLITE_DONE";
    case DBLAYER_ERROR: return "DBLAYER_ERROR";
    default: return "UNKNOWN_ERROR";
    }
}
