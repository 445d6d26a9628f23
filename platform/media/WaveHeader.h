#pragma once
// Chunk sizes of RIFF/WAVE images. Files written by the exchange, or by a
// recorder that never finished, may declare an empty or an overlong data
// chunk; the audio is then taken to run to the end of the file.
#include <cstdint>
#include <vector>

// Rewrites the RIFF and data sizes of a WAVE image in place when the data
// chunk is declared empty or longer than the image. Returns true when it changed anything.
bool RepairWaveSizes(std::vector<uint8_t>& image);

// The sample count of the fact chunk, which compressed formats carry: the
// recording's own length, where the data's last block is filled up with
// silence. -1 when the image has no fact chunk before its data.
int64_t FactSampleCount(const std::vector<uint8_t>& image);

// The frames that the data chunk's whole blocks hold, for formats coded in
// blocks that name their samples per block (GSM 6.10, ADPCM); a block cut
// off holds no sound. -1 when the image is not such a format.
int64_t WholeBlockFrames(const std::vector<uint8_t>& image);
