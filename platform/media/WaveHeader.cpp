#include "WaveHeader.h"

#include <cstring>

namespace {
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
}  // namespace

bool RepairWaveSizes(std::vector<uint8_t>& image) {
    const size_t size = image.size();
    if (size < 12 || size > 0xFFFFFFFFu) return false;
    uint8_t* d = image.data();
    if (std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVE", 4) != 0) return false;
    // Walk the chunks by the sizes they declare, never past the image.
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint32_t chunk = Get32(d + pos + 4);
        const size_t body = pos + 8;
        if (std::memcmp(d + pos, "data", 4) == 0) {
            const size_t actual = size - body;
            const bool declaredFits = chunk != 0 && chunk <= actual;
            if (declaredFits || actual == 0) return false;
            Put32(d + pos + 4, uint32_t(actual));
            Put32(d + 4, uint32_t(size - 8));
            return true;
        }
        if (chunk > size - body) return false;
        pos = body + chunk + (chunk & 1);
    }
    return false;
}

int64_t FactSampleCount(const std::vector<uint8_t>& image) {
    const size_t size = image.size();
    if (size < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 || std::memcmp(image.data() + 8, "WAVE", 4) != 0)
        return -1;
    const uint8_t* d = image.data();
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint32_t chunk = Get32(d + pos + 4);
        const size_t body = pos + 8;
        if (std::memcmp(d + pos, "data", 4) == 0) return -1;
        if (std::memcmp(d + pos, "fact", 4) == 0) return chunk >= 4 && body + 4 <= size ? int64_t(Get32(d + body)) : -1;
        if (chunk > size - body) return -1;
        pos = body + chunk + (chunk & 1);
    }
    return -1;
}

int64_t WholeBlockFrames(const std::vector<uint8_t>& image) {
    const size_t size = image.size();
    if (size < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 || std::memcmp(image.data() + 8, "WAVE", 4) != 0)
        return -1;
    const uint8_t* d = image.data();
    // Format tags whose extra format bytes begin with the samples per block.
    constexpr uint16_t kMsAdpcm = 0x0002, kImaAdpcm = 0x0011, kGsm610 = 0x0031;
    int64_t blockAlign = 0, samplesPerBlock = 0;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint32_t chunk = Get32(d + pos + 4);
        const size_t body = pos + 8;
        if (chunk > size - body) return -1;
        if (std::memcmp(d + pos, "fmt ", 4) == 0 && chunk >= 20) {
            const uint16_t tag = Get16(d + body);
            if (tag != kMsAdpcm && tag != kImaAdpcm && tag != kGsm610) return -1;
            blockAlign = Get16(d + body + 12);
            if (Get16(d + body + 16) >= 2) samplesPerBlock = Get16(d + body + 18);
        } else if (std::memcmp(d + pos, "data", 4) == 0) {
            if (blockAlign <= 0 || samplesPerBlock <= 0) return -1;
            return int64_t(chunk) / blockAlign * samplesPerBlock;
        }
        pos = body + chunk + (chunk & 1);
    }
    return -1;
}
