#pragma once
// RAII over SDL's audio subsystem and its devices. The subsystem is started
// by the first holder and shut down with the last one, so a process that
// never plays a sound never touches SDL at all.
#include "rtl/AnsiString.h"

#include <SDL.h>

class SdlAudioSubsystem {
public:
    SdlAudioSubsystem();  // EMCIDeviceError when no audio driver can be started
    ~SdlAudioSubsystem();
    SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
    SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;

    // Holders alive in this process; the driver is chosen again once it drops to 0.
    static int Holders();
};

// One open playback or capture device on the default device of its kind.
// Closing waits until SDL's audio thread has left the callback.
class SdlAudioDevice {
public:
    SdlAudioDevice(bool capture, const SDL_AudioSpec& wanted);  // EMCIDeviceError on failure
    ~SdlAudioDevice() { Close(); }
    SdlAudioDevice(const SdlAudioDevice&) = delete;
    SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

    void Start() { SDL_PauseAudioDevice(id_, 0); }
    void Hold() { SDL_PauseAudioDevice(id_, 1); }
    void Close();
    const SDL_AudioSpec& Spec() const { return spec_; }
    // Devices opened in this process so far.
    static int OpenedCount();

private:
    SDL_AudioDeviceID id_ = 0;
    SDL_AudioSpec spec_{};
};
