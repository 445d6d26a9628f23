#pragma once
// Playback of an in-memory clip on the default output device. The device
// is opened in stereo at the clip's rate (SDL converts for the hardware),
// so the left and right wave-out gains act on their own channels; a mono
// clip is sent to both.
#include "AudioClip.h"
#include "SdlAudio.h"

#include <atomic>
#include <mutex>

class AudioOutput {
public:
    explicit AudioOutput(int sampleRate);  // EMCIDeviceError when no device can be opened
    ~AudioOutput() = default;
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    int SampleRate() const { return rate_; }
    // Starts feeding the clip from the given frame. The clip must stay
    // unchanged until Halt.
    void Play(const AudioClip& clip, int64_t fromFrame);
    // Stops feeding and lets go of the clip; returns the frame reached.
    int64_t Halt();
    // False once the last frame has left the device, or after Halt.
    bool Playing() const { return playing_.load(); }
    int64_t Position() const { return position_.load(); }

private:
    enum class Feed { Idle, Clip, Draining };
    static void SDLCALL Callback(void* self, Uint8* stream, int len);
    void Fill(int16_t* out, int frames);

    SdlAudioSubsystem sdl_;
    int rate_;
    std::mutex mutex_;  // guards clip_ and feed_ against the audio thread
    const AudioClip* clip_ = nullptr;
    Feed feed_ = Feed::Idle;
    std::atomic<int64_t> position_{0};
    std::atomic<bool> playing_{false};
    SdlAudioDevice device_;  // last: closed first, before the state it calls into
};
