// The record list: its pages into DownFiles through the writer, then what is
// stored, deleted or empty taken out again (Krok 3 to 6).
#include "devicelink/DeviceErrors.h"
#include "devicelink/PartFile.h"
#include "devicelink/PlainFiles.h"
#include "devicelink/RecordListWriter.h"
#include "devicelink/SyncRun.h"
#include "rtl/Files.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// A run that sees more pages than this takes the list as ended: the device
// would otherwise keep it asking for ever.
constexpr int kMaxPages = 100000;

// The plain files in Folder; false when the folder cannot be listed. What
// a crash left of files being written goes to Leftovers.
bool ListFolder(const AnsiString& Folder, std::vector<AnsiString>& Names, std::vector<AnsiString>& Leftovers) {
    return ForEachPlainFile(Folder, false, [&](std::string_view OsName, const struct stat*) {
        AnsiString Name = PlainFileName(OsName);
        (IsStoreLeftover(Name) ? Leftovers : Names).push_back(std::move(Name));
    });
}

}  // namespace

std::vector<AnsiString> HTTPThread::readNames(const char* Sql) {
    std::vector<AnsiString> names;
    SqliteStatement query(DataDb, Sql);
    while (query.Step()) names.push_back(query.ColumnText(0));
    return names;
}

AnsiString HTTPThread::newestStoredDate() {
    // Only a Data text of the stored layout can say where the list starts:
    // letters would sort above every date.
    SqliteStatement query(DataDb,
                          "SELECT max(Data) FROM Files WHERE Data GLOB "
                          "'[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]      [0-9][0-9]:[0-9][0-9]:[0-9][0-9]';");
    AnsiString newest = query.Step() ? query.ColumnText(0) : AnsiString();
    // What the exchange still owes is listed again: the list starts no later than its day.
    const AnsiString owed = Owed.OldestDate();
    if (!newest.empty() && !owed.empty() && owed < newest.substr(0, 10)) newest = owed;
    return newest;
}

void HTTPThread::prepareList() {
    log("818: KROK 1 i 2");
    TmpDb.ExecDml("DELETE FROM DownFiles;");
    DatePart = RecordListDatePart(newestStoredDate());
    Urls.clear();
    Sizes.clear();
    DbWriter->Start();
}

bool HTTPThread::listPages() {
    AnsiString idPart;
    std::unordered_set<AnsiString> seenIds;
    for (int pages = 1;; ++pages) {
        checkCancelled();
        TRecordListPage page;
        if (Session.GetRecordListPage(idPart, DatePart, page) == TReplyParse::NotJson) {
            ListParsed = false;
            break;
        }
        DbWriter->WaitIdle(CancelFlag);
        checkCancelled();
        Urls.clear();
        Sizes.clear();
        for (const TRecordListEntry& entry : page.Files) {
            Urls.push_back(entry.Name);
            Sizes.push_back(entry.Size);
            log("JSON: " + entry.Name + " , " + entry.Size);
        }
        for (const AnsiString& skipped : page.Skipped) log("JSON skipped: " + skipped);
        DbWriter->SetLists(Urls, Sizes);
        Ui->ShowMessage("IDS_RECEIVING_LIST");
        idPart = NextIdPart(page);
        if (IsLastIdPart(idPart)) break;
        if (!seenIds.insert(page.Id).second || pages >= kMaxPages) {
            log("849: the record list does not end (page id " + page.Id + "); taken as ended");
            ListWhole = false;
            break;
        }
    }
    Ui->ShowMessage("IDS_RECEIVING_LIST");
    DbWriter->WaitIdle(CancelFlag);
    checkCancelled();
    DbWriter->Stop();
    DbWriter->WaitFor();
    if (!ListParsed) {
        // The list cannot be read: nothing is fetched, and saying so keeps a
        // device that always answers this way from passing for an empty one.
        log("849: the record list is not JSON");
        Ui->ShowMessage("IDS_CONNECT_ERROR_4");
        MessageShown = true;
        Ui->ClearProgress();
        return false;
    }
    return true;
}

void HTTPThread::reconcile() {
    Ui->ShowLinkStatus("IDS_RECEIVING", "...");
    BytesReceived = 0;
    log("901: Krok 3");
    dropMissingFiles();
    log("920: Krok 4");
    dropListed("Files", Stored);
    log("933: Krok 5");
    dropListed("DeletedFiles", TNameSet(readNames("SELECT Filename FROM DeletedFiles;")));
    log("945: Krok 6");
    countWhatRemains();
    settleOwed();
}

void HTTPThread::settleOwed() {
    // A list cut short says nothing of what the exchange no longer has.
    if (!ListWhole) return;
    std::unordered_set<AnsiString> toFetch;
    {
        SqliteStatement listed(TmpDb, "SELECT filename FROM DownFiles;");
        while (listed.Step()) toFetch.insert(listed.ColumnText(0));
    }
    for (const AnsiString& name : Owed.KeepOnly(toFetch)) log("Owed no more, not to be fetched: " + name);
}

void HTTPThread::dropMissingFiles() {
    Stored = TNameSet(readNames("SELECT Filename FROM Files ORDER BY Filename;"));
    std::vector<AnsiString> present, leftovers;
    present.reserve(Stored.Initial().size() + 16);
    // A folder that is gone or unreadable says nothing about the recordings:
    // deleting their rows would lose the whole catalogue.
    if (!ListFolder(Settings.Folder + "files/", present, leftovers)) {
        log("901: the files folder cannot be listed; no row is removed");
        return;
    }
    // What a run or an import cut off by a crash left behind: never registered, never whole.
    RemoveLeftovers(Settings.Folder + "files/", leftovers, [this](const AnsiString& line) { log(line); });

    std::sort(present.begin(), present.end());
    // Whole files a crash kept from their rows: replaced by the download
    // of the same name, when the device lists it.
    std::vector<AnsiString> unregistered;
    std::set_difference(present.begin(), present.end(), Stored.Initial().begin(), Stored.Initial().end(),
                        std::back_inserter(unregistered));
    if (!unregistered.empty())
        log("901: " + std::to_string(unregistered.size()) + " files without their row, fetched again when listed");
    std::vector<AnsiString> missing;
    std::set_difference(Stored.Initial().begin(), Stored.Initial().end(), present.begin(), present.end(),
                        std::back_inserter(missing));
    if (missing.empty()) return;
    SqliteTransaction transaction(DataDb);
    SqliteStatement drop(DataDb, "DELETE FROM Files WHERE Filename = ?;");
    for (const AnsiString& name : missing) {
        drop.Reset();
        drop.Bind(1, name).Exec();
        log("901: missing " + name);
    }
    transaction.Commit();
    for (const AnsiString& name : missing) Stored.Erase(name);
}

void HTTPThread::dropListed(const char* Table, const TNameSet& Names) {
    std::vector<int64_t> rows;
    {
        SqliteStatement listed(TmpDb, "SELECT rowid, filename FROM DownFiles;");
        while (listed.Step())
            if (Names.Contains(listed.ColumnText(1))) rows.push_back(listed.ColumnInt64(0));
    }
    if (rows.empty()) return;
    SqliteTransaction transaction(TmpDb);
    SqliteStatement drop(TmpDb, "DELETE FROM DownFiles WHERE rowid = ?;");
    for (int64_t row : rows) {
        drop.Reset();
        drop.Bind(1, row).Exec();
    }
    transaction.Commit();
    log(AnsiString(Table) + ": " + std::to_string(rows.size()) + " listed entries dropped");
}

void HTTPThread::countWhatRemains() {
    TmpDb.ExecDml("DELETE FROM DownFiles WHERE size=0;");
    // total(), not sum(): sizes the device cannot mean would overflow an
    // integer sum. Capped at a petabyte, so that the percentage stays exact.
    SqliteStatement totals(
        TmpDb,
        "SELECT CAST(min(total(CASE WHEN size > 0 THEN size ELSE 0 END), 1e15) AS INTEGER), count(*) FROM DownFiles;");
    const bool row = totals.Step();
    // At least 1, so that the percentage never divides by nothing.
    BytesTotal = row ? std::max<int64_t>(1, totals.ColumnInt64(0)) : 1;
    FileCount = row ? totals.ColumnInt64(1) : 0;
    FileIndex = 0;
    Ui->SetFileCount(FileCount);
}
