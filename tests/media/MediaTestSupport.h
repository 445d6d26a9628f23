#pragma once
// Helpers for the media tests: sound files made with libsndfile, raw
// sample files for SDL's disk driver, and the audio driver chosen through
// the environment. (Private folders: TTempFolder.)
#include "TempFolder.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace mediatest {

using yorde::test::TTempFolder;

// A tone of `frames` samples per channel (the right channel an octave up).
std::vector<int16_t> Tone(int64_t frames, int channels, int rate, double amplitude = 8000);

// Writes samples with the given libsndfile format.
void WriteSound(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate, int format);
struct ReadBack {
    int Format = 0, SampleRate = 0, Channels = 0;
    std::vector<int16_t> Samples;
};
ReadBack ReadSound(const std::string& path);  // fails the test when unreadable

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteRaw(const std::string& path, const std::vector<int16_t>& samples);
std::vector<int16_t> ReadRaw(const std::string& path);
uint32_t Le32(const std::vector<uint8_t>& b, size_t at);
uint16_t Le16(const std::vector<uint8_t>& b, size_t at);
void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v);

// The 60-byte GSM 6.10 header that the program writes before recording.
std::vector<uint8_t> GsmTemplateHeader();

// Checks a saved GSM 6.10 file: the template's 60-byte layout with the RIFF
// size, sample count and data size filled in to match. Returns the sample count.
uint32_t ExpectGsmHeader(const std::vector<uint8_t>& file);

// The two channels of interleaved stereo.
void SplitStereo(const std::vector<int16_t>& raw, std::vector<int16_t>& left, std::vector<int16_t>& right);

// Sets SDL's audio variables for its lifetime and restores them after. No
// SDL audio may be running at either end, so the driver is chosen afresh.
class AudioEnv {
public:
    explicit AudioEnv(std::initializer_list<std::pair<std::string, std::string>> vars);
    AudioEnv(const AudioEnv&) = delete;
    AudioEnv& operator=(const AudioEnv&) = delete;
    ~AudioEnv();

private:
    std::map<std::string, std::string> saved_;
    std::vector<std::string> unset_;
};

// Holders of SDL's audio subsystem in this process.
int SdlAudioHolders();

// Polls until the condition holds, up to a generous bound; returns the final result.
bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds bound = std::chrono::seconds(30));

}  // namespace mediatest
