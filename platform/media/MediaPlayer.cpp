#include "MediaPlayer.h"

#include <limits>

YORDE_IMPLEMENT_CLASS(TMediaPlayer, [](TClassBuilder<TMediaPlayer>& c) {
    c.Property("AutoOpen", &TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen);
    c.Property("DeviceType", &TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType).Default(dtAutoSelect);
    c.Property("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName);
    c.Property("TimeFormat", &TMediaPlayer::TimeFormat, &TMediaPlayer::SetTimeFormat).Default(tfMilliseconds);
    c.Property("Visible", &TMediaPlayer::Visible, &TMediaPlayer::SetVisible).Default(true);
})

namespace {
int ClampToInt(int64_t ms) { return int(std::min<int64_t>(ms, std::numeric_limits<int>::max())); }
}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TComponent(AOwner) {}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::SetTimeFormat(TMPTimeFormats Value) {
    // Every caller counts in milliseconds; other formats would be read as such.
    if (Value != tfMilliseconds) throw EMCIDeviceError("The media player supports the millisecond time format only");
    timeFormat_ = Value;
}

void TMediaPlayer::Open() {
    if (deviceType_ != dtAutoSelect && deviceType_ != dtWaveAudio)
        throw EMCIDeviceError("The media player plays wave audio only");
    if (fileName_.empty()) throw EMCIDeviceError("No file name is set for the media player");
    session_.Open(fileName_);
}

void TMediaPlayer::Close() { session_.Close(); }
void TMediaPlayer::Play() { session_.Play(); }
void TMediaPlayer::Pause() { session_.Pause(); }
void TMediaPlayer::Resume() { session_.Resume(); }
void TMediaPlayer::Stop() { session_.Stop(); }
void TMediaPlayer::StartRecording() { session_.StartRecording(); }
void TMediaPlayer::Save() { session_.Save(fileName_); }

int TMediaPlayer::Position() { return ClampToInt(session_.Position()); }
void TMediaPlayer::SetPosition(int Value) { session_.Seek(Value); }
int TMediaPlayer::Length() { return ClampToInt(session_.Length()); }

TMPModes TMediaPlayer::Mode() {
    switch (session_.State()) {
    case MediaState::NotReady: return mpNotReady;
    case MediaState::Stopped: return mpStopped;
    case MediaState::Playing: return mpPlaying;
    case MediaState::Paused: return mpPaused;
    case MediaState::Recording: return mpRecording;
    }
    return mpNotReady;
}

void TMediaPlayer::Loaded() {
    inherited::Loaded();
    if (autoOpen_ && !ComponentState().Contains(csDesigning) && !fileName_.empty()) Open();
}
