#pragma once
// One transaction on a connection for the life of a scope: BEGIN at
// construction, COMMIT by Commit(), ROLLBACK when the scope is left
// without it (an exception on the way out included).
#include "store/SqliteDb.h"

class SqliteTransaction {
public:
    enum Kind { Deferred, Immediate };

    explicit SqliteTransaction(SqliteDb& db, Kind kind = Deferred);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    // Throws SqliteException when the commit fails; the destructor then
    // rolls back.
    void Commit();

private:
    SqliteDb& db_;
    bool open_ = true;
};
