// Recording from the default input (SDL's disk driver reads it from a
// file) into the 60-byte GSM 6.10 file.
#include "MediaTestSupport.h"

#include "media/MediaSession.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <thread>

using namespace mediatest;

namespace {

double Rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

class RecordingTest : public ::testing::Test {
protected:
    TTempFolder dir{"yorde-media"};
    std::string Template() {
        const std::string path = dir.Path("record.wav");
        WriteBytes(path, GsmTemplateHeader());
        return path;
    }
};

TEST_F(RecordingTest, RecordsFromTheInputAndSavesGsmWave) {
    const std::string input = dir.Path("in.raw");
    const std::vector<int16_t> tone = Tone(8000, 1, 8000);  // one second, then the driver gives silence
    WriteRaw(input, tone);
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", input}, {"SDL_DISKAUDIODELAY", "2"}});

    const std::string path = Template();
    MediaSession s;
    s.Open(path);
    EXPECT_EQ(s.Length(), 0);
    s.StartRecording();
    EXPECT_EQ(s.State(), MediaState::Recording);
    ASSERT_TRUE(WaitFor([&] { return s.Length() > 0; }));
    ASSERT_TRUE(WaitFor([&] { return s.Length() >= 1500; }));  // grows while recording
    EXPECT_EQ(s.Position(), s.Length());
    s.Stop();
    EXPECT_EQ(s.State(), MediaState::Stopped);
    const int64_t length = s.Length();
    EXPECT_GE(length, 1500);
    s.Save(path);

    ReadBack r = ReadSound(path);
    EXPECT_EQ(r.Format, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    EXPECT_EQ(r.SampleRate, 8000);
    EXPECT_EQ(r.Channels, 1);
    ASSERT_GE(r.Samples.size(), size_t(length * 8));
    EXPECT_EQ(int64_t(ExpectGsmHeader(ReadBytes(path))) * 1000 / 8000, length);
    // The tone came through, and the silence after it stayed silent.
    EXPECT_GT(Rms(r.Samples, 400, 7600), 0.5 * Rms(tone, 400, 7600));
    // (the codec rings on for a while after the tone stops)
    EXPECT_LT(Rms(r.Samples, 10000, 12000), 100);

    // The saved file plays back as the length that was recorded.
    s.Close();
    s.Open(path);
    EXPECT_GE(s.Length(), length);
}

TEST_F(RecordingTest, PauseHoldsTheRecordingAndPlayEndsIt) {
    const std::string input = dir.Path("in.raw");
    WriteRaw(input, Tone(800, 1, 8000));
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", input}, {"SDL_DISKAUDIODELAY", "2"}});
    MediaSession s;
    s.Open(Template());
    s.StartRecording();
    ASSERT_TRUE(WaitFor([&] { return s.Length() > 100; }));
    s.Pause();
    EXPECT_EQ(s.State(), MediaState::Paused);
    const int64_t held = s.Length();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // At most the buffer that was under way when the device was held.
    EXPECT_LE(s.Length(), held + 32);
    s.Resume();
    EXPECT_EQ(s.State(), MediaState::Recording);
    ASSERT_TRUE(WaitFor([&] { return s.Length() > held + 100; }));
    s.Seek(0);  // ends the recording and keeps it
    EXPECT_EQ(s.State(), MediaState::Stopped);
    EXPECT_GT(s.Length(), held + 100);
}

// Recording from a place in a recording replaces what follows it and keeps
// what comes before; saving while recording saves the recording.
TEST_F(RecordingTest, RecordingFromAPlaceKeepsWhatCameBeforeIt) {
    const std::string input = dir.Path("in.raw");
    WriteRaw(input, std::vector<int16_t>(8000, 0));  // the input is silent
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", input}, {"SDL_DISKAUDIODELAY", "2"}});
    const std::string path = dir.Path("take.wav");
    const std::vector<int16_t> tone = Tone(8000, 1, 8000);
    WriteSound(path, tone, 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    MediaSession s;
    s.Open(path);
    s.Seek(500);
    s.StartRecording();
    ASSERT_TRUE(WaitFor([&] { return s.Length() > 600; }));
    s.Save(path);
    EXPECT_EQ(s.State(), MediaState::Stopped);
    const int64_t length = s.Length();
    EXPECT_GT(length, 600);
    EXPECT_LT(length, 1000);  // the old second half is replaced, not followed

    ReadBack r = ReadSound(path);
    ASSERT_GE(r.Samples.size(), size_t(length * 8));
    EXPECT_LT(r.Samples.size(), tone.size());
    EXPECT_GT(Rms(r.Samples, 400, 3600), 0.5 * Rms(tone, 400, 3600));  // the first half is still the tone
}

TEST_F(RecordingTest, AnInputThatCannotOpenIsAnError) {
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILEIN", dir.Path("missing.raw")}});
    MediaSession s;
    s.Open(Template());
    try {
        s.StartRecording();
        FAIL() << "recording from a device that cannot open succeeded";
    } catch (const EMCINoInputDevice& e) {
        EXPECT_NE(std::string(e.what()).find("recording device"), std::string::npos) << e.what();
    }
    EXPECT_EQ(s.State(), MediaState::Stopped);
    EXPECT_EQ(s.Length(), 0);
}

// Without any sound driver there is no input either.
TEST_F(RecordingTest, NoSoundDriverIsNoInputDevice) {
    AudioEnv env({{"SDL_AUDIODRIVER", "no-such-driver"}});
    MediaSession s;
    s.Open(Template());
    EXPECT_THROW(s.StartRecording(), EMCINoInputDevice);
    EXPECT_EQ(s.State(), MediaState::Stopped);
}

}  // namespace
