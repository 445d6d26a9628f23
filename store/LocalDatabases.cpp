#include "store/LocalDatabases.h"

#include "rtl/SysUtils.h"
#include "store/SqliteDb.h"

const char* const DataDbCreateStatements[3] = {
    "CREATE TABLE Files(Data TEXT, AbA TEXT, AbB TEXT, Czas INTEGER, Filename TEXT);",
    "CREATE TABLE DeletedFiles(Filename TEXT);",
    "CREATE TABLE AddressBook(user TEXT, nr TEXT, opis TEXT);",
};

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
        try {
            SqliteDb db;
            if (steps_.Open)
                steps_.Open(db, fileName);
            else
                db.Open(fileName);
            for (const char* sql : statements) db.ExecDml(sql);
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
    return TDbPreparation{code, key, fileName + ": " + reason};
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

    if (!FileExists(dataDb)) {
        const AnsiString reason =
            run.Run(dataDb, {DataDbCreateStatements[0], DataDbCreateStatements[1], DataDbCreateStatements[2]});
        if (!reason.empty()) return Failed(DB_DATA_CREATE_FAILED, kCreateError, dataDb, reason);
    } else {
        const AnsiString reason = run.Run(dataDb, {});
        if (!reason.empty()) return Failed(DB_DATA_OPEN_FAILED, kOpenError, dataDb, reason);
    }

    run.Delete(tmpDb);
    if (!FileExists(tmpDb)) {
        const AnsiString reason = run.Run(tmpDb, {TmpDbCreateStatement});
        if (!reason.empty()) return Failed(DB_TMP_CREATE_FAILED, kCreateError, tmpDb, reason);
    } else {
        const AnsiString reason = run.Run(tmpDb, {});
        if (!reason.empty()) return Failed(DB_TMP_OPEN_FAILED, kOpenError, tmpDb, reason);
    }
    return TDbPreparation{};
}
