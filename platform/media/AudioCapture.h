#pragma once
// Recording from the default input device into memory, as signed 16-bit
// samples at the rate and channel count asked for (SDL resamples when the
// hardware cannot).
#include "SdlAudio.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class AudioCapture {
public:
    AudioCapture(int sampleRate, int channels);  // EMCIDeviceError when no device can be opened; records at once
    ~AudioCapture() = default;
    AudioCapture(const AudioCapture&) = delete;
    AudioCapture& operator=(const AudioCapture&) = delete;

    void Hold() { device_.Hold(); }
    void Resume() { device_.Start(); }
    int64_t Frames() const { return frames_.load(); }
    // Closes the device and hands over what was recorded.
    std::vector<int16_t> Finish();

private:
    static void SDLCALL Callback(void* self, Uint8* stream, int len);

    SdlAudioSubsystem sdl_;
    int channels_;
    std::mutex mutex_;  // guards samples_ against the audio thread
    std::vector<int16_t> samples_;
    std::atomic<int64_t> frames_{0};
    SdlAudioDevice device_;  // last: closed first
};
