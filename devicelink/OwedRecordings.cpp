#include "devicelink/OwedRecordings.h"

#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <cstdlib>

namespace {

// "yyyy-mm-dd" from the first eight characters of Name when they are a date
// the exchange can be asked for; empty otherwise.
AnsiString DayOf(const AnsiString& Name) {
    if (Name.size() < 8) return AnsiString();
    for (size_t i = 0; i < 8; ++i)
        if (Name[i] < '0' || Name[i] > '9') return AnsiString();
    const int year = std::atoi(Name.substr(0, 4).c_str());
    const int month = std::atoi(Name.substr(4, 2).c_str());
    const int day = std::atoi(Name.substr(6, 2).c_str());
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return AnsiString();
    return Name.substr(0, 4) + "-" + Name.substr(4, 2) + "-" + Name.substr(6, 2);
}

}  // namespace

void TOwedRecordings::Prepare() {
    db_.ExecDml("CREATE TABLE IF NOT EXISTS OwedFiles(Filename TEXT PRIMARY KEY, Runs INTEGER, Since INTEGER);");
}

AnsiString TOwedRecordings::OldestDate() {
    // Names begin with their day: in order, the first that holds a date is the oldest.
    SqliteStatement names(db_, "SELECT Filename FROM OwedFiles ORDER BY Filename;");
    while (names.Step()) {
        const AnsiString day = DayOf(names.ColumnText(0));
        if (!day.empty()) return day;
    }
    return AnsiString();
}

bool TOwedRecordings::AskedInVain(const AnsiString& Name, int64_t Now) {
    SqliteStatement note(db_,
                         "INSERT INTO OwedFiles VALUES(?, 1, ?) "
                         "ON CONFLICT(Filename) DO UPDATE SET Runs = Runs + 1;");
    note.Bind(1, Name).Bind(2, Now).Exec();
    SqliteStatement giveUp(db_, "DELETE FROM OwedFiles WHERE Filename = ? AND Runs >= ? AND ? - Since >= ?;");
    return giveUp.Bind(1, Name).Bind(2, int64_t(kGiveUpRuns)).Bind(3, Now).Bind(4, kGiveUpSeconds).Exec() == 0;
}

void TOwedRecordings::Arrived(const AnsiString& Name) {
    SqliteStatement drop(db_, "DELETE FROM OwedFiles WHERE Filename = ?;");
    drop.Bind(1, Name).Exec();
}

std::vector<AnsiString> TOwedRecordings::KeepOnly(const std::unordered_set<AnsiString>& ToFetch) {
    std::vector<AnsiString> gone;
    {
        SqliteStatement names(db_, "SELECT Filename FROM OwedFiles;");
        while (names.Step())
            if (!ToFetch.count(names.ColumnText(0))) gone.push_back(names.ColumnText(0));
    }
    if (gone.empty()) return gone;
    SqliteTransaction transaction(db_);
    SqliteStatement drop(db_, "DELETE FROM OwedFiles WHERE Filename = ?;");
    for (const AnsiString& name : gone) {
        drop.Reset();
        drop.Bind(1, name).Exec();
    }
    transaction.Commit();
    return gone;
}
