#pragma once
// The connection tab: the device's address and password, the connect /
// disconnect and refresh image buttons, the link's status text and
// download progress. It switches the link on and off and starts sync runs;
// the users frame gives it the refresh interval and the storage quota.
#include "vcl/Buttons.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Mask.h"
#include "vcl/StdCtrls.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class TlxLangLinked;
class HTTPThread;
class LoopThread;
class TLoopClock;
class TConnectSyncUi;
struct TLiveRuns;

class TConnectFrame : public TFrame {
    YORDE_CLASS(TConnectFrame, TFrame)
public:
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* SerwerIPEdit = nullptr;
    TMaskEdit* HasloEdit = nullptr;
    TLabel* StatusLabel = nullptr;
    TImage* PolaczImage = nullptr;
    TImage* OdswiezImage = nullptr;
    TBitBtn* ConnectBitBtn = nullptr;
    TButton* RefreshButton = nullptr;
    TProgressBar* ProgressBarHttp = nullptr;
    TImage* EarthImage = nullptr;
    TImage* LockImage = nullptr;
    TPanel* LegPanel1 = nullptr;
    TPanel* LegPanel2 = nullptr;
    TImageList* ImageListBtn = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TConnectFrame(TComponent* AOwner);
    // Ends the link's threads: they never outlive the frame.
    ~TConnectFrame() override;
    void BeforeDestruction() override;

    // Interval of the refresh loop in seconds and the storage limit in units
    // of 1024*1024*1000 bytes; set by the users frame, read by the sync run.
    std::atomic<int32_t> RefreshSeconds{0};
    std::atomic<int64_t> StorageQuota{0};
    // Look of the connect button between mouse-down and mouse-up: -1 after
    // a disconnect, 0 connect, 1 pressed, 4 disconnect, 5 pressed.
    std::atomic<int32_t> ButtonState{0};
    // The time the refresh loop counts, for loops started from then on;
    // none for the machine's steady clock. Tests move one by hand.
    std::shared_ptr<TLoopClock> LoopClock;

    // Switches the link on (checking address and password) or off.
    void ConnectBitBtnClick(TObject* Sender);
    // Starts a sync run now when the link is on; the button rests for 2 s.
    void RefreshButtonClick(TObject* Sender);
    // Any thread of a run through its TSyncUi; the look of a link that is off.
    void ResetToConnect();
    void StartConnectUI();
    // A sync run now, unless one is running.
    void Refresh();
    // The current run's thread has not ended yet: a Refresh now is dropped.
    bool RunUnderWay() const;
    // Around an SD-card import, from any thread: Disconnect pauses the
    // refresh loop and stops the run, and returns once no run touches the
    // files or the databases; until StartLoop no run starts. StartLoop
    // resumes the loop, or starts one.
    void Disconnect();
    void StartLoop();
    bool IsConnected() const { return linkOn_.load(); }
    // At exit, whatever the link's state: the loop and every run end, within
    // a few seconds at most.
    void ShutdownLink();
    // A run's TSyncUi reports its end.
    void RunEnded(TConnectSyncUi* Ui);
    // Expires when the frame is destroyed: calls queued for it check this first.
    std::weak_ptr<char> Alive() const { return Life().Watch(); }

    // The device link's text routines, as the sync run uses them.
    static void HexToBytes(const AnsiString& Hex, unsigned char* Out, int N);
    static AnsiString ByteToHex(unsigned char B);
    static AnsiString UrlEncode(const AnsiString& Text);

    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);
    void PolaczImageDblClick(TObject* Sender);
    void PolaczImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PolaczImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OdswiezImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void OdswiezImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SerwerIPEditKeyPress(TObject* Sender, char& Key);
    void HasloEditKeyPress(TObject* Sender, char& Key);

private:
    // Picture K of the active language's eight, then a repaint (and, with
    // ToFront, the image brought to the front).
    void showButton(TImage* Image, int K, bool ToFront);

    // A run, and the GUI side it shows through.
    struct TRun {
        std::unique_ptr<HTTPThread> Thread;
        std::shared_ptr<TConnectSyncUi> Ui;
    };
    void startRun();
    // The current run is stopped and kept until it reports its end.
    void letRunGo();
    void freeRun(TRun& Run);
    void startLoopThread();
    void stopLoopThread();
    // Waits, serving the GUI thread's queue when on it, until no run is alive
    // or the time is up.
    void waitForRunsToEnd(int Ms);

    std::atomic<bool> linkOn_{false};
    TRun syncThread_;
    std::vector<TRun> stopping_;  // let go, not ended yet
    std::unique_ptr<LoopThread> refreshLoop_;
    bool startWhenStopped_ = false;  // a run was asked for while a stopped one was ending
    bool importActive_ = false;      // between Disconnect and StartLoop no run starts
    std::atomic<bool> refreshPosted_{false};
    std::shared_ptr<TLiveRuns> live_;
};
