#include "devicelink/StorageQuota.h"

#include "devicelink/PlainFiles.h"
#include "devicelink/StoreFolder.h"
#include "rtl/Files.h"
#include "rtl/Format.h"
#include "store/RecordingNames.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <algorithm>
#include <ctime>
#include <limits>
#include <unordered_map>

namespace {

struct TStoredFile {
    AnsiString Name;
    int64_t Size = 0;
    std::time_t Modified = 0;
    AnsiString Date;  // the sort key: "yyyy-mm-dd      hh:nn:ss"
};

AnsiString DataTextOf(std::time_t Value) {
    std::tm t{};
    localtime_r(&Value, &t);
    return Sprintf("%04d-%02d-%02d      %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                   t.tm_sec);
}

// The bytes of every "*.wav" (in any case) that is a plain file, and with
// Files each of them; false when the folder cannot be listed.
bool ListRecordings(const AnsiString& Folder, int64_t& Sum, std::vector<TStoredFile>* Files) {
    Sum = 0;
    return ForEachPlainFile(Folder, true, [&](std::string_view OsName, const struct stat* Status) {
        if (!IsQuotaName(OsName)) return;
        Sum += int64_t(Status->st_size);
        if (Files) Files->push_back({PlainFileName(OsName), int64_t(Status->st_size), Status->st_mtime, AnsiString()});
    });
}

// The date each file is taken to hold, from its row, its name or its time.
void DateEach(SqliteDb& DataDb, std::vector<TStoredFile>& Files) {
    std::unordered_map<AnsiString, AnsiString> rows;
    SqliteStatement query(DataDb, "SELECT Filename, Data FROM Files;");
    while (query.Step()) {
        AnsiString data = query.ColumnText(1);
        if (IsDataText(data)) rows.emplace(query.ColumnText(0), std::move(data));
    }
    for (TStoredFile& file : Files) {
        if (auto row = rows.find(file.Name); row != rows.end()) {
            file.Date = row->second;
            continue;
        }
        AnsiString named = RecordingRowFromName(file.Name, file.Size).Data;
        file.Date = IsDataText(named) ? std::move(named) : DataTextOf(file.Modified);
    }
}

}  // namespace

int64_t QuotaLimitBytes(int64_t Steps) {
    if (Steps < 1) return 0;
    if (Steps > std::numeric_limits<int64_t>::max() / kQuotaStepBytes) return std::numeric_limits<int64_t>::max();
    return Steps * kQuotaStepBytes;
}

TQuotaOutcome EnforceStorageQuota(SqliteDb& DataDb, const TQuotaSettings& Settings) {
    auto log = [&](const AnsiString& Line) {
        if (Settings.Log) Settings.Log(Line);
    };
    auto cancelled = [&] { return Settings.Cancel && Settings.Cancel->load(); };
    auto currentLimit = [&] { return QuotaLimitBytes(Settings.Steps ? Settings.Steps() : 0); };
    TQuotaOutcome outcome;
    int64_t limit = currentLimit();
    if (limit == 0 || (Settings.MostBytes >= 0 && Settings.MostBytes < limit)) return outcome;
    const AnsiString folder = Settings.Folder + "files/";
    // Most runs end under the limit: the sum alone, then the names if need be.
    const bool over = Settings.MostBytes >= limit;
    if (!over && !ListRecordings(folder, outcome.Before, nullptr)) {
        log("Quota: the files folder cannot be listed");
        return outcome;
    }
    outcome.After = outcome.Before;
    if (!over && outcome.After < limit) return outcome;
    std::vector<TStoredFile> files;
    if (!ListRecordings(folder, outcome.After, &files)) {
        if (over) log("Quota: the files folder cannot be listed");
        return outcome;
    }
    outcome.Before = outcome.After;
    // Files that went meanwhile may have brought the sum under the limit.
    if (outcome.After < limit) return outcome;

    log(Sprintf("Quota: %lld bytes, limit %lld", (long long)outcome.Before, (long long)limit));
    DateEach(DataDb, files);
    std::sort(files.begin(), files.end(), [](const TStoredFile& a, const TStoredFile& b) {
        return a.Date != b.Date ? a.Date < b.Date : a.Name < b.Name;
    });
    for (const TStoredFile& file : files) {
        if (cancelled()) break;
        if (!Settings.InUse.empty() && file.Name == Settings.InUse) continue;
        const AnsiString path = folder + file.Name;
        // A file already gone counts as deleted: its row goes all the same.
        if (!DeleteFile(path) && FileExists(path)) {
            log("Quota: cannot delete " + file.Name);
            continue;
        }
        log("Quota: deleted " + file.Name);
        outcome.After -= file.Size;
        outcome.Deleted.push_back(file.Name);
        limit = currentLimit();
        if (limit == 0 || outcome.After < limit) break;
    }
    if (outcome.Deleted.empty()) return outcome;
    SqliteTransaction transaction(DataDb);
    SqliteStatement drop(DataDb, "DELETE FROM Files WHERE Filename = ?;");
    for (const AnsiString& name : outcome.Deleted) {
        drop.Reset();
        drop.Bind(1, name).Exec();
    }
    transaction.Commit();
    return outcome;
}
