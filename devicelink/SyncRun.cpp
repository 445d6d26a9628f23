#include "devicelink/SyncRun.h"

#include "devicelink/DeviceErrors.h"
#include "devicelink/PartFile.h"
#include "devicelink/RecordListWriter.h"
#include "devicelink/StorageQuota.h"

#include <sqlite3.h>

#include <mutex>

namespace {

std::mutex gBaseOverrideMutex;
AnsiString gBaseOverride;
std::atomic<int> gReadTimeoutOverride{0};

AnsiString MessageOf(const std::exception& Failure) { return AnsiString(Failure.what()); }

}  // namespace

void SetSyncBaseOverride(const AnsiString& Base) {
    std::lock_guard lk(gBaseOverrideMutex);
    gBaseOverride = Base;
}

AnsiString DeviceBaseFor(const AnsiString& Base) {
    std::lock_guard lk(gBaseOverrideMutex);
    return gBaseOverride.empty() ? Base : gBaseOverride;
}
void SetSyncReadTimeoutOverride(int Ms) { gReadTimeoutOverride = Ms; }

// ---------------------------------------------------------------------------
// The run

HTTPThread::HTTPThread(TSyncSettings Settings, std::shared_ptr<TSyncUi> Ui)
    : TThread(false),
      settings_(std::move(Settings)),
      ui_(std::move(Ui)),
      session_(http_, DeviceBaseFor(settings_.Base), [this](const AnsiString& line) { log(line); }) {
    SetPriority(tpHigher);
    ConfigureSyncClient(http_);
    if (const int ms = gReadTimeoutOverride.load()) http_.ReadTimeout = ms;
    dataDb_.SetCancelFlag(&cancelFlag_);
    tmpDb_.SetCancelFlag(&cancelFlag_);
    dbWriter_ =
        std::make_unique<DBThread>(settings_.Folder + "tmp.db", [ui = ui_](const AnsiString& line) { ui->Log(line); });
    SetAbortHook([this] {
        cancelFlag_ = true;
        http_.Cancel();
        dbWriter_->Terminate();
    });
    log("HTTPThread started");
    AfterConstruction();
}

HTTPThread::~HTTPThread() {
    // Execute uses the members below: it must have ended before they go.
    Terminate();
    if (!Finished()) WaitFor();
    dbWriter_.reset();
    log("Destruktor");
    log("HTTPThread stoped");
}

void HTTPThread::checkCancelled() const {
    if (cancelFlag_) throw EHttpCancelled("The run was stopped");
}

void HTTPThread::Execute() {
    try {
        runSteps();
    } catch (const SqliteException& e) {
        databaseFailure(e);
    } catch (const std::exception& e) {
        requestFailure(e);
    } catch (...) {
        requestFailure(Exception("Unknown failure"));
    }
    commonEnd();
}

void HTTPThread::runSteps() {
    messageShown_ = false;
    filesArrived_ = false;
    bytesTotal_ = 1;
    dataDb_.Open(settings_.Folder + "data.db");
    tmpDb_.Open(settings_.Folder + "tmp.db");
    // tmp.db is made anew at every start: a crash may lose it whole.
    tmpDb_.ExecDml("PRAGMA synchronous=OFF;");
    // Look-ups by name; the tables stay as the Windows program reads them.
    dataDb_.ExecDml(
        "CREATE INDEX IF NOT EXISTS FilesFilename ON Files(Filename);"
        "CREATE INDEX IF NOT EXISTS DeletedFilesFilename ON DeletedFiles(Filename);");
    owed_.Prepare();

    if (!firmwarePhase()) return;
    fetchNonceAndSdState();
    prepareList();
    if (!listPages()) return;
    reconcile();
    downloadAll();
    if (!messageShown_) ui_->ShowMessage("");
    ui_->ClearProgress();
}

bool HTTPThread::firmwarePhase() {
    try {
        const AnsiString reply = session_.Preload();
        log("Preload: " + reply);
        switch (CheckFirmware(reply)) {
        case TFirmwareCheck::Supported: return true;
        case TFirmwareCheck::TooOld:
            ui_->ResetToConnect();
            ui_->ShowMessage("IDS_OLDFIRMWARE");
            messageShown_ = true;
            return false;
        case TFirmwareCheck::Unreadable: throw EDeviceBadReply("No firmware version in the reply");
        }
    } catch (const std::exception& e) {
        firmwareFailure(e);
    }
    return false;
}

void HTTPThread::fetchNonceAndSdState() {
    session_.FetchNonce(settings_.Password);
    ui_->ShowMessage("IDS_RECEIVING_LIST");
    TSdReply sd;
    const TReplyParse parsed = session_.GetSdData(sd);
    log("SD stats");
    if (parsed == TReplyParse::Ok) ui_->ShowSdState(sd);
}

void HTTPThread::firmwareFailure(const std::exception& Failure) {
    const TDeviceFailure failure = FirmwareFailure(Failure);
    if (failure.Quiet || cancelFlag_) return;
    const char* prefix = "672 ";
    if (const auto* http = dynamic_cast<const EHttpError*>(&Failure)) {
        switch (http->Kind) {
        case EHttpError::TKind::ReadTimeout: prefix = "654 "; break;
        case EHttpError::TKind::ProtocolError: prefix = "660 "; break;
        case EHttpError::TKind::SocketError:
        case EHttpError::TKind::ConnectTimeout: prefix = "666 "; break;
        default: break;
        }
    }
    log(prefix + MessageOf(Failure));
    ui_->ResetToConnect();
    ui_->ShowMessage(failure.Key);
    messageShown_ = true;
}

void HTTPThread::requestFailure(const std::exception& Failure) {
    const TDeviceFailure failure = RequestFailure(Failure);
    if (failure.Quiet || cancelFlag_) return;
    // A failure of no known kind says nothing new once a message is up.
    if (failure.Key == "IDS_CONNECT_ERROR_4" && messageShown_) return;
    log("Error: " + MessageOf(Failure));
    ui_->ShowMessage(failure.Key);
    if (failure.ResetLink) ui_->ResetToConnect();
    if (failure.ResetSd) ui_->ResetSdState();
    messageShown_ = true;
}

void HTTPThread::databaseFailure(const SqliteException& Failure) {
    if (cancelFlag_) return;
    // The link stays on: the next run tries again.
    log(AnsiString("Database error: ") + Failure.Message());
    // A disk too full for data.db's changes is the disk's failure, and the user's to mend.
    ui_->ShowMessage(Failure.Code() == SQLITE_FULL ? "IDS_NOSPACELEFT" : "");
    messageShown_ = true;
}

void HTTPThread::commonEnd() noexcept {
    try {
        if (!dbWriter_->Suspended() && !dbWriter_->Finished()) {
            dbWriter_->Terminate();
            dbWriter_->WaitFor();
        }
    } catch (const std::exception& e) {
        log(AnsiString("DBThread catch: ") + e.what());
    }
    // A stopped run skips what is left, the quota included.
    const bool deleted = !cancelFlag_ && enforceQuota();
    try {
        log("1226: finally");
        ui_->ClearProgress();
        if (!messageShown_) ui_->ShowMessage("");
        http_.OnWork = nullptr;
        http_.OnWorkBegin = nullptr;
        http_.Disconnect();
        dataDb_.Close();
        tmpDb_.Close();
        urls_.clear();
        sizes_.clear();
        // Here, not in the destructor: that runs on the GUI thread.
        stored_.Reset(nullptr);
        folder_.reset();
        watch_.reset();
        if (filesArrived_ || deleted) ui_->ReloadList();
    } catch (...) {
        // Nothing here may keep the run from ending.
    }
    filesArrived_ = false;
    running_ = false;
    ui_->RunFinished();
}

bool HTTPThread::enforceQuota() noexcept {
    try {
        if (!dataDb_.Handle()) dataDb_.Open(settings_.Folder + "data.db");
        TQuotaSettings quota{settings_.Folder, settings_.StorageQuota,
                             settings_.RecordingInUse ? settings_.RecordingInUse() : AnsiString(),
                             [this](const AnsiString& line) { log(line); }, &cancelFlag_};
        const int64_t limit = QuotaLimitBytes(settings_.StorageQuota ? settings_.StorageQuota() : 0);
        if (limit > 0) quota.MostBytes = mostQuotaBytes(limit);
        return !EnforceStorageQuota(dataDb_, quota).Deleted.empty();
    } catch (const std::exception& e) {
        // The run still ends: a later one tries again.
        log(AnsiString("Quota: ") + e.what());
    } catch (...) {
        log("Quota: unknown failure");
    }
    return false;
}

int64_t HTTPThread::mostQuotaBytes(int64_t Limit) {
    const AnsiString files = settings_.Folder + "files/";
    std::vector<std::string> changed;
    if (folder_ && watch_ && watch_->Changes(changed)) {
        folder_->Refresh(changed);
    } else {
        // Not listed by this run, or changed unseen since: listed now.
        stored_.Reset(nullptr);
        watch_.reset();
        folder_ = std::make_unique<TStoreFolder>();
        try {
            std::vector<AnsiString> missing;
            if (!folder_->Read(files)) return -1;
            folder_->MatchRows(dataDb_, missing);
        } catch (const SqliteException& e) {
            log(AnsiString("Quota: ") + e.Message());
            return -1;
        }
    }
    // Near the limit the rows' bounds say too little: the files are looked
    // at, by the names already known.
    const int64_t most = folder_->MostBytes();
    return most < Limit ? most : folder_->ExactBytes();
}
