// Playing through SDL: the state the player reports, and what reaches the
// device (SDL's disk driver writes it to a file).
#include "MediaTestSupport.h"

#include "media/MediaSession.h"
#include "media/SdlAudio.h"
#include "media/Volume.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/stat.h>
#include <algorithm>
#include <filesystem>

using namespace mediatest;

namespace {

class VolumeGuard {
public:
    VolumeGuard() : saved_(GetWaveVolume()) {}
    ~VolumeGuard() { SetWaveVolume(saved_); }

private:
    uint32_t saved_;
};

class PlaybackTest : public ::testing::Test {
protected:
    TTempFolder dir{"yorde-media"};
    std::string MakeGsm(int64_t frames) {
        std::string path = dir.Path("play.wav");
        WriteSound(path, Tone(frames, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
        return path;
    }
    // The next `bytes` the device takes from now on. SDL's disk driver appends
    // each buffer it takes to its file through a C stream, so up to one stream
    // buffer and one device buffer taken earlier may still arrive: skipped.
    static std::vector<uint8_t> TakenFromNowOn(const std::string& deviceFile, std::size_t bytes) {
        struct stat st {};
        EXPECT_EQ(::stat(deviceFile.c_str(), &st), 0);
        const std::size_t from = std::size_t(st.st_size) + std::size_t(st.st_blksize) + 8192;
        EXPECT_TRUE(WaitFor([&] { return std::filesystem::file_size(deviceFile) >= from + bytes; }));
        const std::vector<uint8_t> all = ReadBytes(deviceFile);
        return std::vector<uint8_t>(all.begin() + std::ptrdiff_t(from), all.begin() + std::ptrdiff_t(from + bytes));
    }
};

// The disk driver plays in real time, so a long file stays in play while
// the test pauses, seeks and stops it.
TEST_F(PlaybackTest, ModePositionAndLengthFollowPlayPauseSeekAndStop) {
    const std::string device = dir.Path("device.raw");
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", device}});
    MediaSession s;
    EXPECT_EQ(s.State(), MediaState::NotReady);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.Length(), 0);

    s.Open(MakeGsm(8000 * 20));
    EXPECT_EQ(s.State(), MediaState::Stopped);
    EXPECT_EQ(s.Length(), 20 * 1000);
    EXPECT_EQ(s.Position(), 0);

    s.Play();
    EXPECT_EQ(s.State(), MediaState::Playing);
    ASSERT_TRUE(WaitFor([&] { return s.Position() > 0; }));

    s.Pause();
    EXPECT_EQ(s.State(), MediaState::Paused);
    const int64_t paused = s.Position();
    EXPECT_GT(paused, 0);  // where it got to, not the start
    // The device goes on asking and is given silence; the position stays.
    const std::vector<uint8_t> whilePaused = TakenFromNowOn(device, 4096);
    EXPECT_TRUE(std::all_of(whilePaused.begin(), whilePaused.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(s.Position(), paused);

    s.Play();  // resumes where it paused
    EXPECT_EQ(s.State(), MediaState::Playing);
    ASSERT_TRUE(WaitFor([&] { return s.Position() > paused; }));

    s.Seek(15000);  // seeking leaves the player stopped at the new place
    EXPECT_EQ(s.State(), MediaState::Stopped);
    EXPECT_EQ(s.Position(), 15000);
    s.Play();
    ASSERT_TRUE(WaitFor([&] { return s.Position() > 15000; }));

    s.Stop();  // keeps the position
    EXPECT_EQ(s.State(), MediaState::Stopped);
    const int64_t stopped = s.Position();
    EXPECT_GT(stopped, 15000);
    // The device stays open for the next Play and is fed silence: the position stays.
    EXPECT_EQ(SdlAudioHolders(), 1);
    const std::vector<uint8_t> whileStopped = TakenFromNowOn(device, 4096);
    EXPECT_TRUE(std::all_of(whileStopped.begin(), whileStopped.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(s.Position(), stopped);

    s.Seek(999999);
    EXPECT_EQ(s.Position(), s.Length());
    s.Play();  // nothing left to play: over at once
    EXPECT_EQ(s.State(), MediaState::Stopped);
    s.Seek(-5);
    EXPECT_EQ(s.Position(), 0);

    s.Close();
    EXPECT_EQ(s.State(), MediaState::NotReady);
    EXPECT_EQ(SdlAudioHolders(), 0);  // closing lets the device go
    s.Close();                        // harmless
}

TEST_F(PlaybackTest, EndOfMediaStopsAtTheEnd) {
    AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    MediaSession s;
    s.Open(MakeGsm(3200));
    s.Seek(200);
    s.Play();
    ASSERT_TRUE(WaitFor([&] { return s.State() == MediaState::Stopped; }));
    EXPECT_EQ(s.Position(), s.Length());
    s.Play();  // at the end there is nothing left to play
    EXPECT_TRUE(WaitFor([&] { return s.State() == MediaState::Stopped; }));
    s.Seek(0);  // the way back to the start
    s.Play();
    EXPECT_EQ(s.State(), MediaState::Playing);
}

TEST_F(PlaybackTest, OperationsWithNothingOpenRaiseOrDoNothing) {
    AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    MediaSession s;
    EXPECT_THROW(s.Play(), EMCIDeviceError);
    EXPECT_THROW(s.StartRecording(), EMCIDeviceError);
    EXPECT_THROW(s.Save(dir.Path("x.wav")), EMCIDeviceError);
    EXPECT_THROW(s.Seek(10), EMCIDeviceError);
    s.Pause();
    s.Resume();
    s.Close();
    EXPECT_EQ(s.State(), MediaState::NotReady);

    // A failed open leaves nothing open, also after a good one.
    s.Open(MakeGsm(800));
    EXPECT_THROW(s.Open(dir.Path("missing.wav")), EMCIDeviceError);
    EXPECT_EQ(s.State(), MediaState::NotReady);
    EXPECT_THROW(s.Play(), EMCIDeviceError);
}

// Everything played reaches the device once, in order, with silence only
// before and after it; the wave-out volume scales each channel on the way.
TEST_F(PlaybackTest, PlaysTheWholeFileToTheDeviceAtTheWaveVolume) {
    VolumeGuard volume;
    EXPECT_EQ(GetWaveVolume(), 0xFFFFFFFFu);  // full from the start
    SetWaveVolume(0x4000FFFFu);               // left full, right a quarter
    const std::string out = dir.Path("out.raw");
    AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", out}, {"SDL_DISKAUDIODELAY", "2"}});
    const std::string path = MakeGsm(8000);
    std::vector<int16_t> decoded = ReadSound(path).Samples;
    ASSERT_EQ(decoded.size(), 8320u);  // whole GSM blocks
    decoded.resize(8000);              // the recording's own samples
    {
        MediaSession s;
        s.Open(path);
        s.Play();
        ASSERT_TRUE(WaitFor([&] { return s.State() == MediaState::Stopped; }));
        EXPECT_EQ(s.Position(), 1000);
        EXPECT_EQ(s.Length(), 1000);
    }
    std::vector<int16_t> left, right;
    SplitStereo(ReadRaw(out), left, right);
    auto at = std::search(left.begin(), left.end(), decoded.begin(), decoded.end());
    ASSERT_NE(at, left.end()) << "the decoded sound is not in the device output";
    const auto end = at + long(decoded.size());
    auto silent = [](int16_t v) { return v == 0; };
    EXPECT_TRUE(std::all_of(left.begin(), at, silent));
    EXPECT_TRUE(std::all_of(end, left.end(), silent));

    const size_t from = size_t(at - left.begin());
    std::vector<int16_t> quarter;
    for (int16_t v : decoded) quarter.push_back(int16_t(v * 0x4000 / 0xFFFF));
    EXPECT_TRUE(std::equal(quarter.begin(), quarter.end(), right.begin() + long(from)));
    EXPECT_TRUE(std::all_of(right.begin(), right.begin() + long(from), silent));
}

// On real hardware every new opening of the device is a gap and a click.
TEST_F(PlaybackTest, TheDeviceStaysOpenAcrossSeekStopAndPlayUntilClose) {
    AudioEnv env({{"SDL_AUDIODRIVER", "dummy"}});
    MediaSession s;
    s.Open(MakeGsm(8000 * 20));
    const int before = SdlAudioDevice::OpenedCount();
    s.Play();
    s.Seek(5000);
    s.Play();
    s.Pause();
    s.Play();
    s.Stop();
    s.Seek(19900);
    s.Play();
    ASSERT_TRUE(WaitFor([&] { return s.State() == MediaState::Stopped; }));
    s.Seek(0);
    s.Play();
    EXPECT_EQ(s.State(), MediaState::Playing);
    EXPECT_EQ(SdlAudioDevice::OpenedCount(), before + 1);
    EXPECT_EQ(SdlAudioHolders(), 1);
    s.Close();
    EXPECT_EQ(SdlAudioHolders(), 0);
    // A new recording opens it again at its first Play.
    s.Open(MakeGsm(8000));
    s.Play();
    EXPECT_EQ(SdlAudioDevice::OpenedCount(), before + 2);
}

// The length a user sees is the recording's own: 3.000 s, not the 3.040 s
// of its whole GSM blocks.
TEST_F(PlaybackTest, LengthCountsTheRecordingsOwnSamples) {
    MediaSession s;
    for (int64_t frames : {int64_t(24000), int64_t(8000 * 7 + 1), int64_t(320)}) {
        s.Open(MakeGsm(frames));
        EXPECT_EQ(s.Length(), frames * 1000 / 8000) << frames;
    }
}

TEST_F(PlaybackTest, NoUsableDeviceIsAnErrorNotACrash) {
    const std::string path = MakeGsm(800);
    {
        AudioEnv env({{"SDL_AUDIODRIVER", "no-such-driver"}});
        MediaSession s;
        s.Open(path);  // opening the file needs no device
        EXPECT_THROW(s.Play(), EMCIDeviceError);
        EXPECT_EQ(s.State(), MediaState::Stopped);
        EXPECT_THROW(s.StartRecording(), EMCIDeviceError);
        EXPECT_EQ(s.State(), MediaState::Stopped);
    }
    {
        AudioEnv env({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", dir.Path("no/such/dir/out.raw")}});
        MediaSession s;
        s.Open(path);
        try {
            s.Play();
            FAIL() << "playing to a device that cannot open succeeded";
        } catch (const EMCIDeviceError& e) {
            EXPECT_NE(std::string(e.what()).find("playback device"), std::string::npos) << e.what();
        }
        EXPECT_EQ(s.State(), MediaState::Stopped);
    }
}

}  // namespace
