#pragma once
// One sync run: it checks the exchange's firmware, fetches a nonce, shows the
// SD card's state, lists the exchange's recordings into "tmp.db" through its
// writer, drops what is stored, deleted or empty, downloads the rest oldest
// first into "files" and registers each in "data.db"; whatever happened, it
// ends by holding "files" under the storage quota. Everything it shows goes
// through its TSyncUi.
//
// The run stops when asked (Cancel, or Terminate): a transfer is aborted, a
// database wait gives up, the partial file is removed and the rest of the run
// is skipped; the files that arrived whole before a stop or a failure are
// registered all the same. A file is registered only when it arrived whole:
// it is written under a temporary name beside its place, flushed to the disk
// and then renamed, so neither a cut transfer nor a crash leaves a broken
// recording in "files".
//
// The downloads and their registration run side by side: the run's thread
// fetches, the registrar's thread (alive only while the downloads last)
// makes each batch durable and writes its rows. While it lives, dataDb_ and
// owed_ are the registrar's alone, and stored_ is shared under its own lock.
#include "classes/Thread.h"
#include "devicelink/DeviceSession.h"
#include "devicelink/FolderWatch.h"
#include "devicelink/NameSet.h"
#include "devicelink/OwedRecordings.h"
#include "devicelink/Registrar.h"
#include "devicelink/SyncUi.h"
#include "net/HttpClient.h"
#include "rtl/AnsiString.h"
#include "store/SqliteDb.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class DBThread;

// What a run is given when it is created, on the GUI thread.
struct TSyncSettings {
    AnsiString Base;      // "http://" + the exchange's address
    AnsiString Password;  // the exchange's password, as typed
    AnsiString Folder;    // the program's folder, with its "/"
    // Read on the run's thread at its end. The storage quota in steps of
    // 1024*1024*1000 bytes (none when empty), and the name in "files" of the
    // recording the player holds, which the quota never deletes.
    std::function<int64_t()> StorageQuota;
    std::function<AnsiString()> RecordingInUse;
    // Bytes free on the file system holding Folder, -1 when unknown. Empty: DiskFree.
    std::function<int64_t(const AnsiString& Folder)> FreeSpace;
};

// Tests reach a simulated exchange on another port through this base in
// place of the address of every run and announcement upload; an empty text
// removes it.
void SetSyncBaseOverride(const AnsiString& Base);
// Base, or the override when one is set.
AnsiString DeviceBaseFor(const AnsiString& Base);
// Tests shorten the silence that ends a read (90 s) for the runs started
// from then on; 0 removes it.
void SetSyncReadTimeoutOverride(int Ms);

class HTTPThread : public TThread {
public:
    // Starts the run at once.
    HTTPThread(TSyncSettings Settings, std::shared_ptr<TSyncUi> Ui);
    ~HTTPThread() override;

    // True from construction until the run's common end.
    bool IsRunning() const { return running_.load(); }
    // Any thread: the run ends soon (well within a second) and shows nothing more.
    void Cancel() { Terminate(); }

protected:
    void Execute() override;

private:
    // Steps of Execute, in order; each returns false when the run ends there.
    void runSteps();
    bool firmwarePhase();
    void fetchNonceAndSdState();
    void prepareList();
    bool listPages();
    void reconcile();
    void downloadAll();
    void commonEnd() noexcept;
    // The storage quota (true when a file was deleted); never throws.
    bool enforceQuota() noexcept;
    // The most bytes the recordings in "files" can hold now (their sum when
    // that bound reaches Limit); -1 when unknown.
    int64_t mostQuotaBytes(int64_t Limit);

    // Reconciliation, Krok 3 to 6.
    void dropMissingFiles();
    // Drops the listed entries whose name Listed accepts.
    void dropListed(const char* Table, const std::function<bool(const AnsiString& Name)>& Listed);
    void countWhatRemains();
    // After a whole list: what is owed and no longer to be fetched.
    void settleOwed();
    // A file asked for in vain.
    void owe(const AnsiString& Name);
    AnsiString newestStoredDate();

    // Download of one file; what arrived waits in pending_.
    enum class TFetch { Arrived, Skipped, Failed };
    TFetch fetchOne(const AnsiString& Url, int64_t Size);
    bool reloadDue() const;
    // Hands the closed batches, then pending_, to the registrar while it is
    // free, or (Wait) all of them as it takes them.
    void handOver(bool Wait);
    size_t heldFiles() const;  // arrived, not yet handed over
    // Everything to the registrar, registered; its failure is thrown.
    void finishRegistering();
    // The same when the run ends early; what fails is logged, never thrown.
    void keepWhatArrived() noexcept;
    // On the registrar's thread: the files on the disk, in place, and their
    // rows (and the names owed) in one transaction.
    void registerArrivals(TArrivals& Arrivals);
    bool hasFreeSpace(const AnsiString& Folder) const;
    void onWork(int64_t BytesSoFar);

    // Failure handlers of the firmware phase and of the later steps.
    void firmwareFailure(const std::exception& Failure);
    void requestFailure(const std::exception& Failure);
    void databaseFailure(const SqliteException& Failure);
    void log(const AnsiString& Line) { ui_->Log(Line); }
    void checkCancelled() const;

    TSyncSettings settings_;
    std::shared_ptr<TSyncUi> ui_;
    std::atomic<bool> cancelFlag_{false};
    THttpClient http_;
    TDeviceSession session_;
    SqliteDb dataDb_;
    SqliteDb tmpDb_;
    TOwedRecordings owed_{dataDb_};
    std::unique_ptr<DBThread> dbWriter_;

    int64_t bytesReceived_ = 0;  // bytes of this run's files so far
    int64_t attemptBytes_ = 0;   // bytes of the file's current attempt
    int64_t bytesTotal_ = 1;
    int64_t fileIndex_ = 0;  // files registered so far
    int64_t fileCount_ = 0;
    int lastPercent_ = -1;
    int64_t lastShownFile_ = -1;
    TArrivals pending_;                      // not yet handed to the registrar
    std::deque<TArrivals> closed_;           // batches that end with a reload, in order
    std::unique_ptr<TRegistrar> registrar_;  // while the downloads last
    int64_t sinceReload_ = 0;                // files since the list was last filled again
    std::chrono::steady_clock::time_point reloadStart_;
    std::unique_ptr<TStoreFolder> folder_;  // "files" as listed by this run
    std::unique_ptr<TFolderWatch> watch_;   // and what changed there since
    TNameSet stored_;                       // names in Files, or about to be
    std::vector<AnsiString> urls_;          // the current page's "n" values
    std::vector<AnsiString> sizes_;         // and their "s" values
    AnsiString datePart_;
    // The message of a file that could not be fetched, shown at the end, and
    // the file's name when the message names it.
    AnsiString fileFailureKey_;
    AnsiString fileFailureName_;
    bool listParsed_ = true;
    bool listWhole_ = true;  // the list ran to its last page
    bool messageShown_ = false;
    std::atomic<bool> filesArrived_{false};
    std::atomic<bool> running_{true};
};
