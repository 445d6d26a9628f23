#pragma once
// What a sync run shows and asks of the program around it. The run calls
// these on its own threads; the program carries every effect over to its GUI
// thread in the order of the calls, turns message keys into texts there, and
// drops the calls of a run it has let go (except the log, the list reload and
// the end). The run never waits for the GUI.
#include "devicelink/DeviceReplies.h"
#include "rtl/AnsiString.h"

#include <cstdint>

class TSyncUi {
public:
    virtual ~TSyncUi() = default;

    // One line of the debug log.
    virtual void Log(const AnsiString& Line) = 0;
    // Both status labels (the connection frame's and the status bar's) show
    // the text of Key; an empty Key clears them.
    virtual void ShowMessage(const AnsiString& Key) = 0;
    // Both status labels: the text of Key, a blank and the recording it
    // speaks of, given by its file name.
    virtual void ShowFileMessage(const AnsiString& Key, const AnsiString& FileName) = 0;
    // The connection frame's label alone: the text of Key, then Suffix.
    virtual void ShowLinkStatus(const AnsiString& Key, const AnsiString& Suffix) = 0;
    // The status bar's label and bar during a download: the IDS_RECEIVING
    // text, FileNumber, the IDS_FROM text, FileCount and "(Percent%)".
    virtual void ShowProgress(int64_t FileNumber, int64_t FileCount, int Percent) = 0;
    // The connection frame's bar counts files: its maximum, then one step per file.
    virtual void SetFileCount(int64_t Count) = 0;
    virtual void StepFile() = 0;
    // Both bars back to 0.
    virtual void ClearProgress() = 0;
    // The card's state for the status bar, with the card's sizes in the SD
    // label's hint when one is installed; Reset: -1 and the plain hint.
    virtual void ShowSdState(const TSdReply& Sd) = 0;
    virtual void ResetSdState() = 0;
    // The link is off: the connect button comes back (after its rest).
    virtual void ResetToConnect() = 0;
    // The recordings list is filled again; the status bar's label keeps its text.
    virtual void ReloadList() = 0;
    // The run has ended; it calls nothing after this.
    virtual void RunFinished() = 0;
};
