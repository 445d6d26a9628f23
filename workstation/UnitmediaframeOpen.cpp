// Opening a stored recording for playing: deciphered into the private
// temporary folder's "tmp.wav" and opened in the player, with a message
// for every way it can fail.
#include "workstation/Unitmediaframe.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "store/RecordingNames.h"
#include "store/Recordings.h"
#include "store/UserRights.h"
#include "workstation/HourGlass.h"
#include "workstation/RecordingInPlayer.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmessage.h"

namespace {

// Media messages (catalogue 0).
constexpr int kOpenError = 0;
constexpr int kMemoryError = 1;
constexpr int kWriteError = 2;
constexpr int kRemoved = 3;

}  // namespace

AnsiString TMediaFrame::RecordingPath(const AnsiString& FileName) { return ProgramDir() + "files/" + FileName; }

void TMediaFrame::reportOpenFailure(int Code, const char* StatusKey) {
    closePlayer();
    // Whatever was deciphered is of no use.
    DeleteFile(PlayingFileName());
    ExportImage->SetVisible(false);
    setStatus(StatusKey ? text(StatusKey) : AnsiString());
    ShowMessageDialog(this, mcMedia, Code);
}

void TMediaFrame::OpenRecording(const AnsiString& Path) {
    THourGlass hourGlass;
    try {
        MediaPlayer->Close();
        openedPath_.clear();
        SetRecordingInPlayer(AnsiString());
        setStatus(text("IDS_DECODE"));
        switch (DecipherForPlaying(Path)) {
        case rdOk: break;
        case rdMissing: reportOpenFailure(kRemoved, "IDS_NO_RECORDFILE"); return;
        case rdOpenError: reportOpenFailure(kOpenError, "IDS_OPEN_ERROR"); return;
        case rdMemoryError: reportOpenFailure(kMemoryError, nullptr); return;
        case rdWriteError: reportOpenFailure(kWriteError, "IDS_RECORDFILE_ERROR"); return;
        }
        MediaPlayer->SetFileName(PlayingFileName());
        MediaPlayer->Open();
        // A damaged file (cut short, say) may open without a moment of sound.
        if (MediaPlayer->Length() <= 0) throw EMCIDeviceError("no sound in " + Path);
        openedPath_ = Path;
        SetRecordingInPlayer(Path);
        UpdatePlayTime();
        VolumeTrackBar->SetPosition(GetWaveVolume());
        // Export hands out the sound: shown only to a user who may listen.
        ExportImage->SetVisible(MayExportRecording(currentUser()));
        setStatus(AnsiString());
    } catch (const std::exception& e) {
        // The player could not take the file (or anything else went wrong):
        // as if there were no recording.
        DebugLog("Open recording: " + AnsiString(e.what()));
        reportOpenFailure(kRemoved, "IDS_NO_RECORDFILE");
    }
}

void TMediaFrame::openSelectedRow() {
    const AnsiString name = selectedFileName();
    if (!IsStoredRecordingName(name)) {
        // A name that would reach outside the "files" folder names no recording.
        DebugLog("Open recording: refused file name \"" + name + "\"");
        reportOpenFailure(kRemoved, "IDS_NO_RECORDFILE");
        return;
    }
    SeekTrackBar->SetEnabled(true);
    OpenRecording(RecordingPath(name));
}

void TMediaFrame::closePlayer() {
    SeekTrackBar->SetEnabled(false);
    if (openedPath_.empty() && MediaPlayer->Mode() == mpNotReady) return;
    StopImageClick(nullptr);
    MediaPlayer->Close();
    MediaPlayer->SetFileName(AnsiString());
    // The plain copy lives no longer than the player holds it: a recording
    // deleted or purged takes its copy with it.
    if (!openedPath_.empty()) DeleteFile(PlayingFileName());
    openedPath_.clear();
    SetRecordingInPlayer(AnsiString());
}
