#pragma once
// The wave-out volume of the process, in place of waveOutGetVolume and
// waveOutSetVolume on device 0: left gain in the low word, right gain in the
// high word, each 0 (silent) to 0xFFFF (unchanged). Every player applies it
// to what it plays from its next buffer on. Starts at full volume.
#include <cstdint>

uint32_t GetWaveVolume();
void SetWaveVolume(uint32_t volume);

// Scales one sample by a 16-bit gain; 0xFFFF leaves it exactly as it was.
inline int16_t ApplyGain(int16_t sample, uint32_t gain) {
    return int16_t(int32_t(sample) * int32_t(gain & 0xFFFF) / 0xFFFF);
}
