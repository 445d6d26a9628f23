#include "devicelink/StorageQuota.h"

#include "rtl/DateTime.h"
#include "rtl/Files.h"
#include "rtl/FindFiles.h"
#include "rtl/Format.h"
#include "store/RecordingNames.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace {

struct TStoredFile {
    AnsiString Name;
    int64_t Size = 0;
    int Time = 0;     // packed file date
    AnsiString Date;  // the sort key: "yyyy-mm-dd      hh:nn:ss"
};

// "yyyy-mm-dd", six blanks, "hh:nn:ss": the layout of Files.Data.
bool IsDataText(const AnsiString& Text) {
    static const char kLayout[] = "9999-99-99      99:99:99";
    if (Text.size() != sizeof kLayout - 1) return false;
    for (size_t i = 0; i < Text.size(); ++i) {
        const bool digit = Text[i] >= '0' && Text[i] <= '9';
        if (kLayout[i] == '9' ? !digit : Text[i] != kLayout[i]) return false;
    }
    return true;
}

AnsiString DataTextOf(TDateTime Value) {
    Word y, mo, d, h, mi, s, ms;
    DecodeDateTime(Value, y, mo, d, h, mi, s, ms);
    return Sprintf("%04u-%02u-%02u      %02u:%02u:%02u", unsigned(y), unsigned(mo), unsigned(d), unsigned(h),
                   unsigned(mi), unsigned(s));
}

// Every "*.wav" (in any case) that is a plain file; false when the folder
// cannot be listed.
bool ListRecordings(const AnsiString& Folder, std::vector<TStoredFile>& Files, int64_t& Sum) {
    TSearchRec found;
    const int first = FindFirst(Folder + "*.wav", faAnyFile, found);
    if (first == ERROR_PATH_NOT_FOUND) return false;
    for (int rc = first; rc == 0; rc = FindNext(found)) {
        Sum += found.Size;
        if (found.Attr & faArchive) Files.push_back({found.Name, found.Size, found.Time, AnsiString()});
    }
    FindClose(found);
    return true;
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
        file.Date = IsDataText(named) ? std::move(named) : DataTextOf(FileDateToDateTime(file.Time));
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
    TQuotaOutcome outcome;
    const AnsiString folder = Settings.Folder + "files/";
    std::vector<TStoredFile> files;
    if (!ListRecordings(folder, files, outcome.Before)) {
        log("Quota: the files folder cannot be listed");
        return outcome;
    }
    outcome.After = outcome.Before;
    int64_t limit = QuotaLimitBytes(Settings.Steps ? Settings.Steps() : 0);
    if (limit == 0 || outcome.After < limit) return outcome;

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
        limit = QuotaLimitBytes(Settings.Steps ? Settings.Steps() : 0);
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
