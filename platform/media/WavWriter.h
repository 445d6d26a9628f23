#pragma once
// Writing a clip to a sound file through libsndfile.
#include "AudioClip.h"
#include "rtl/AnsiString.h"

// The recorder's own format: WAV with GSM 6.10 data.
constexpr int kGsmWaveFormat = 0x010000 | 0x0020;  // SF_FORMAT_WAV | SF_FORMAT_GSM610

// Writes the clip with the given libsndfile format at the clip's rate and
// channel count. The file is written beside the target and renamed over
// it, so a failure leaves the old file as it was. EMCIDeviceError on failure.
void WriteAudioFile(const AnsiString& path, const AudioClip& clip, int format);
