#pragma once
// Recordings as the device makes them, for tests and benchmarks.
#include <cstddef>
#include <string>

namespace devicesim {

// A GSM 6.10 WAV (8000 Hz, mono, 60-byte header with a fact chunk) holding
// `milliseconds` of a tone. Throws std::runtime_error when libsndfile fails.
std::string MakeGsmWav(int milliseconds);

// The device's stored form: every byte from offset 60 on enciphered with the
// recordings' RC4 key (the header stays plain). Applying it twice restores
// the input.
std::string EncipherRecording(std::string wav);

// The device's name for a call: date, time, calling and called number,
// "_"-separated, a "*" in a number written as "a".
std::string RecordingName(int year, int month, int day, int hour, int minute, int second, const std::string& calling,
                          const std::string& called);

// Writes `count` recordings of `milliseconds` each into root/YYYY/MM/DD/,
// calls seven minutes apart from 2024-03-01 08:00:00, in the stored
// (enciphered) form unless `plain`. With a spread, the lengths vary evenly
// over milliseconds - spreadMs .. milliseconds + spreadMs, call by call.
// Returns the total bytes written.
size_t GenerateRecordingFolder(const std::string& root, int count, int milliseconds, bool plain = false,
                               int spreadMs = 0);

}  // namespace devicesim
