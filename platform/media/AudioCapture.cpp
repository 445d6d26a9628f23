#include "AudioCapture.h"

namespace {
SDL_AudioSpec CaptureSpec(int rate, int channels, void* self, SDL_AudioCallback cb) {
    SDL_AudioSpec s{};
    s.freq = rate;
    s.format = AUDIO_S16SYS;
    s.channels = Uint8(channels);
    s.samples = 256;
    s.callback = cb;
    s.userdata = self;
    return s;
}
}  // namespace

AudioCapture::AudioCapture(int sampleRate, int channels)
    : channels_(channels), device_(true, CaptureSpec(sampleRate, channels, this, &AudioCapture::Callback)) {
    device_.Start();
}

std::vector<int16_t> AudioCapture::Finish() {
    device_.Close();
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(samples_);
}

void SDLCALL AudioCapture::Callback(void* self, Uint8* stream, int len) {
    auto* c = static_cast<AudioCapture*>(self);
    const auto* in = reinterpret_cast<const int16_t*>(stream);
    const size_t count = size_t(len) / sizeof(int16_t);
    std::lock_guard<std::mutex> lock(c->mutex_);
    c->samples_.insert(c->samples_.end(), in, in + count);
    c->frames_ = int64_t(c->samples_.size()) / c->channels_;
}
