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
#include <memory>

class TlxLangLinked;
class THttpClient;
class TDeviceSession;
class TFileCounter;

// Free disk space as the status bar shows it: "N GB" from a gigabyte on,
// "N MB" below.
AnsiString FreeSpaceAmount(std::int64_t FreeBytes);

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
    ~TStatusFrame() override;

    // Set by the users frame at a login, cleared when a login fails.
    std::atomic<bool> LoggedIn{false};
    // The device's SD card as the sync run last saw it: -1 not known yet,
    // 0 installed, 1 none, 2 initialising, 3 and 4 error.
    std::atomic<int32_t> SdState{-1};

    // Every 3 s: free disk space, the number of stored recordings, the
    // logged-in user and the SD card's state. The recordings are counted
    // off the GUI thread, and only while somebody is logged in: a tick asks
    // for a count, which shows when it is in.
    void Timer1Timer(TObject* Sender);
    // The SD card asked for directly, every 10 s; nothing in the program
    // switches it on.
    void Timer2Timer(TObject* Sender);

    // The latest count of stored recordings, -1 before the first one.
    int RecordingCount() const;

private:
    AnsiString text(const char* Key) const;
    // FilesLabel shows Count when it answers a request of this login.
    void showFiles(int Count, unsigned Request);

    // Timer2Timer's own client and the nonce it keeps between ticks.
    std::unique_ptr<THttpClient> httpClient_;
    std::unique_ptr<TDeviceSession> session_;
    std::unique_ptr<TFileCounter> counter_;
    // Counts asked for so far, and the first one since the login (0: nobody
    // logged in at the last tick).
    unsigned requests_ = 0;
    unsigned firstRequest_ = 0;
};
