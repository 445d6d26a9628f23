#include "MediaTestSupport.h"

#include "media/SdlAudio.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

namespace mediatest {

std::vector<int16_t> Tone(int64_t frames, int channels, int rate, double amplitude) {
    std::vector<int16_t> s(size_t(frames * channels));
    for (int64_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[size_t(i * channels + c)] = int16_t(amplitude * std::sin(2 * M_PI * 440.0 * (c + 1) * double(i) / rate));
    return s;
}

void WriteSound(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate, int format) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_writef_short(f, samples.data(), sf_count_t(samples.size() / size_t(channels)));
    sf_close(f);
}

ReadBack ReadSound(const std::string& path) {
    ReadBack r;
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(f, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!f) return r;
    r.Format = info.format;
    r.SampleRate = info.samplerate;
    r.Channels = info.channels;
    r.Samples.resize(size_t(info.frames * info.channels));
    r.Samples.resize(size_t(sf_readf_short(f, r.Samples.data(), info.frames) * info.channels));
    sf_close(f);
    return r;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteRaw(const std::string& path, const std::vector<int16_t>& samples) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
}

std::vector<int16_t> ReadRaw(const std::string& path) {
    std::vector<uint8_t> b = ReadBytes(path);
    std::vector<int16_t> s(b.size() / 2);
    std::memcpy(s.data(), b.data(), s.size() * 2);
    return s;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b.at(at) | b.at(at + 1) << 8); }
void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + size_t(i)) = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> GsmTemplateHeader() {
    std::vector<uint8_t> h(60, 0);
    auto tag = [&](size_t at, const char* s) { std::memcpy(h.data() + at, s, 4); };
    auto put16 = [&](size_t at, uint16_t v) {
        h[at] = uint8_t(v);
        h[at + 1] = uint8_t(v >> 8);
    };
    tag(0, "RIFF");
    PutLe32(h, 4, 52);
    tag(8, "WAVE");
    tag(12, "fmt ");
    PutLe32(h, 16, 20);
    put16(20, 0x31);
    put16(22, 1);
    PutLe32(h, 24, 8000);
    PutLe32(h, 28, 1625);
    put16(32, 65);
    put16(34, 0);
    put16(36, 2);
    put16(38, 320);
    tag(40, "fact");
    PutLe32(h, 44, 4);
    PutLe32(h, 48, 0);
    tag(52, "data");
    PutLe32(h, 56, 0);
    return h;
}

uint32_t ExpectGsmHeader(const std::vector<uint8_t>& file) {
    EXPECT_GE(file.size(), 60u);
    if (file.size() < 60) return 0;
    const uint32_t frames = Le32(file, 48);
    const uint32_t blocks = (frames + 319) / 320;
    auto expected = GsmTemplateHeader();
    PutLe32(expected, 4, uint32_t(file.size() - 8));
    PutLe32(expected, 48, frames);
    PutLe32(expected, 56, blocks * 65);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 60), expected);
    EXPECT_EQ(file.size(), 60 + blocks * 65 + (blocks & 1));  // odd data gets a pad byte
    return frames;
}

void SplitStereo(const std::vector<int16_t>& raw, std::vector<int16_t>& left, std::vector<int16_t>& right) {
    left.clear();
    right.clear();
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        left.push_back(raw[i]);
        right.push_back(raw[i + 1]);
    }
}

AudioEnv::AudioEnv(std::initializer_list<std::pair<std::string, std::string>> vars) {
    EXPECT_EQ(SdlAudioSubsystem::Holders(), 0) << "SDL audio still running from an earlier test";
    for (auto& [name, value] : vars) {
        if (const char* old = std::getenv(name.c_str()))
            saved_[name] = old;
        else
            unset_.push_back(name);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

AudioEnv::~AudioEnv() {
    EXPECT_EQ(SdlAudioSubsystem::Holders(), 0) << "SDL audio left running";
    for (auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    for (auto& name : unset_) unsetenv(name.c_str());
}

int SdlAudioHolders() { return SdlAudioSubsystem::Holders(); }

bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds bound) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace mediatest
