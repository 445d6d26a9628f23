#include "store/SqliteTransaction.h"

SqliteTransaction::SqliteTransaction(SqliteDb& db, Kind kind) : db_(db) {
    db_.ExecDml(kind == Immediate ? "BEGIN IMMEDIATE;" : "BEGIN;");
}

SqliteTransaction::~SqliteTransaction() {
    if (!open_) return;
    try {
        db_.ExecDml("ROLLBACK;");
    } catch (...) {
        // SQLite may have rolled back by itself already (a full disk, an
        // interrupt); there is nothing left to undo then.
    }
}

void SqliteTransaction::Commit() {
    db_.ExecDml("COMMIT;");
    open_ = false;
}
