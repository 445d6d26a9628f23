// The player panel: play, pause, stop, previous and next, the seek bar and
// the time label, volume and mute; the end of an announcement recording.
#include "workstation/Unitmediaframe.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Files.h"
#include "rtl/Ticks.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitmessage.h"

#include <cstdio>

namespace {

constexpr WORD kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kKeyStep = 5;

AnsiString clockText(int64_t Seconds) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", (long long)(Seconds / 3600),
                  (long long)((Seconds % 3600) / 60), (long long)(Seconds % 60));
    return buf;
}

}  // namespace

void TMediaFrame::setSeekFromTimer(int Position) {
    seekSetByTimer_ = true;
    SeekTrackBar->SetPosition(Position);
    seekSetByTimer_ = false;
}

void TMediaFrame::ResetPlayTime() {
    setSeekFromTimer(0);
    TimeLabel->SetCaption("00:00:00");
}

void TMediaFrame::UpdatePlayTime() {
    if (MediaPlayer->FileName().size() <= 2) return;
    int64_t length = MediaPlayer->Length() / 1000;
    if (length == 0) length = 1;
    const int64_t position = MediaPlayer->Position() / 1000;
    TimeLabel->SetCaption(clockText(position));
    setSeekFromTimer(int(SeekTrackBar->Max() * position / length));
    // The end was reached: back at the start with the recording still loaded,
    // and nothing left to follow. The sound is held in memory: reading the
    // deciphered copy again could only fail (it may be gone by now).
    if (Timer1->Enabled() && MediaPlayer->Mode() == mpStopped) {
        ResetPlayTime();
        MediaPlayer->SetPosition(0);
        Timer1->SetEnabled(false);
        Timer2->SetEnabled(false);
        setStatus(AnsiString());
    }
}

bool TMediaFrame::startPlaying() {
    try {
        MediaPlayer->Play();
    } catch (const EMCIDeviceError& e) {
        if (MediaPlayer->Mode() == mpNotReady) return false;  // nothing open: nothing to say
        // A recording is open but no sound device takes it.
        DebugLog("Play: " + AnsiString(e.what()));
        Timer1->SetEnabled(false);
        setStatus(text("IDS_PLAY_ERROR"));
        return false;
    }
    Timer1->SetEnabled(true);
    Timer2->SetEnabled(false);
    return true;
}

void TMediaFrame::PlayImageClick(TObject*) {
    const int row = musicTable->Row();
    if (row >= 1 && !recording_) {
        try {
            MediaPlayer->Stop();
        } catch (const EMCIDeviceError&) {
            return;  // nothing open
        }
        if (startPlaying()) setStatus(text("IDS_PLAYING"));
    } else if (row > 0 && recording_) {
        StopImageClick(nullptr);
        musicTableClick(musicTable);
    }
}

void TMediaFrame::PauseImageClick(TObject*) {
    const TMPModes mode = MediaPlayer->Mode();
    if (mode == mpPaused) {
        if (startPlaying()) setStatus(text("IDS_PLAYING"));
        return;
    }
    if (mode != mpPlaying && mode != mpRecording && !recording_) return;
    recording_ = false;
    if (mode == mpRecording) {
        endRecording();
    } else {
        MediaPlayer->Pause();
        setStatus(text("IDS_PAUSE"));
    }
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
}

void TMediaFrame::StopImageClick(TObject*) {
    try {
        if (recording_) endRecording();
        const TMPModes mode = MediaPlayer->Mode();
        if (mode == mpPlaying || mode == mpPaused) {
            MediaPlayer->Stop();
            MediaPlayer->Eject();
        }
        // Stopped at the end (a key step past it) rewinds too, or Play plays nothing.
        if (mode == mpPlaying || mode == mpPaused || mode == mpStopped) MediaPlayer->SetPosition(0);
    } catch (const EMCIDeviceError&) {
    }
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    ResetPlayTime();
    setStatus(AnsiString());
}

void TMediaFrame::endRecording() {
    recording_ = false;
    Timer2->SetEnabled(false);
    const AnsiString file = MediaPlayer->FileName();
    try {
        MediaPlayer->Stop();
        MediaPlayer->Save();
        MediaPlayer->Eject();
        MediaPlayer->Close();
        Sleep(10);
        startAnnouncementUpload(file);
    } catch (const std::exception& e) {
        // Nothing half saved is sent; the user hears why in the catalogue's words.
        DebugLog("Record announcement: " + AnsiString(e.what()));
        MediaPlayer->Close();
        MediaPlayer->SetFileName(AnsiString());
        DeleteFile(file);
        setStatus(AnsiString());
        ShowMessageDialog(this, mcMedia, kRecordFileMessage);
    }
    if (musicTable->Row() > 0) openSelectedRow();
}

void TMediaFrame::PrevImageClick(TObject*) {
    if (recording_) {
        StopImageClick(nullptr);
        return;
    }
    const int row = musicTable->Row();
    if (row < 1) return;
    musicTable->SetRow(row == 1 ? musicTable->RowCount() - 1 : row - 1);
}

void TMediaFrame::NextImageClick(TObject*) {
    if (recording_) {
        StopImageClick(nullptr);
        return;
    }
    const int row = musicTable->Row();
    if (row < 1) return;
    musicTable->SetRow(row >= musicTable->RowCount() - 1 ? 1 : row + 1);
}

// A double click is one more click.
void TMediaFrame::PrevImageDblClick(TObject* Sender) { PrevImageClick(Sender); }
void TMediaFrame::NextImageDblClick(TObject* Sender) { NextImageClick(Sender); }

void TMediaFrame::RecImageClick(TObject*) {
    const TPoint at = Mouse->CursorPos();
    RecPopupMenu->Popup(at.X, at.Y);
}

void TMediaFrame::Timer1Timer(TObject*) { UpdatePlayTime(); }

void TMediaFrame::Timer2Timer(TObject*) {
    const int64_t seconds = MediaPlayer->Length() / 1000;
    setSeekFromTimer(0);
    TimeLabel->SetCaption(clockText(seconds));
}

void TMediaFrame::SeekTrackBarChange(TObject*) {
    if (seekSetByTimer_) return;
    if (MediaPlayer->FileName().size() <= 2 || SeekTrackBar->Max() <= 0) return;
    try {
        const bool playing = MediaPlayer->Mode() == mpPlaying;
        const int64_t ms = int64_t(SeekTrackBar->Position()) * MediaPlayer->Length() / SeekTrackBar->Max();
        TimeLabel->SetCaption(clockText(ms / 1000));
        MediaPlayer->SetPosition(int(ms));
        if (playing) MediaPlayer->Play();
    } catch (const EMCIDeviceError&) {
        // Nothing open to seek in.
    }
}

void TMediaFrame::SeekTrackBarKeyDown(TObject*, WORD& Key, TShiftState) {
    const int position = SeekTrackBar->Position();
    if (Key == kRight || Key == kUp) {
        // Past the end stops rather than seeking beyond it.
        if (position + kKeyStep > SeekTrackBar->Max()) StopImageClick(nullptr);
        SeekTrackBar->SetPosition(position + kKeyStep);
    } else if (Key == kLeft || Key == kDown) {
        SeekTrackBar->SetPosition(position - kKeyStep);
    }
}

void TMediaFrame::VolumeTrackBarKeyDown(TObject*, WORD& Key, TShiftState) {
    const int position = VolumeTrackBar->Position();
    if (Key == kRight || Key == kUp)
        VolumeTrackBar->SetPosition(std::min(position + kKeyStep, 100));
    else if (Key == kLeft || Key == kDown)
        VolumeTrackBar->SetPosition(std::max(position - kKeyStep, 0));
}

void TMediaFrame::VolImageClick(TObject*) {
    muted_ = !muted_;
    showButton(VolImage, false);
    if (muted_) {
        VolImage->SetHint(text("IDS_VOL_ON"));
        savedVolume_ = VolumeTrackBar->Position();
        VolumeTrackBar->SetPosition(0);
        VolumeTrackBar->SetEnabled(false);
    } else {
        VolImage->SetHint(text("IDS_VOL_OFF"));
        VolumeTrackBar->SetEnabled(true);
        VolumeTrackBar->SetPosition(savedVolume_);
    }
}

void TMediaFrame::VolImageDblClick(TObject* Sender) { VolImageClick(Sender); }
