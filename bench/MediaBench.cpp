// Sound files: decoding a long GSM 6.10 recording and saving one as GSM.
#include "TempFolder.h"

#include "media/AudioDecoder.h"
#include "media/WavWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <numbers>

namespace {

constexpr int kRate = 8000;

// A call-like signal: a 440 Hz tone with a slow swell, mono at 8 kHz.
AudioClip Tone(int seconds) {
    AudioClip clip;
    clip.SampleRate = kRate;
    clip.Channels = 1;
    clip.Samples.resize(size_t(seconds) * kRate);
    for (size_t i = 0; i < clip.Samples.size(); ++i) {
        const double t = double(i) / kRate;
        clip.Samples[i] = int16_t(6000 * (1.2 + std::sin(t)) * std::sin(2 * std::numbers::pi * 440 * t));
    }
    return clip;
}

void BM_DecodeGsm10Min(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    const AnsiString path = dir.Path("long.wav");
    WriteAudioFile(path, Tone(600), kGsmWaveFormat);
    for (auto _ : state) {
        AudioClip clip = DecodeAudioFile(path);
        benchmark::DoNotOptimize(clip.Samples.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    state.counters["audio_s/s"] = benchmark::Counter(600.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeGsm10Min)->Unit(benchmark::kMillisecond);

void BM_SaveGsm1Min(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    const AnsiString path = dir.Path("recording.wav");
    const AudioClip clip = Tone(60);
    for (auto _ : state) WriteAudioFile(path, clip, kGsmWaveFormat);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(path)));
    state.counters["audio_s/s"] = benchmark::Counter(60.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SaveGsm1Min)->Unit(benchmark::kMillisecond);

}  // namespace
