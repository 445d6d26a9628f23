#include "store/RecordingRemoval.h"

#include "rtl/Files.h"
#include "rtl/SysUtils.h"
#include "store/RecordingNames.h"
#include "store/Recordings.h"
#include "store/SqliteTransaction.h"

#include <charconv>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

// Recordings removed per transaction by the purge: few enough that the sync
// run and an import wait only briefly for the database, enough that a purge
// of a large store does not wait on the disk once per recording.
constexpr int kPurgeBatch = 500;

// False when the file is there and stays. A name that names no file of the
// folder leaves every file alone.
bool DeleteStoredFile(const AnsiString& filesFolder, const AnsiString& name, const TDeleteStoredFile& deleteFile) {
    if (!IsStoredRecordingName(name)) return true;
    const AnsiString path = filesFolder + name;
    if (deleteFile ? deleteFile(path) : DeleteFile(path)) return true;
    return !FileExists(path);
}

// One recording inside the caller's transaction: the name recorded, the rows
// deleted (the one row `rowid`, or every row of the name when it is 0), then
// the file; when the file stays, the two statements are undone.
bool RemoveOne(SqliteDb& db, const AnsiString& filesFolder, const AnsiString& name, std::int64_t rowid,
               const TDeleteStoredFile& deleteFile) {
    db.ExecDml("SAVEPOINT removal;");
    db.ExecDml("INSERT INTO DeletedFiles VALUES (?);", {name});
    if (rowid != 0)
        db.ExecDml("DELETE FROM Files WHERE rowid = ?;", {rowid});
    else
        db.ExecDml("DELETE FROM Files WHERE Filename = ?;", {name});
    if (!DeleteStoredFile(filesFolder, name, deleteFile)) {
        db.ExecDml("ROLLBACK TO removal; RELEASE removal;");
        return false;
    }
    db.ExecDml("RELEASE removal;");
    return true;
}

std::int64_t ToInt64(const SqliteText& text) {
    const char* begin = text.c_str();
    std::int64_t value = 0;
    std::from_chars(begin, begin + std::strlen(begin), value);
    return value;
}

}  // namespace

bool RemoveStoredRecording(SqliteDb& db, const AnsiString& filesFolder, const AnsiString& name,
                           const TDeleteStoredFile& deleteFile) {
    SqliteTransaction transaction(db, SqliteTransaction::Immediate);
    if (!RemoveOne(db, filesFolder, name, 0, deleteFile)) return false;
    transaction.Commit();
    return true;
}

AnsiString RetentionCutoff(SqliteDb& db, TDateTime now, int months) {
    const std::time_t seconds = LocalDateTimeToUnix(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
    SqliteQuery query = db.ExecQuery("SELECT datetime(?, ?);", {AnsiString(text), "-" + IntToStr(months) + " month"});
    return query.FieldValue(0);
}

TPurgeResult PurgeRecordingsBefore(SqliteDb& db, const AnsiString& filesFolder, const AnsiString& cutoff,
                                   const AnsiString& spare, const TDeleteStoredFile& deleteFile) {
    TPurgeResult result;
    // Batches in rowid order: each starts past the last one, so a recording
    // that stays is not met again, and rows that come in meanwhile are met
    // once, under the same cut-off.
    std::int64_t after = 0;
    for (;;) {
        SqliteTransaction transaction(db, SqliteTransaction::Immediate);
        std::vector<std::pair<std::int64_t, AnsiString>> rows;
        {
            SqliteQuery query =
                db.ExecQuery("SELECT rowid, Filename FROM Files WHERE Data < ? AND rowid > ? ORDER BY rowid LIMIT ?;",
                             {cutoff, after, std::int64_t(kPurgeBatch)});
            for (; !query.Eof(); query.NextRow()) rows.emplace_back(ToInt64(query.FieldValue(0)), query.FieldValue(1));
        }
        for (const auto& [rowid, name] : rows) {
            after = rowid;
            if (!spare.empty() && name == spare) continue;
            if (RemoveOne(db, filesFolder, name, rowid, deleteFile))
                ++result.Purged;
            else
                result.Kept.push_back(name);
        }
        transaction.Commit();
        if (int(rows.size()) < kPurgeBatch) break;
    }
    return result;
}
