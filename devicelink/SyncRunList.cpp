// The record list: its pages into DownFiles through the writer, then what is
// stored, deleted or empty taken out again (Krok 3 to 6).
#include "devicelink/DeviceErrors.h"
#include "devicelink/PartFile.h"
#include "devicelink/RecordListWriter.h"
#include "devicelink/SyncRun.h"
#include "rtl/Files.h"
#include "store/RecordingNames.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <memory>

namespace {

// A run that sees more pages than this takes the list as ended: the device
// would otherwise keep it asking for ever.
constexpr int kMaxPages = 100000;

}  // namespace

AnsiString HTTPThread::newestStoredDate() {
    // Only a Data text of the stored layout can say where the list starts:
    // letters would sort above every date.
    SqliteStatement query(dataDb_, "SELECT Data FROM Files;");
    AnsiString newest;
    while (query.Step()) {
        const std::string_view data = query.ColumnView(0);
        if (data > std::string_view(newest) && IsDataText(data)) newest = data;
    }
    // What the exchange still owes is listed again: the list starts no later than its day.
    const AnsiString owed = owed_.OldestDate();
    if (!newest.empty() && !owed.empty() && owed < newest.substr(0, 10)) newest = owed;
    return newest;
}

void HTTPThread::prepareList() {
    log("818: KROK 1 i 2");
    tmpDb_.ExecDml("DELETE FROM DownFiles;");
    datePart_ = RecordListDatePart(newestStoredDate());
    urls_.clear();
    sizes_.clear();
    dbWriter_->Start();
}

bool HTTPThread::listPages() {
    AnsiString idPart;
    std::unordered_set<AnsiString> seenIds;
    for (int pages = 1;; ++pages) {
        checkCancelled();
        TRecordListPage page;
        if (session_.GetRecordListPage(idPart, datePart_, page) == TReplyParse::NotJson) {
            listParsed_ = false;
            break;
        }
        dbWriter_->WaitIdle(cancelFlag_);
        checkCancelled();
        urls_.clear();
        sizes_.clear();
        for (const TRecordListEntry& entry : page.Files) {
            urls_.push_back(entry.Name);
            sizes_.push_back(entry.Size);
            log("JSON: " + entry.Name + " , " + entry.Size);
        }
        for (const AnsiString& skipped : page.Skipped) log("JSON skipped: " + skipped);
        dbWriter_->SetLists(urls_, sizes_);
        ui_->ShowMessage("IDS_RECEIVING_LIST");
        idPart = NextIdPart(page);
        if (IsLastIdPart(idPart)) break;
        if (!seenIds.insert(page.Id).second || pages >= kMaxPages) {
            log("849: the record list does not end (page id " + page.Id + "); taken as ended");
            listWhole_ = false;
            break;
        }
    }
    ui_->ShowMessage("IDS_RECEIVING_LIST");
    dbWriter_->WaitIdle(cancelFlag_);
    checkCancelled();
    dbWriter_->Stop();
    dbWriter_->WaitFor();
    if (!listParsed_) {
        // The list cannot be read: nothing is fetched, and saying so keeps a
        // device that always answers this way from passing for an empty one.
        log("849: the record list is not JSON");
        ui_->ShowMessage("IDS_CONNECT_ERROR_4");
        messageShown_ = true;
        ui_->ClearProgress();
        return false;
    }
    return true;
}

void HTTPThread::reconcile() {
    ui_->ShowLinkStatus("IDS_RECEIVING", "...");
    bytesReceived_ = 0;
    log("901: Krok 3");
    dropMissingFiles();
    log("920: Krok 4");
    dropListed("Files", [this](const AnsiString& Name) { return stored_.Contains(Name); });
    log("933: Krok 5");
    // One look-up per listed name: the deleted names only ever grow.
    SqliteStatement deleted(dataDb_, "SELECT 1 FROM DeletedFiles WHERE Filename = ? LIMIT 1;");
    dropListed("DeletedFiles", [&](const AnsiString& Name) {
        deleted.Reset();
        return deleted.Bind(1, Name).Step();
    });
    log("945: Krok 6");
    countWhatRemains();
    settleOwed();
}

void HTTPThread::settleOwed() {
    // A list cut short says nothing of what the exchange no longer has.
    if (!listWhole_) return;
    std::unordered_set<AnsiString> toFetch;
    {
        SqliteStatement listed(tmpDb_, "SELECT filename FROM DownFiles;");
        while (listed.Step()) toFetch.insert(listed.ColumnText(0));
    }
    for (const AnsiString& name : owed_.KeepOnly(toFetch)) log("Owed no more, not to be fetched: " + name);
}

void HTTPThread::dropMissingFiles() {
    const AnsiString files = settings_.Folder + "files/";
    folder_ = std::make_unique<TStoreFolder>();
    // Watched from before the listing: what changes from now on is looked
    // at again by the storage quota, and nothing else is.
    watch_ = std::make_unique<TFolderWatch>(files);
    // A folder that is gone or unreadable says nothing about the recordings:
    // deleting their rows would lose the whole catalogue.
    if (!folder_->Read(files)) {
        log("901: the files folder cannot be listed; no row is removed");
        folder_ = std::make_unique<TStoreFolder>();
        watch_.reset();
        SqliteStatement rows(dataDb_, "SELECT Filename FROM Files;");
        while (rows.Step()) folder_->AddRegistered(rows.ColumnText(0));
        stored_.Reset(folder_.get());
        return;
    }
    std::vector<AnsiString> missing;
    folder_->MatchRows(dataDb_, missing);
    stored_.Reset(folder_.get());
    // What a run or an import cut off by a crash left behind: never registered, never whole.
    RemoveLeftovers(files, folder_->Leftovers(), [this](const AnsiString& line) { log(line); });
    // Whole files a crash kept from their rows: replaced by the download
    // of the same name, when the device lists it.
    if (const size_t unregistered = folder_->CountUnregistered())
        log("901: " + std::to_string(unregistered) + " files without their row, fetched again when listed");
    if (missing.empty()) return;
    SqliteTransaction transaction(dataDb_);
    SqliteStatement drop(dataDb_, "DELETE FROM Files WHERE Filename = ?;");
    for (const AnsiString& name : missing) {
        drop.Reset();
        drop.Bind(1, name).Exec();
        log("901: missing " + name);
    }
    transaction.Commit();
}

void HTTPThread::dropListed(const char* Table, const std::function<bool(const AnsiString& Name)>& Listed) {
    std::vector<int64_t> rows;
    {
        SqliteStatement listed(tmpDb_, "SELECT rowid, filename FROM DownFiles;");
        while (listed.Step())
            if (Listed(listed.ColumnText(1))) rows.push_back(listed.ColumnInt64(0));
    }
    if (rows.empty()) return;
    SqliteTransaction transaction(tmpDb_);
    SqliteStatement drop(tmpDb_, "DELETE FROM DownFiles WHERE rowid = ?;");
    for (int64_t row : rows) {
        drop.Reset();
        drop.Bind(1, row).Exec();
    }
    transaction.Commit();
    log(AnsiString(Table) + ": " + std::to_string(rows.size()) + " listed entries dropped");
}

void HTTPThread::countWhatRemains() {
    tmpDb_.ExecDml("DELETE FROM DownFiles WHERE size=0;");
    // total(), not sum(): sizes the device cannot mean would overflow an
    // integer sum. Capped at a petabyte, so that the percentage stays exact.
    SqliteStatement totals(
        tmpDb_,
        "SELECT CAST(min(total(CASE WHEN size > 0 THEN size ELSE 0 END), 1e15) AS INTEGER), count(*) FROM DownFiles;");
    const bool row = totals.Step();
    // At least 1, so that the percentage never divides by nothing.
    bytesTotal_ = row ? std::max<int64_t>(1, totals.ColumnInt64(0)) : 1;
    fileCount_ = row ? totals.ColumnInt64(1) : 0;
    fileIndex_ = 0;
    ui_->SetFileCount(fileCount_);
}
