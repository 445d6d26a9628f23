// Download and registration: every entry left in DownFiles, oldest first,
// into "files" and a row of Files each, with the progress shown as it goes.
#include "devicelink/DeviceErrors.h"
#include "devicelink/PartFile.h"
#include "devicelink/SyncRun.h"
#include "rtl/CodePages.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "store/RecordingRegister.h"
#include "store/Recordings.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

constexpr int64_t kMiB = 1048576;
// Below this much free space nothing more is written.
constexpr int64_t kMinFreeMiB = 10;
// Free space is looked at again after this many bytes of a file.
constexpr int64_t kFreeSpaceStep = 4 * kMiB;
// Files arrive in batches: each is flushed, moved into place and registered
// on the registrar's thread while the next ones download; a batch is handed
// over whenever the registrar is free, and the run waits for it only when
// the batch holds the most it may. The list is filled again after a tenth
// file once this long has passed since the last time, so a slow link shows
// every tenth file and a fast one does not reload it for every ten.
constexpr std::chrono::milliseconds kBatchTime(250);
constexpr size_t kMaxBatch = 200;

// A name the program keeps as a recording of its own (a plain ".wav" name,
// no separator, "..", control character), short enough for the file system
// with the suffix of a download in progress.
bool IsStorableName(const AnsiString& Name) {
    constexpr size_t kMaxFileNameBytes = 255;
    return IsStoredRecordingName(Name) && ToOsText(Name).size() + std::strlen(kPartSuffix) <= kMaxFileNameBytes;
}

// Registering what arrived whole is short, and a stop does not cut it off: a
// stopped run keeps those files too. The connection's waits are its plain
// busy time-out meanwhile.
class TUncancelled {
public:
    TUncancelled(SqliteDb& Db, const std::atomic<bool>* Flag) : Db(Db), Flag(Flag) { Db.SetCancelFlag(nullptr); }
    ~TUncancelled() { Db.SetCancelFlag(Flag); }
    TUncancelled(const TUncancelled&) = delete;
    TUncancelled& operator=(const TUncancelled&) = delete;

private:
    SqliteDb& Db;
    const std::atomic<bool>* Flag;
};

}  // namespace

bool HTTPThread::hasFreeSpace(const AnsiString& Folder) const {
    const int64_t free = Settings.FreeSpace ? Settings.FreeSpace(Folder) : DiskFree(Folder);
    return free / kMiB >= kMinFreeMiB;
}

void HTTPThread::downloadAll() {
    log("972: Pobieranie");
    std::vector<std::pair<AnsiString, int64_t>> rows;
    {
        // Names begin with the date and time: by name is oldest first, so a
        // run cut short leaves only newer recordings, which the next list holds.
        SqliteStatement listed(TmpDb, "SELECT url, size FROM DownFiles ORDER BY filename;");
        while (listed.Step()) rows.emplace_back(listed.ColumnText(0), listed.ColumnInt64(1));
    }
    Http.OnWork = [this](int64_t bytes) { onWork(bytes); };
    const AnsiString folder = Settings.Folder + "files/";
    // The registrar has ended before this returns, whichever way.
    struct TEnd {
        std::unique_ptr<TRegistrar>& Registrar;
        ~TEnd() { Registrar.reset(); }
    } end{Registrar};
    Registrar = std::make_unique<TRegistrar>([this](TArrivals& Arrivals) { registerArrivals(Arrivals); });
    try {
        for (const auto& [url, size] : rows) {
            checkCancelled();
            Registrar->ThrowIfFailed();
            if (!hasFreeSpace(folder)) throw ENoSpaceLeft("Less than 10 MB free");
            fetchOne(url, size);
            // A reload shows every file up to the one that asked for it, and no more.
            handOver(heldFiles() >= kMaxBatch);
        }
        finishRegistering();
    } catch (const ENoSpaceLeft& e) {
        finishRegistering();
        // What is left is listed again by the next run.
        log("972: " + e.Message);
        Ui->ShowMessage("IDS_NOSPACELEFT");
        MessageShown = true;
    } catch (...) {
        // Whatever ends the run, the files that arrived whole are kept; only
        // the one being fetched goes.
        keepWhatArrived();
        throw;
    }
    if (!FileFailureKey.empty() && !MessageShown) {
        if (FileFailureName.empty())
            Ui->ShowMessage(FileFailureKey);
        else
            Ui->ShowFileMessage(FileFailureKey, FileFailureName);
        MessageShown = true;
    }
}

HTTPThread::TFetch HTTPThread::fetchOne(const AnsiString& Url, int64_t Size) {
    const AnsiString name = ExtractDeviceFileName(Url);
    auto skip = [&](const char* why) {
        log(AnsiString(why) + Url);
        Ui->StepFile();
        return TFetch::Skipped;
    };
    if (!IsStorableName(name)) return skip("Skipped, no file name: ");
    // Two entries with one name would share one file and two rows.
    if (Stored.Contains(name)) return skip("Skipped, already stored: ");

    const AnsiString target = Settings.Folder + "files/" + name;
    auto part = std::make_unique<TPartFile>(target);
    AttemptBytes = 0;
    TDeviceSession::TFileResult result;
    try {
        result = Session.GetRecord(
            Url, Size,
            [&] {
                part->Restart();
                BytesReceived -= AttemptBytes;
                AttemptBytes = 0;
            },
            [&](const char* data, size_t size) { part->Write(data, size); });
    } catch (const EHttpProtocolError& e) {
        // A file the device cannot give does not stop the others; it is
        // asked for again by the next run.
        const AnsiString key = DeviceErrorBodyKey(e.ErrorMessage);
        if (key != "IDS_CANNOT_RECEIVE" && key != "IDS_RECEIVE_ERROR") throw;
        log("1021 " + Url + ": " + e.ErrorMessage);
        Pending.Owed.push_back(name);
        FileFailureKey = key;
        FileFailureName.clear();
        Ui->StepFile();
        return TFetch::Failed;
    }
    if (result == TDeviceSession::TFileResult::GaveUp) {
        log("Not downloaded: " + Url);
        Pending.Owed.push_back(name);
        // Named on the labels: a dropped connection says nothing of the file itself.
        FileFailureKey = "IDS_RECEIVE_LATER";
        FileFailureName = name;
        Ui->StepFile();
        return TFetch::Failed;
    }
    if (SinceReload == 0) ReloadStart = std::chrono::steady_clock::now();
    Pending.Files.push_back({name, std::move(part)});
    Stored.Insert(name);
    Ui->StepFile();
    ++FileIndex;
    ++SinceReload;
    if (reloadDue()) {
        Pending.Reload = true;
        SinceReload = 0;
    }
    return TFetch::Arrived;
}

bool HTTPThread::reloadDue() const {
    return SinceReload >= int64_t(kMaxBatch) ||
           (FileIndex % 10 == 0 && std::chrono::steady_clock::now() - ReloadStart >= kBatchTime);
}

void HTTPThread::handOver(bool Wait) {
    // A reload shows every file up to the one that asked for it and none
    // after: its batch closes there, whenever the registrar takes it.
    if (Pending.Reload) {
        Closed.push_back(std::move(Pending));
        Pending = TArrivals();
    }
    while (!Closed.empty() || !Pending.Empty()) {
        if (!Wait && !Registrar->Idle()) return;
        TArrivals& next = Closed.empty() ? Pending : Closed.front();
        Registrar->Submit(std::move(next));
        if (Closed.empty())
            Pending = TArrivals();
        else
            Closed.pop_front();
    }
}

size_t HTTPThread::heldFiles() const {
    size_t files = Pending.Files.size();
    for (const TArrivals& batch : Closed) files += batch.Files.size();
    return files;
}

void HTTPThread::finishRegistering() {
    handOver(true);
    Registrar->Drain();
    Registrar->ThrowIfFailed();
}

void HTTPThread::keepWhatArrived() noexcept {
    // A failure of the registering itself was told when it ended the run.
    const bool told = Registrar && Registrar->Failed();
    try {
        if (Registrar) finishRegistering();
    } catch (const SqliteException& e) {
        if (!told) log(AnsiString("Not registered: ") + e.Message());
    } catch (const std::exception& e) {
        if (!told) log(AnsiString("Not registered: ") + e.what());
    } catch (...) {
    }
    Closed.clear();
    Pending = TArrivals();
}

void HTTPThread::registerArrivals(TArrivals& Arrivals) {
    std::vector<TArrivedFile>& batch = Arrivals.Files;
    std::vector<TPartFile*> parts;
    for (const TArrivedFile& file : batch) parts.push_back(file.Part.get());
    std::vector<AnsiString> failures = FlushPartFiles(parts);
    std::vector<const TArrivedFile*> placed;
    std::vector<AnsiString> notStored;
    for (size_t i = 0; i < batch.size(); ++i) {
        if (failures[i].empty()) {
            try {
                batch[i].Part->MoveIntoPlace();
                placed.push_back(&batch[i]);
                FilesArrived = true;
                continue;
            } catch (const Exception& e) {
                failures[i] = e.Message;
            }
        }
        log("Not stored: " + failures[i]);
        Stored.Erase(batch[i].Name);
        notStored.push_back(batch[i].Name);
    }
    // Their places on the disk too, before their rows.
    if (!placed.empty()) SyncPartFolder(Settings.Folder + "files/");
    try {
        TUncancelled uncancelled(DataDb, &CancelFlag);
        SqliteTransaction transaction(DataDb);
        TRecordingRegister files(DataDb);
        for (const TArrivedFile* file : placed) {
            log("1053: plik " + file->Name);
            files.Register(file->Name, file->Part->Size());
            Owed.Arrived(file->Name);
        }
        for (const AnsiString& name : notStored) owe(name);
        for (const AnsiString& name : Arrivals.Owed) owe(name);
        transaction.Commit();
    } catch (...) {
        // A file without its row would be counted and never fetched again.
        for (const TArrivedFile* file : placed) {
            DeleteFile(Settings.Folder + "files/" + file->Name);
            Stored.Erase(file->Name);
        }
        throw;
    }
    // The kernel's record of the folder's changes stays short on a long run.
    if (Watch) Watch->Collect();
    if (Arrivals.Reload) Ui->ReloadList();
}

void HTTPThread::owe(const AnsiString& Name) {
    if (!Owed.AskedInVain(Name, int64_t(std::time(nullptr))))
        log("Owed no more, asked for in vain " + std::to_string(TOwedRecordings::kGiveUpRuns) +
            " times or more over a day: " + Name);
}

void HTTPThread::onWork(int64_t BytesSoFar) {
    const int64_t before = AttemptBytes;
    BytesReceived += BytesSoFar - AttemptBytes;
    AttemptBytes = BytesSoFar;
    if (before / kFreeSpaceStep != BytesSoFar / kFreeSpaceStep && !hasFreeSpace(Settings.Folder + "files/"))
        throw ENoSpaceLeft("Less than 10 MB free");
    const int percent = int(std::clamp<int64_t>(BytesReceived * 100 / std::max<int64_t>(1, BytesTotal), 0, 100));
    if (percent == LastPercent && FileIndex == LastShownFile) return;
    LastPercent = percent;
    LastShownFile = FileIndex;
    Ui->ShowProgress(FileIndex + 1, FileCount, percent);
}
