#include "WaveHeader.h"

#include <cstring>

namespace {
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
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
