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
    TUncancelled(SqliteDb& Db, const std::atomic<bool>* Flag) : db_(Db), flag_(Flag) { Db.SetCancelFlag(nullptr); }
    ~TUncancelled() { db_.SetCancelFlag(flag_); }
    TUncancelled(const TUncancelled&) = delete;
    TUncancelled& operator=(const TUncancelled&) = delete;

private:
    SqliteDb& db_;
    const std::atomic<bool>* flag_;
};

}  // namespace

bool HTTPThread::hasFreeSpace(const AnsiString& Folder) const {
    const int64_t free = settings_.FreeSpace ? settings_.FreeSpace(Folder) : DiskFree(Folder);
    return free / kMiB >= kMinFreeMiB;
}

void HTTPThread::downloadAll() {
    log("972: Pobieranie");
    std::vector<std::pair<AnsiString, int64_t>> rows;
    {
        // Names begin with the date and time: by name is oldest first, so a
        // run cut short leaves only newer recordings, which the next list holds.
        SqliteStatement listed(tmpDb_, "SELECT url, size FROM DownFiles ORDER BY filename;");
        while (listed.Step()) rows.emplace_back(listed.ColumnText(0), listed.ColumnInt64(1));
    }
    http_.OnWork = [this](int64_t bytes) { onWork(bytes); };
    const AnsiString folder = settings_.Folder + "files/";
    // The registrar has ended before this returns, whichever way.
    struct TEnd {
        std::unique_ptr<TRegistrar>& Registrar;
        ~TEnd() { Registrar.reset(); }
    } end{registrar_};
    registrar_ = std::make_unique<TRegistrar>([this](TArrivals& Arrivals) { registerArrivals(Arrivals); });
    try {
        for (const auto& [url, size] : rows) {
            checkCancelled();
            registrar_->ThrowIfFailed();
            if (!hasFreeSpace(folder)) throw ENoSpaceLeft("Less than 10 MB free");
            fetchOne(url, size);
            handOver(heldFiles() >= kMaxBatch);
        }
        finishRegistering();
    } catch (const ENoSpaceLeft& e) {
        finishRegistering();
        // What is left is listed again by the next run.
        log("972: " + e.Message);
        ui_->ShowMessage("IDS_NOSPACELEFT");
        messageShown_ = true;
    } catch (...) {
        // Whatever ends the run, the files that arrived whole are kept; only
        // the one being fetched goes.
        keepWhatArrived();
        throw;
    }
    if (!fileFailureKey_.empty() && !messageShown_) {
        if (fileFailureName_.empty())
            ui_->ShowMessage(fileFailureKey_);
        else
            ui_->ShowFileMessage(fileFailureKey_, fileFailureName_);
        messageShown_ = true;
    }
}

HTTPThread::TFetch HTTPThread::fetchOne(const AnsiString& Url, int64_t Size) {
    const AnsiString name = ExtractDeviceFileName(Url);
    auto skip = [&](const char* why) {
        log(AnsiString(why) + Url);
        ui_->StepFile();
        return TFetch::Skipped;
    };
    if (!IsStorableName(name)) return skip("Skipped, no file name: ");
    // Two entries with one name would share one file and two rows.
    if (stored_.Contains(name)) return skip("Skipped, already stored: ");

    const AnsiString target = settings_.Folder + "files/" + name;
    auto part = std::make_unique<TPartFile>(target);
    attemptBytes_ = 0;
    TDeviceSession::TFileResult result;
    try {
        result = session_.GetRecord(
            Url, Size,
            [&] {
                part->Restart();
                bytesReceived_ -= attemptBytes_;
                attemptBytes_ = 0;
            },
            [&](const char* data, size_t size) { part->Write(data, size); });
    } catch (const EHttpProtocolError& e) {
        // A file the device cannot give does not stop the others; it is
        // asked for again by the next run.
        const AnsiString key = DeviceErrorBodyKey(e.ErrorMessage);
        if (key != "IDS_CANNOT_RECEIVE" && key != "IDS_RECEIVE_ERROR") throw;
        log("1021 " + Url + ": " + e.ErrorMessage);
        pending_.Owed.push_back(name);
        fileFailureKey_ = key;
        fileFailureName_.clear();
        ui_->StepFile();
        return TFetch::Failed;
    }
    if (result == TDeviceSession::TFileResult::GaveUp) {
        log("Not downloaded: " + Url);
        pending_.Owed.push_back(name);
        // Named on the labels: a dropped connection says nothing of the file itself.
        fileFailureKey_ = "IDS_RECEIVE_LATER";
        fileFailureName_ = name;
        ui_->StepFile();
        return TFetch::Failed;
    }
    if (sinceReload_ == 0) reloadStart_ = std::chrono::steady_clock::now();
    pending_.Files.push_back({name, std::move(part)});
    stored_.Insert(name);
    ui_->StepFile();
    ++fileIndex_;
    ++sinceReload_;
    if (reloadDue()) {
        pending_.Reload = true;
        sinceReload_ = 0;
    }
    return TFetch::Arrived;
}

bool HTTPThread::reloadDue() const {
    return sinceReload_ >= int64_t(kMaxBatch) ||
           (fileIndex_ % 10 == 0 && std::chrono::steady_clock::now() - reloadStart_ >= kBatchTime);
}

void HTTPThread::handOver(bool Wait) {
    // A reload shows every file up to the one that asked for it and none
    // after: its batch closes there, whenever the registrar takes it.
    if (pending_.Reload) {
        closed_.push_back(std::move(pending_));
        pending_ = TArrivals();
    }
    while (!closed_.empty() || !pending_.Empty()) {
        if (!Wait && !registrar_->Idle()) return;
        TArrivals& next = closed_.empty() ? pending_ : closed_.front();
        registrar_->Submit(std::move(next));
        if (closed_.empty())
            pending_ = TArrivals();
        else
            closed_.pop_front();
    }
}

size_t HTTPThread::heldFiles() const {
    size_t files = pending_.Files.size();
    for (const TArrivals& batch : closed_) files += batch.Files.size();
    return files;
}

void HTTPThread::finishRegistering() {
    handOver(true);
    registrar_->Drain();
    registrar_->ThrowIfFailed();
}

void HTTPThread::keepWhatArrived() noexcept {
    // A failure of the registering itself was told when it ended the run.
    const bool told = registrar_ && registrar_->Failed();
    try {
        if (registrar_) finishRegistering();
    } catch (const SqliteException& e) {
        if (!told) log(AnsiString("Not registered: ") + e.Message());
    } catch (const std::exception& e) {
        if (!told) log(AnsiString("Not registered: ") + e.what());
    } catch (...) {
    }
    closed_.clear();
    pending_ = TArrivals();
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
                filesArrived_ = true;
                continue;
            } catch (const Exception& e) {
                failures[i] = e.Message;
            }
        }
        log("Not stored: " + failures[i]);
        stored_.Erase(batch[i].Name);
        notStored.push_back(batch[i].Name);
    }
    // Their places on the disk too, before their rows.
    if (!placed.empty()) SyncPartFolder(settings_.Folder + "files/");
    try {
        TUncancelled uncancelled(dataDb_, &cancelFlag_);
        SqliteTransaction transaction(dataDb_);
        TRecordingRegister files(dataDb_);
        for (const TArrivedFile* file : placed) {
            log("1053: plik " + file->Name);
            files.Register(file->Name, file->Part->Size());
            owed_.Arrived(file->Name);
        }
        for (const AnsiString& name : notStored) owe(name);
        for (const AnsiString& name : Arrivals.Owed) owe(name);
        transaction.Commit();
    } catch (...) {
        // A file without its row would be counted and never fetched again.
        for (const TArrivedFile* file : placed) {
            DeleteFile(settings_.Folder + "files/" + file->Name);
            stored_.Erase(file->Name);
        }
        throw;
    }
    // The kernel's record of the folder's changes stays short on a long run.
    if (watch_) watch_->Collect();
    if (Arrivals.Reload) ui_->ReloadList();
}

void HTTPThread::owe(const AnsiString& Name) {
    if (!owed_.AskedInVain(Name, int64_t(std::time(nullptr))))
        log("Owed no more, asked for in vain " + std::to_string(TOwedRecordings::kGiveUpRuns) +
            " times or more over a day: " + Name);
}

void HTTPThread::onWork(int64_t BytesSoFar) {
    const int64_t before = attemptBytes_;
    bytesReceived_ += BytesSoFar - attemptBytes_;
    attemptBytes_ = BytesSoFar;
    if (before / kFreeSpaceStep != BytesSoFar / kFreeSpaceStep && !hasFreeSpace(settings_.Folder + "files/"))
        throw ENoSpaceLeft("Less than 10 MB free");
    const int percent = int(std::clamp<int64_t>(bytesReceived_ * 100 / std::max<int64_t>(1, bytesTotal_), 0, 100));
    if (percent == lastPercent_ && fileIndex_ == lastShownFile_) return;
    lastPercent_ = percent;
    lastShownFile_ = fileIndex_;
    ui_->ShowProgress(fileIndex_ + 1, fileCount_, percent);
}
