#pragma once
// What the sync-run tests share: a program folder with its databases, a
// simulated exchange, a TSyncUi that records every effect a run asks for, and
// a run from start to end.
#include "DeviceSim.h"
#include "TempFolder.h"

#include "devicelink/SyncRun.h"
#include "devicelink/SyncUi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace synctest {

// Every call of a run, in order, as short texts: "message:IDS_BUSY",
// "message:" (cleared), "message:IDS_RECEIVE_LATER <file name>", "link:IDS_RECEIVING...", "progress:3/12/41",
// "count:12", "step", "clear", "sd:0/7580/12", "sd:reset", "reset",
// "reload", "finished". Log lines are kept apart.
class TRecordingUi : public TSyncUi {
public:
    void Log(const AnsiString& Line) override;
    void ShowMessage(const AnsiString& Key) override;
    void ShowFileMessage(const AnsiString& Key, const AnsiString& FileName) override;
    void ShowLinkStatus(const AnsiString& Key, const AnsiString& Suffix) override;
    void ShowProgress(int64_t FileNumber, int64_t FileCount, int Percent) override;
    void SetFileCount(int64_t Count) override;
    void StepFile() override;
    void ClearProgress() override;
    void ShowSdState(const TSdReply& Sd) override;
    void ResetSdState() override;
    void ResetToConnect() override;
    void ReloadList() override;
    void RunFinished() override;

    // Waits for RunFinished: a minute at the most, and a failure as soon as
    // the run has shown or logged nothing for kLongestSilence (a thread of
    // it that never ends, a wait that nothing wakes).
    bool WaitFinished();
    static constexpr std::chrono::seconds kLongestSilence{10};
    // Waits until a log line starting with Prefix has come.
    bool WaitForLog(const std::string& Prefix);
    // Waits until Event has come Count times, Longest at the most.
    bool WaitForEvents(const std::string& Event, int Count, std::chrono::seconds Longest);
    std::vector<std::string> Events() const;
    std::vector<std::string> Lines() const;
    int Count(const std::string& Event) const;
    bool Has(const std::string& Event) const { return Count(Event) > 0; }
    bool HasLine(const std::string& Line) const;
    // The message left on the labels: the last "message:" event's key.
    std::string LastMessage() const;
    // Called at each ReloadList, on the run's thread, before it returns:
    // what the list would read then.
    std::function<void()> WhenReloaded;

private:
    void add(std::string Event);
    mutable std::mutex Mu;
    std::condition_variable Cv;
    std::vector<std::string> Events_;
    std::vector<std::string> Lines_;
    bool Finished = false;
    std::chrono::steady_clock::time_point LastSign;
};

// A row of Files.
struct TFilesRow {
    std::string Data, AbA, AbB;
    int Czas = 0;
    std::string Filename;
};

class SyncTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One run from start to end; its recorder.
    std::shared_ptr<TRecordingUi> Run(const std::string& Password = "47150392");
    // A run that is started and left to the test.
    std::unique_ptr<HTTPThread> Start(std::shared_ptr<TRecordingUi> Ui, const std::string& Password = "47150392");

    // Recording bytes that tell one file from another.
    static std::string Bytes(size_t Size, unsigned Seed);
    // Adds a recording of that size to the exchange; returns its bytes.
    std::string Offer(const std::string& Name, size_t Size);

    std::vector<TFilesRow> FilesRows();
    void Exec(const std::string& Sql);
    // Names in "files", sorted.
    std::vector<std::string> StoredFiles() const;
    // The record requests the exchange answered, file names decoded as sent.
    std::vector<std::string> FetchedFiles() const;

    yorde::test::TTempFolder Program{"yorde-sync"};
    TDeviceSimulator Sim;
    // What the runs read at their end: the storage quota in steps (none
    // below 1) and the recording the player holds.
    std::atomic<int64_t> Quota{0};
    std::mutex InUseMutex;
    AnsiString InUse;
    // What the runs see as the free space of the disk; empty: the disk's own.
    std::function<int64_t(const AnsiString& Folder)> FreeSpace;
};

}  // namespace synctest
