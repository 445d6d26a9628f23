#include "SdlAudio.h"

#include "rtl/Exceptions.h"

#include <atomic>
#include <mutex>

namespace {
std::mutex gMutex;
int gHolders = 0;
std::atomic<int> gOpened{0};

AnsiString SdlError() {
    AnsiString e = FromCStr(SDL_GetError());
    return e.empty() ? AnsiString("unknown error") : e;
}
}  // namespace

SdlAudioSubsystem::SdlAudioSubsystem() {
    std::lock_guard<std::mutex> lock(gMutex);
    if (gHolders == 0) {
        // The host program owns signal handling, not SDL.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            throw EMCIDeviceError("No audio device is available: " + SdlError());
    }
    ++gHolders;
}

SdlAudioSubsystem::~SdlAudioSubsystem() {
    std::lock_guard<std::mutex> lock(gMutex);
    if (--gHolders == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int SdlAudioSubsystem::Holders() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gHolders;
}

SdlAudioDevice::SdlAudioDevice(bool capture, const SDL_AudioSpec& wanted) {
    // No allowed changes: SDL converts between our format and the device's.
    id_ = SDL_OpenAudioDevice(nullptr, capture ? 1 : 0, &wanted, &spec_, 0);
    if (id_ == 0)
        throw EMCIDeviceError(AnsiString(capture ? "The recording device" : "The playback device") +
                              " cannot be opened: " + SdlError());
    ++gOpened;
}

int SdlAudioDevice::OpenedCount() { return gOpened.load(); }

void SdlAudioDevice::Close() {
    if (id_ != 0) {
        SDL_CloseAudioDevice(id_);
        id_ = 0;
    }
}
