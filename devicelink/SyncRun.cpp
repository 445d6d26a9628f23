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

HTTPThread::HTTPThread(TSyncSettings Settings_, std::shared_ptr<TSyncUi> Ui_)
    : TThread(false),
      Settings(std::move(Settings_)),
      Ui(std::move(Ui_)),
      Session(Http, DeviceBaseFor(Settings.Base), [this](const AnsiString& line) { log(line); }) {
    SetPriority(tpHigher);
    ConfigureSyncClient(Http);
    if (const int ms = gReadTimeoutOverride.load()) Http.ReadTimeout = ms;
    DataDb.SetCancelFlag(&CancelFlag);
    TmpDb.SetCancelFlag(&CancelFlag);
    DbWriter =
        std::make_unique<DBThread>(Settings.Folder + "tmp.db", [ui = Ui](const AnsiString& line) { ui->Log(line); });
    SetAbortHook([this] {
        CancelFlag = true;
        Http.Cancel();
        DbWriter->Terminate();
    });
    log("HTTPThread started");
    AfterConstruction();
}

HTTPThread::~HTTPThread() {
    // Execute uses the members below: it must have ended before they go.
    Terminate();
    if (!Finished()) WaitFor();
    DbWriter.reset();
    log("Destruktor");
    log("HTTPThread stoped");
}

void HTTPThread::checkCancelled() const {
    if (CancelFlag) throw EHttpCancelled("The run was stopped");
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
    MessageShown = false;
    FilesArrived = false;
    BytesTotal = 1;
    DataDb.Open(Settings.Folder + "data.db");
    TmpDb.Open(Settings.Folder + "tmp.db");
    // tmp.db is made anew at every start: a crash may lose it whole.
    TmpDb.ExecDml("PRAGMA synchronous=OFF;");
    // Look-ups by name; the tables stay as the Windows program reads them.
    DataDb.ExecDml(
        "CREATE INDEX IF NOT EXISTS FilesFilename ON Files(Filename);"
        "CREATE INDEX IF NOT EXISTS DeletedFilesFilename ON DeletedFiles(Filename);");
    Owed.Prepare();

    if (!firmwarePhase()) return;
    fetchNonceAndSdState();
    prepareList();
    if (!listPages()) return;
    reconcile();
    downloadAll();
    if (!MessageShown) Ui->ShowMessage("");
    Ui->ClearProgress();
}

bool HTTPThread::firmwarePhase() {
    try {
        const AnsiString reply = Session.Preload();
        log("Preload: " + reply);
        switch (CheckFirmware(reply)) {
        case TFirmwareCheck::Supported: return true;
        case TFirmwareCheck::TooOld:
            Ui->ResetToConnect();
            Ui->ShowMessage("IDS_OLDFIRMWARE");
            MessageShown = true;
            return false;
        case TFirmwareCheck::Unreadable: throw EDeviceBadReply("No firmware version in the reply");
        }
    } catch (const std::exception& e) {
        firmwareFailure(e);
    }
    return false;
}

void HTTPThread::fetchNonceAndSdState() {
    Session.FetchNonce(Settings.Password);
    Ui->ShowMessage("IDS_RECEIVING_LIST");
    TSdReply sd;
    const TReplyParse parsed = Session.GetSdData(sd);
    log("SD stats");
    if (parsed == TReplyParse::Ok) Ui->ShowSdState(sd);
}

void HTTPThread::firmwareFailure(const std::exception& Failure) {
    const TDeviceFailure failure = FirmwareFailure(Failure);
    if (failure.Quiet || CancelFlag) return;
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
    Ui->ResetToConnect();
    Ui->ShowMessage(failure.Key);
    MessageShown = true;
}

void HTTPThread::requestFailure(const std::exception& Failure) {
    const TDeviceFailure failure = RequestFailure(Failure);
    if (failure.Quiet || CancelFlag) return;
    // A failure of no known kind says nothing new once a message is up.
    if (failure.Key == "IDS_CONNECT_ERROR_4" && MessageShown) return;
    log("Error: " + MessageOf(Failure));
    Ui->ShowMessage(failure.Key);
    if (failure.ResetLink) Ui->ResetToConnect();
    if (failure.ResetSd) Ui->ResetSdState();
    MessageShown = true;
}

void HTTPThread::databaseFailure(const SqliteException& Failure) {
    if (CancelFlag) return;
    // The link stays on: the next run tries again.
    log(AnsiString("Database error: ") + Failure.Message());
    // A disk too full for data.db's changes is the disk's failure, and the user's to mend.
    Ui->ShowMessage(Failure.Code() == SQLITE_FULL ? "IDS_NOSPACELEFT" : "");
    MessageShown = true;
}

void HTTPThread::commonEnd() noexcept {
    try {
        if (!DbWriter->Suspended() && !DbWriter->Finished()) {
            DbWriter->Terminate();
            DbWriter->WaitFor();
        }
    } catch (const std::exception& e) {
        log(AnsiString("DBThread catch: ") + e.what());
    }
    // A stopped run skips what is left, the quota included.
    const bool deleted = !CancelFlag && enforceQuota();
    try {
        log("1226: finally");
        Ui->ClearProgress();
        if (!MessageShown) Ui->ShowMessage("");
        Http.OnWork = nullptr;
        Http.OnWorkBegin = nullptr;
        Http.Disconnect();
        DataDb.Close();
        TmpDb.Close();
        Urls.clear();
        Sizes.clear();
        // Here, not in the destructor: that runs on the GUI thread.
        Stored.Reset(nullptr);
        Folder.reset();
        Watch.reset();
        if (FilesArrived || deleted) Ui->ReloadList();
    } catch (...) {
        // Nothing here may keep the run from ending.
    }
    FilesArrived = false;
    Running = false;
    Ui->RunFinished();
}

bool HTTPThread::enforceQuota() noexcept {
    try {
        if (!DataDb.Handle()) DataDb.Open(Settings.Folder + "data.db");
        TQuotaSettings quota{Settings.Folder, Settings.StorageQuota,
                             Settings.RecordingInUse ? Settings.RecordingInUse() : AnsiString(),
                             [this](const AnsiString& line) { log(line); }, &CancelFlag};
        const int64_t limit = QuotaLimitBytes(Settings.StorageQuota ? Settings.StorageQuota() : 0);
        if (limit > 0) quota.MostBytes = mostQuotaBytes(limit);
        return !EnforceStorageQuota(DataDb, quota).Deleted.empty();
    } catch (const std::exception& e) {
        // The run still ends: a later one tries again.
        log(AnsiString("Quota: ") + e.what());
    } catch (...) {
        log("Quota: unknown failure");
    }
    return false;
}

int64_t HTTPThread::mostQuotaBytes(int64_t Limit) {
    const AnsiString files = Settings.Folder + "files/";
    std::vector<std::string> changed;
    if (Folder && Watch && Watch->Changes(changed)) {
        Folder->Refresh(changed);
    } else {
        // Not listed by this run, or changed unseen since: listed now.
        Stored.Reset(nullptr);
        Watch.reset();
        Folder = std::make_unique<TStoreFolder>();
        try {
            std::vector<AnsiString> missing;
            if (!Folder->Read(files)) return -1;
            Folder->MatchRows(DataDb, missing);
        } catch (const SqliteException& e) {
            log(AnsiString("Quota: ") + e.Message());
            return -1;
        }
    }
    // Near the limit the rows' bounds say too little: the files are looked
    // at, by the names already known.
    const int64_t most = Folder->MostBytes();
    return most < Limit ? most : Folder->ExactBytes();
}
