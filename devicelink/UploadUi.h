#pragma once
// What an announcement upload shows and asks of the program around it. The
// upload calls these on its own thread, in this order: ChooseSlot (unless the
// address is too short), ShowStatus and ShowSendError as it goes, and
// UploadFinished last, always. The program performs each on its GUI thread
// and returns when it is done; ChooseSlot and ShowSendError wait for the user.
#include "rtl/AnsiString.h"

enum class TUploadResult {
    Sent,       // the device took the announcement
    NoAddress,  // the address is too short to be the device's: nothing was asked
    NoSlot,     // the user chose no slot: nothing was sent
    Refused,    // the device refused it; its message stays on the status line
    Failed,     // the nonce, the file or the connection failed; the user was told
    Stopped,    // the program is ending: the upload gave up
};

class TUploadUi {
public:
    virtual ~TUploadUi() = default;

    // One line of the debug log.
    virtual void Log(const AnsiString& Line) = 0;
    // Disables the main window (until UploadFinished) and asks for one of the
    // device's eight slots: 1 to 8, or below 1 when the user chose none.
    virtual int ChooseSlot() = 0;
    // The status line shows the text of Key; an empty Key clears it.
    virtual void ShowStatus(const AnsiString& Key) = 0;
    // A message dialog: the text of IDS_ANNOUNCE_SEND_ERROR under IDS_ERROR.
    virtual void ShowSendError() = 0;
    // The main window is enabled again; the upload calls nothing after this.
    virtual void UploadFinished(TUploadResult Result) = 0;
};
