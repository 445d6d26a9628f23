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
    mutable std::mutex Mu;
    std::condition_variable Cv;
    int Running = 0;
};

class TConnectSyncUi : public TSyncUi, public std::enable_shared_from_this<TConnectSyncUi> {
public:
    TConnectSyncUi(TConnectFrame* Frame, std::shared_ptr<TLiveRuns> Live);

    // GUI thread: the frame lets the run go.
    void Detach() { Detached = true; }
    bool IsDetached() const { return Detached; }
    // The run has called RunFinished (any thread).
    bool Ended() const { return EndedFlag.load(); }

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

    TConnectFrame* Frame;
    std::weak_ptr<char> FrameAlive;
    std::shared_ptr<TLiveRuns> Live;
    bool Detached = false;  // GUI thread only
    std::atomic<bool> EndedFlag{false};

    std::mutex Mu;  // guards what follows
    bool ProgressPosted = false;
    int64_t ProgressFile = 0, ProgressCount = 0;
    int ProgressPercent = 0;
    bool LinesPosted = false;
    std::vector<AnsiString> Lines;
    bool ReloadPosted = false;
};
