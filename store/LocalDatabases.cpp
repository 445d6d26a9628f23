#include "store/LocalDatabases.h"

#include "rtl/SysUtils.h"
#include "store/SqliteDb.h"

#include <sqlite3.h>

const char* const DataDbCreateStatements[3] = {
    "CREATE TABLE Files(Data TEXT, AbA TEXT, AbB TEXT, Czas INTEGER, Filename TEXT);",
    "CREATE TABLE DeletedFiles(Filename TEXT);",
    "CREATE TABLE AddressBook(user TEXT, nr TEXT, opis TEXT);",
};

const char* const DataDbCompleteStatements =
    "CREATE TABLE IF NOT EXISTS Files(Data TEXT, AbA TEXT, AbB TEXT, Czas INTEGER, Filename TEXT);"
    "CREATE TABLE IF NOT EXISTS DeletedFiles(Filename TEXT);"
    "CREATE TABLE IF NOT EXISTS AddressBook(user TEXT, nr TEXT, opis TEXT);";

const char* const TmpDbCreateStatement = "CREATE TABLE DownFiles(url TEXT, filename TEXT, size INTEGER);";

namespace {

constexpr const char* kCreateError = "IDS_DB_CREATE_ERROR";
constexpr const char* kOpenError = "IDS_DB_OPEN_ERROR";

class Preparer {
public:
    explicit Preparer(const TDbPrepareSteps& steps) : steps_(steps) {}

    bool Delete(const AnsiString& fileName) const {
        return steps_.DeleteFile ? steps_.DeleteFile(fileName) : ::DeleteFile(fileName);
    }

    // Opens, runs the statements and closes; the text of the failure, or
    // an empty text on success.
    AnsiString Run(const AnsiString& fileName, std::initializer_list<const char*> statements) const {
        return Open(fileName, [&](SqliteDb& db) {
            for (const char* sql : statements) db.ExecDml(sql);
        });
    }

    // Opens, hands the connection to Use and closes; as Run.
    template <class F>
    AnsiString Open(const AnsiString& fileName, F&& Use) const {
        try {
            SqliteDb db;
            if (steps_.Open)
                steps_.Open(db, fileName);
            else
                db.Open(fileName);
            Use(db);
            db.Close();
            return AnsiString();
        } catch (const SqliteException& e) {
            return Failure(e.Message());
        } catch (const std::exception& e) {
            return Failure(e.what());
        } catch (...) {
            return Failure("unknown error");
        }
    }

private:
    static AnsiString Failure(const char* text) { return *text ? AnsiString(text) : AnsiString("failed"); }

    const TDbPrepareSteps& steps_;
};

TDbPreparation Failed(int code, const char* key, const AnsiString& fileName, const AnsiString& reason) {
    return TDbPreparation{code, key, fileName + ": " + reason, {}};
}

// An existing data.db: a change a crash cut off is rolled back (SQLite does
// that at the first read), and tables a crash kept from being made are made
// now. A file that is no database is left as it is: its use fails later.
void CompleteDataDb(SqliteDb& db, std::vector<AnsiString>& notes) {
    try {
        int tables = 0;
        for (SqliteQuery q = db.ExecQuery("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                                          "('Files', 'DeletedFiles', 'AddressBook');");
             !q.Eof(); q.NextRow())
            tables = q.GetIntField(0);
        if (tables == 3) return;
        db.ExecDml(AnsiString("BEGIN;") + DataDbCompleteStatements + "COMMIT;");
        notes.push_back("data.db: missing tables made");
    } catch (const SqliteException& e) {
        if (e.Code() != SQLITE_NOTADB) throw;
    }
}

}  // namespace

TDbPreparation PrepareLocalDatabases(const AnsiString& folder, const TDbPrepareSteps& steps) {
    const Preparer run(steps);
    const AnsiString dataDb = folder + "data.db";
    const AnsiString tmpDb = folder + "tmp.db";

    // A file too short to hold a database header is a leftover of a failed
    // creation. A missing file has no size; that is fine.
    try {
        if (FileSize(dataDb) < 10) run.Delete(dataDb);
    } catch (const Exception&) {
    }

    std::vector<AnsiString> notes;
    if (!FileExists(dataDb)) {
        // All three tables or none: a crash in between would leave a data.db
        // that opens and fails at every use.
        const AnsiString reason = run.Run(dataDb, {"BEGIN;", DataDbCreateStatements[0], DataDbCreateStatements[1],
                                                   DataDbCreateStatements[2], "COMMIT;"});
        if (!reason.empty()) return Failed(DB_DATA_CREATE_FAILED, kCreateError, dataDb, reason);
    } else {
        const AnsiString journal = dataDb + "-journal";
        const bool interrupted = FileExists(journal) && FileSize(journal) > 0;
        const AnsiString reason = run.Open(dataDb, [&](SqliteDb& db) { CompleteDataDb(db, notes); });
        if (!reason.empty()) return Failed(DB_DATA_OPEN_FAILED, kOpenError, dataDb, reason);
        if (interrupted && !FileExists(journal))
            notes.insert(notes.begin(), "data.db: an interrupted change was rolled back");
    }
    // What it lists is the user's calls: for the user's eyes only.
    RestrictToOwner(dataDb);

    run.Delete(tmpDb);
    if (!FileExists(tmpDb)) {
        const AnsiString reason = run.Run(tmpDb, {TmpDbCreateStatement});
        if (!reason.empty()) return Failed(DB_TMP_CREATE_FAILED, kCreateError, tmpDb, reason);
    } else {
        const AnsiString reason = run.Run(tmpDb, {});
        if (!reason.empty()) return Failed(DB_TMP_OPEN_FAILED, kOpenError, tmpDb, reason);
    }
    RestrictToOwner(tmpDb);
    return TDbPreparation{DB_READY, AnsiString(), AnsiString(), std::move(notes)};
}
