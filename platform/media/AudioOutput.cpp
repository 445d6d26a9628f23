#include "AudioOutput.h"

#include "Volume.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kOutChannels = 2;

// About 30 ms of sound per callback.
Uint16 BufferFrames(int rate) {
    Uint16 n = 64;
    while (n < rate / 32 && n < 8192) n = Uint16(n * 2);
    return n;
}

SDL_AudioSpec OutputSpec(int rate, void* self, SDL_AudioCallback cb) {
    SDL_AudioSpec s{};
    s.freq = rate;
    s.format = AUDIO_S16SYS;
    s.channels = kOutChannels;
    s.samples = BufferFrames(rate);
    s.callback = cb;
    s.userdata = self;
    return s;
}
}  // namespace

AudioOutput::AudioOutput(int sampleRate)
    : rate_(sampleRate), device_(false, OutputSpec(sampleRate, this, &AudioOutput::Callback)) {
    device_.Start();
}

void AudioOutput::Play(const AudioClip& clip, int64_t fromFrame) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int64_t from = std::clamp<int64_t>(fromFrame, 0, clip.Frames());
    clip_ = &clip;
    position_ = from;
    feed_ = from < clip.Frames() ? Feed::Clip : Feed::Idle;
    playing_ = feed_ == Feed::Clip;
}

int64_t AudioOutput::Halt() {
    std::lock_guard<std::mutex> lock(mutex_);
    clip_ = nullptr;
    feed_ = Feed::Idle;
    playing_ = false;
    return position_;
}

void SDLCALL AudioOutput::Callback(void* self, Uint8* stream, int len) {
    static_cast<AudioOutput*>(self)->Fill(reinterpret_cast<int16_t*>(stream),
                                          len / int(sizeof(int16_t) * kOutChannels));
}

void AudioOutput::Fill(int16_t* out, int frames) {
    int done = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (feed_ == Feed::Draining) {
            // The device asked for more, so the clip's last buffer has been taken.
            feed_ = Feed::Idle;
            playing_ = false;
        } else if (feed_ == Feed::Clip && clip_) {
            const uint32_t volume = GetWaveVolume();
            const uint32_t left = volume & 0xFFFF, right = volume >> 16;
            const int ch = clip_->Channels;
            const int64_t pos = position_;
            done = int(std::min<int64_t>(frames, clip_->Frames() - pos));
            const int16_t* in = clip_->Samples.data() + pos * ch;
            for (int i = 0; i < done; ++i) {
                const int16_t l = in[i * ch];
                const int16_t r = in[i * ch + ch - 1];
                out[i * 2] = ApplyGain(l, left);
                out[i * 2 + 1] = ApplyGain(r, right);
            }
            position_ = pos + done;
            if (position_ >= clip_->Frames()) feed_ = Feed::Draining;
        }
    }
    std::memset(out + done * kOutChannels, 0, size_t(frames - done) * kOutChannels * sizeof(int16_t));
}
