#pragma once
// Stored recordings taken away for good, by a user or by the retention
// period: the file goes from the store's folder, the row from Files, and
// the name into DeletedFiles, so that neither the sync run nor an import
// brings it back. When the file is there and cannot be deleted, nothing
// changes: its row stays and the next attempt tries again, rather than
// leaving a file nobody sees.
#include "rtl/AnsiString.h"
#include "rtl/DateTime.h"
#include "store/SqliteDb.h"

#include <functional>
#include <vector>

// Deletes a file of the store; false when it is there and stays. Empty: DeleteFile.
using TDeleteStoredFile = std::function<bool(const AnsiString& Path)>;

// Removes the recording `name` (its Files rows, its file in `filesFolder`,
// which ends in "/") and records the name in DeletedFiles, all or nothing.
// A name that could reach outside the folder touches no file. False when
// the file could not be deleted. SqliteException when the database fails;
// nothing has changed then, unless it was the final commit that failed
// after the file went (the row then names a missing file).
bool RemoveStoredRecording(SqliteDb& db, const AnsiString& filesFolder, const AnsiString& name,
                           const TDeleteStoredFile& deleteFile = {});

// The Files "Data" text before which recordings are older than `months`
// months at `now` (local time): SQLite's month arithmetic on the UTC time,
// "yyyy-mm-dd hh:mm:ss". A stored "Data" has blanks before its time, which
// sort before digits, so the whole day of the cut-off counts as older.
AnsiString RetentionCutoff(SqliteDb& db, TDateTime now, int months);

struct TPurgeResult {
    int Purged = 0;
    // Names whose files could not be deleted: still listed, tried again next time.
    std::vector<AnsiString> Kept;
};

// Removes every recording whose Data sorts before `cutoff`, except the one
// named `spare` (the one being played). Each recording is removed as
// RemoveStoredRecording does, several to a transaction. A database failure
// ends the purge with SqliteException: the transactions before it stay
// done, the one under way is undone, though files it deleted stay deleted
// (their rows name missing files and go at the next purge).
TPurgeResult PurgeRecordingsBefore(SqliteDb& db, const AnsiString& filesFolder, const AnsiString& cutoff,
                                   const AnsiString& spare = AnsiString(), const TDeleteStoredFile& deleteFile = {});
