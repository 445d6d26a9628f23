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

class TlxLangLinked;

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

    // Interval of the refresh loop in seconds and the storage limit in units
    // of 1024*1024*1000 bytes; set by the users frame, read by the sync run.
    std::atomic<int32_t> RefreshSeconds{0};
    std::atomic<int64_t> StorageQuota{0};
    // Look of the connect button between mouse-down and mouse-up: -1 after
    // a disconnect, 0 connect, 1 pressed, 4 disconnect, 5 pressed.
    std::atomic<int32_t> ButtonState{0};

    // Switches the link on (checking address and password) or off.
    void ConnectBitBtnClick(TObject* Sender);
    // Starts a sync run now when the link is on; the button rests for 2 s.
    void RefreshButtonClick(TObject* Sender);
    void ResetToConnect();
    void StartConnectUI();
    void Refresh();
    // Pause and resume around an SD-card import.
    void Disconnect();
    void StartLoop();
    bool IsConnected() const { return LinkOn.load(); }

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

    std::atomic<bool> LinkOn{false};
};
