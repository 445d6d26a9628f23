#include "MediaSession.h"

#include "AudioCapture.h"
#include "AudioDecoder.h"
#include "AudioOutput.h"
#include "WavWriter.h"
#include "rtl/Exceptions.h"

#include <algorithm>

MediaSession::MediaSession() = default;
MediaSession::~MediaSession() { Close(); }

void MediaSession::RequireOpen(const char* operation) const {
    if (state_ == MediaState::NotReady)
        throw EMCIDeviceError(AnsiString("Cannot ") + operation + ": no sound file is open");
}

void MediaSession::Open(const AnsiString& path) {
    Close();
    clip_ = DecodeAudioFile(path);
    position_ = 0;
    state_ = MediaState::Stopped;
}

void MediaSession::Close() {
    capture_.reset();
    ReleaseOutput();
    clip_ = AudioClip{};
    position_ = recordStart_ = 0;
    state_ = MediaState::NotReady;
}

void MediaSession::HaltOutput() {
    if (output_ && (state_ == MediaState::Playing || state_ == MediaState::Paused)) position_ = output_->Halt();
}

void MediaSession::ReleaseOutput() {
    HaltOutput();
    output_.reset();
}

void MediaSession::Sync() {
    if (state_ == MediaState::Playing && !output_->Playing()) {
        HaltOutput();
        state_ = MediaState::Stopped;
    }
}

void MediaSession::FinishRecording() {
    std::vector<int16_t> recorded = capture_->Finish();
    capture_.reset();
    clip_.Samples.resize(size_t(recordStart_ * clip_.Channels));
    clip_.Samples.insert(clip_.Samples.end(), recorded.begin(), recorded.end());
    position_ = clip_.Frames();
    state_ = MediaState::Stopped;
}

void MediaSession::Play() {
    RequireOpen("play");
    Sync();
    if (RecordingRuns()) FinishRecording();
    if (state_ == MediaState::Playing) return;
    if (position_ >= clip_.Frames()) {
        // Nothing left to play: over at once, as at the end of the media.
        HaltOutput();
        state_ = MediaState::Stopped;
        return;
    }
    if (!output_) output_ = std::make_unique<AudioOutput>(clip_.SampleRate);
    output_->Play(clip_, position_);
    state_ = MediaState::Playing;
}

void MediaSession::Pause() {
    Sync();
    if (state_ == MediaState::Playing) {
        position_ = output_->Halt();
        state_ = MediaState::Paused;
    } else if (state_ == MediaState::Recording) {
        capture_->Hold();
        state_ = MediaState::Paused;
    }
}

void MediaSession::Resume() {
    if (state_ != MediaState::Paused) return;
    if (RecordingRuns()) {
        capture_->Resume();
        state_ = MediaState::Recording;
    } else {
        Play();
    }
}

void MediaSession::Stop() {
    RequireOpen("stop");
    if (RecordingRuns()) FinishRecording();
    HaltOutput();
    state_ = MediaState::Stopped;
}

void MediaSession::Seek(int64_t ms) {
    RequireOpen("seek");
    Stop();
    position_ = std::clamp<int64_t>(clip_.MsToFrames(std::max<int64_t>(ms, 0)), 0, clip_.Frames());
}

void MediaSession::StartRecording() {
    RequireOpen("record");
    Sync();
    if (RecordingRuns()) {
        Resume();
        return;
    }
    ReleaseOutput();
    state_ = MediaState::Stopped;
    try {
        capture_ = std::make_unique<AudioCapture>(clip_.SampleRate, clip_.Channels);
    } catch (const EMCIDeviceError& e) {
        throw EMCINoInputDevice(e.Message);
    }
    recordStart_ = position_;
    state_ = MediaState::Recording;
}

void MediaSession::Save(const AnsiString& path) {
    RequireOpen("save");
    if (RecordingRuns()) FinishRecording();
    WriteAudioFile(path, clip_, clip_.Format);
}

MediaState MediaSession::State() {
    Sync();
    return state_;
}

int64_t MediaSession::Position() {
    Sync();
    if (RecordingRuns()) return clip_.FramesToMs(recordStart_ + capture_->Frames());
    if (state_ == MediaState::Playing) return clip_.FramesToMs(output_->Position());
    return clip_.FramesToMs(position_);
}

int64_t MediaSession::Length() {
    if (RecordingRuns()) return clip_.FramesToMs(recordStart_ + capture_->Frames());
    return clip_.FramesToMs(clip_.Frames());
}
