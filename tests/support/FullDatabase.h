#pragma once
// A database whose disk is full, without filling a disk: while a TFullDatabase
// lives, every connection opened in the process cannot make its database
// file grow, so a statement that needs one more page fails with
// SQLITE_FULL, as on a full disk. Reading and changes that fit go on.
#include <sqlite3.h>

namespace yorde::test {

class TFullDatabase {
public:
    TFullDatabase() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(&Cap)); }
    ~TFullDatabase() { sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&Cap)); }
    TFullDatabase(const TFullDatabase&) = delete;
    TFullDatabase& operator=(const TFullDatabase&) = delete;

    // Makes every new row of Files need more room than a page: run it on
    // data.db before the TFullDatabase comes.
    static const char* GrowOnInsertSql() {
        return "CREATE TABLE IF NOT EXISTS Padding(Bytes BLOB); "
               "CREATE TRIGGER IF NOT EXISTS Grow AFTER INSERT ON Files "
               "BEGIN INSERT INTO Padding VALUES(zeroblob(65536)); END;";
    }

private:
    // No more pages than the file has when the connection opens.
    static int Cap(sqlite3* Db, char**, const sqlite3_api_routines*) {
        return sqlite3_exec(Db, "PRAGMA max_page_count = 1;", nullptr, nullptr, nullptr);
    }
};

}  // namespace yorde::test
