#pragma once
// The status bar at the bottom of the main window: free disk space, the
// number of stored recordings, the logged-in user and the device's SD card,
// plus the program-wide status line and progress bar that every long
// operation writes to.
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <atomic>
#include <cstdint>

class TlxLangLinked;

class TStatusFrame : public TFrame {
    YORDE_CLASS(TStatusFrame, TFrame)
public:
    TLabel* FreeSpaceLabel = nullptr;
    TLabel* FilesLabel = nullptr;
    TLabel* UserLabel = nullptr;
    TLabel* SDLabel = nullptr;
    TLabel* StatusLabel = nullptr;
    TProgressBar* StatusProgressBar = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TStatusFrame(TComponent* AOwner);

    // Set by the users frame at a login, cleared when a login fails.
    std::atomic<bool> LoggedIn{false};
    // The device's SD card as the sync run last saw it: -1 not known yet,
    // 0 installed, 1 none, 2 initialising, 3 and 4 error.
    std::atomic<int32_t> SdState{-1};

    // Every 3 s: free disk space, the number of stored recordings, the
    // logged-in user and the SD card's state.
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);

private:
    AnsiString text(const char* Key) const;
};
