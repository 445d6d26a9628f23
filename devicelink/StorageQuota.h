#pragma once
// The storage quota that closes every sync run: the recordings in "files"
// are held below the limit the users frame sets, the oldest going first.
//
// Every "*.wav" of the folder counts, registered or not. Once the sum reaches
// the limit, files are deleted in the order of the recordings' dates (the
// Files row's Data; for a file without one, the date in its name, else the
// file's own time) until the sum is below the limit again. The recording the
// player holds is never deleted. A file that cannot be deleted keeps its row
// and still counts. A quota below one step sets no limit: the settings offer
// 1 to 64 steps, and 0 would otherwise delete every recording.
#include "rtl/AnsiString.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

class SqliteDb;

// One step of the quota: 1024 * 1024 * 1000 bytes, shown to the user as 1 GB.
inline constexpr int64_t kQuotaStepBytes = int64_t(1024) * 1024 * 1000;

// The limit in bytes of a quota in steps; 0 for no limit.
int64_t QuotaLimitBytes(int64_t Steps);

struct TQuotaSettings {
    AnsiString Folder;                           // the program's folder, with its "/"
    std::function<int64_t()> Steps;              // read again after every deletion
    AnsiString InUse;                            // the name in "files" never to delete; may be empty
    std::function<void(const AnsiString&)> Log;  // may be empty
    const std::atomic<bool>* Cancel = nullptr;   // stops between deletions when set
    // The most bytes the files can hold together, when the caller knows it
    // (-1: unknown). Below the limit nothing is summed; at or over it the
    // names are listed at once.
    int64_t MostBytes = -1;
};

struct TQuotaOutcome {
    int64_t Before = 0;               // bytes of "files/*.wav" found (0 when nothing is summed)
    int64_t After = 0;                // bytes left
    std::vector<AnsiString> Deleted;  // in the order they went
};

// Sums the folder and deletes as said above; the rows of the deleted files
// leave Files in DataDb in one transaction. SqliteException when the
// database fails (the files deleted so far stay deleted: the next run drops
// their rows as missing).
TQuotaOutcome EnforceStorageQuota(SqliteDb& DataDb, const TQuotaSettings& Settings);
