#pragma once
// Decoded sound held in memory: interleaved signed 16-bit samples.
#include <cstdint>
#include <vector>

struct AudioClip {
    int SampleRate = 0;
    int Channels = 0;  // 1 or 2
    int Format = 0;    // libsndfile major|minor format of the file it came from
    std::vector<int16_t> Samples;

    int64_t Frames() const { return Channels > 0 ? int64_t(Samples.size()) / Channels : 0; }
    int64_t FramesToMs(int64_t frames) const { return SampleRate > 0 ? frames * 1000 / SampleRate : 0; }
    int64_t MsToFrames(int64_t ms) const { return ms * SampleRate / 1000; }
};
