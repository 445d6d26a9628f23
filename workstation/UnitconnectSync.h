#pragma once
// The GUI side of a sync run: what the run shows and asks for, carried over
// to the GUI thread in the order the run asked, and turned into the
// connection frame's texts there. A run the frame has let go shows nothing
// more; its log lines, its last list reload and its end still arrive. The
// progress, the log and the list reload are coalesced: however fast the run
// reports, the GUI thread does each at most once per turn of its loop.
#include "devicelink/SyncUi.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class TConnectFrame;

// How many runs of a frame have not ended yet; shared with the runs' GUI
// sides, so that their end is counted on their own threads.
struct TLiveRuns {
    void Started();
    void Ended();
    int Count() const;
    // Waits until none is left or the time is up; true when none is left.
    bool WaitNone(int Ms);

private:
    mutable std::mutex mu_;
    std::condition_variable cv_;
    int running_ = 0;
};

class TConnectSyncUi : public TSyncUi, public std::enable_shared_from_this<TConnectSyncUi> {
public:
    TConnectSyncUi(TConnectFrame* Frame, std::shared_ptr<TLiveRuns> Live);

    // GUI thread: the frame lets the run go.
    void Detach() { detached_ = true; }
    bool IsDetached() const { return detached_; }
    // The run has called RunFinished (any thread).
    bool Ended() const { return endedFlag_.load(); }

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

private:
    enum class TAfterDetach { Drop, Keep };
    // Queues Fn for the GUI thread; it runs only while the frame exists (and,
    // with Drop, while the run is not let go).
    void post(std::function<void(TConnectFrame&)> Fn, TAfterDetach When = TAfterDetach::Drop);
    AnsiString text(const AnsiString& Key) const;

    TConnectFrame* frame_;
    std::weak_ptr<char> frameAlive_;
    std::shared_ptr<TLiveRuns> live_;
    bool detached_ = false;  // GUI thread only
    std::atomic<bool> endedFlag_{false};

    std::mutex mu_;  // guards what follows
    bool progressPosted_ = false;
    int64_t progressFile_ = 0, progressCount_ = 0;
    int progressPercent_ = 0;
    bool linesPosted_ = false;
    std::vector<AnsiString> lines_;
    bool reloadPosted_ = false;
};
