#pragma once
// Reading sound files (WAV with GSM 6.10, A-law, mu-law or PCM data, and
// whatever else libsndfile recognises) into memory.
#include "AudioClip.h"
#include "rtl/AnsiString.h"

// EMCIDeviceError when the file is missing, unreadable, not sound, or has
// more than two channels.
AudioClip DecodeAudioFile(const AnsiString& path);
