#include "Volume.h"

#include <atomic>

namespace {
std::atomic<uint32_t> gWaveVolume{0xFFFFFFFFu};
}

uint32_t GetWaveVolume() { return gWaveVolume.load(std::memory_order_relaxed); }
void SetWaveVolume(uint32_t volume) { gWaveVolume.store(volume, std::memory_order_relaxed); }
