// Reading sound files into memory and writing the recorder's GSM 6.10 files.
#include "MediaTestSupport.h"

#include "media/AudioDecoder.h"
#include "media/WavWriter.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>

using namespace mediatest;

namespace {

class AudioFileTest : public ::testing::Test {
protected:
    TTempFolder dir{"yorde-media"};
    std::string MakeGsm(const std::string& name, int64_t frames = 8000) {
        std::string path = dir.Path(name);
        WriteSound(path, Tone(frames, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
        return path;
    }
};

TEST_F(AudioFileTest, DecodesEachWaveEncodingAsLibsndfileDoes) {
    struct Case {
        int format;
        int channels;
        int rate;
    } cases[] = {
        {SF_FORMAT_WAV | SF_FORMAT_GSM610, 1, 8000},
        {SF_FORMAT_WAV | SF_FORMAT_ALAW, 1, 8000},
        {SF_FORMAT_WAV | SF_FORMAT_ULAW, 1, 8000},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 22050},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const std::string path = dir.Path("case.wav");
        WriteSound(path, Tone(4000, c.channels, c.rate), c.channels, c.rate, c.format);
        AudioClip clip = DecodeAudioFile(path);
        ReadBack expected = ReadSound(path);
        EXPECT_EQ(clip.SampleRate, c.rate);
        EXPECT_EQ(clip.Channels, c.channels);
        EXPECT_EQ(clip.Format, c.format);
        // Exactly the samples written: GSM's last block is filled up with
        // silence that libsndfile hands back, and the fact chunk cuts it off.
        ASSERT_GE(expected.Samples.size(), size_t(4000 * c.channels));
        expected.Samples.resize(size_t(4000 * c.channels));
        EXPECT_EQ(clip.Samples, expected.Samples);
        EXPECT_EQ(clip.Frames(), 4000);
    }
    // PCM comes back exactly.
    const auto tone = Tone(1000, 2, 8000);
    WriteSound(dir.Path("pcm.wav"), tone, 2, 8000, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(DecodeAudioFile(dir.Path("pcm.wav")).Samples, tone);
}

// Files from the exchange may carry RIFF and data sizes that do not match
// what follows; the audio that is there must still be played.
TEST_F(AudioFileTest, AcceptsHeadersWhoseSizesDoNotMatchTheFile) {
    const auto good = ReadBytes(MakeGsm("good.wav"));
    ASSERT_EQ(Le32(good, 52), 0x61746164u);  // "data" at 52
    const int64_t frames = DecodeAudioFile(dir.Path("good.wav")).Frames();
    ASSERT_GE(frames, 8000);

    struct Variant {
        const char* name;
        uint32_t riff;
        uint32_t data;
    } variants[] = {
        {"template sizes", 52, 0},
        {"data too long", 1000052, 1000000},
        {"riff too short", 52, Le32(good, 56)},
        {"riff zero, data zero", 0, 0},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        auto bytes = good;
        PutLe32(bytes, 4, v.riff);
        PutLe32(bytes, 56, v.data);
        WriteBytes(dir.Path("odd.wav"), bytes);
        EXPECT_EQ(DecodeAudioFile(dir.Path("odd.wav")).Frames(), frames);
    }

    // A recorder that never finished leaves the fact count at 0: the blocks
    // that are there are the sound, not nothing.
    const auto odd = ReadBytes(MakeGsm("odd-length.wav", 8100));
    ASSERT_EQ(Le32(odd, 40), 0x74636166u);  // "fact" at 40
    ASSERT_EQ(DecodeAudioFile(dir.Path("odd-length.wav")).Frames(), 8100);
    auto unfinished = odd;
    PutLe32(unfinished, 48, 0);
    WriteBytes(dir.Path("unfinished.wav"), unfinished);
    EXPECT_EQ(DecodeAudioFile(dir.Path("unfinished.wav")).Frames(), 26 * 320);

    // The template alone, before anything is recorded, is an empty sound.
    WriteBytes(dir.Path("template.wav"), GsmTemplateHeader());
    AudioClip empty = DecodeAudioFile(dir.Path("template.wav"));
    EXPECT_EQ(empty.Frames(), 0);
    EXPECT_EQ(empty.SampleRate, 8000);
    EXPECT_EQ(empty.Channels, 1);
    EXPECT_EQ(empty.Format, kGsmWaveFormat);
}

// A file cut short keeps the sound of its whole blocks; a block cut off
// holds no sound, so a file cut inside its first block has none at all.
TEST_F(AudioFileTest, OnlyWholeBlocksOfACutFileAreSound) {
    const auto good = ReadBytes(MakeGsm("good.wav", 8000));
    const size_t data = 60;  // the 60-byte header, then blocks of 65 bytes of 320 samples
    for (const auto& [bytes, frames] : std::vector<std::pair<size_t, int64_t>>{
             {data + 40, 0}, {data + 64, 0}, {data + 65, 320}, {data + 3 * 65 + 30, 3 * 320}}) {
        SCOPED_TRACE(bytes);
        WriteBytes(dir.Path("cut.wav"), std::vector<uint8_t>(good.begin(), good.begin() + long(bytes)));
        EXPECT_EQ(DecodeAudioFile(dir.Path("cut.wav")).Frames(), frames);
    }
}

TEST_F(AudioFileTest, FilesThatAreNotSoundRaiseALibraryException) {
    EXPECT_THROW(DecodeAudioFile(dir.Path("missing.wav")), EMCIDeviceError);
    WriteBytes(dir.Path("text.wav"), {'h', 'e', 'l', 'l', 'o', '\n'});
    EXPECT_THROW(DecodeAudioFile(dir.Path("text.wav")), Exception);
    EXPECT_THROW(DecodeAudioFile(dir.Path("")), Exception);
    WriteSound(dir.Path("four.wav"), Tone(100, 4, 8000), 4, 8000, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_THROW(DecodeAudioFile(dir.Path("four.wav")), EMCIDeviceError);

    // Every cut of a real file either decodes or raises; none crashes.
    const auto good = ReadBytes(MakeGsm("good.wav", 640));
    for (size_t n = 0; n < good.size(); n += 7) {
        WriteBytes(dir.Path("cut.wav"), std::vector<uint8_t>(good.begin(), good.begin() + long(n)));
        try {
            DecodeAudioFile(dir.Path("cut.wav"));
        } catch (const EMCIDeviceError&) {
        }
    }
}

TEST_F(AudioFileTest, SavedRecordingHasTheSixtyByteGsmHeader) {
    AudioClip clip;
    clip.SampleRate = 8000;
    clip.Channels = 1;
    clip.Format = kGsmWaveFormat;
    clip.Samples = Tone(8000, 1, 8000);
    const std::string path = dir.Path("saved.wav");
    WriteBytes(path, GsmTemplateHeader());
    WriteAudioFile(path, clip, kGsmWaveFormat);

    EXPECT_EQ(ExpectGsmHeader(ReadBytes(path)), 8000u);

    ReadBack r = ReadSound(path);
    EXPECT_EQ(r.Format, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    EXPECT_EQ(r.SampleRate, 8000);
    EXPECT_EQ(r.Channels, 1);
    EXPECT_GE(r.Samples.size(), 8000u);
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST_F(AudioFileTest, FailedSaveKeepsTheOldFile) {
    AudioClip clip;
    clip.SampleRate = 8000;
    clip.Channels = 1;
    clip.Samples = Tone(100, 1, 8000);
    EXPECT_THROW(WriteAudioFile(dir.Path("no/such/dir/x.wav"), clip, kGsmWaveFormat), EMCIDeviceError);
    // GSM 6.10 is mono only: refused before the file is touched.
    const std::string path = MakeGsm("keep.wav");
    const auto before = ReadBytes(path);
    clip.Channels = 2;
    clip.Samples = Tone(100, 2, 8000);
    EXPECT_THROW(WriteAudioFile(path, clip, kGsmWaveFormat), EMCIDeviceError);
    EXPECT_EQ(ReadBytes(path), before);
}

}  // namespace
