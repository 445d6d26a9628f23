// TMediaPlayer as the frames use it: a component with MCI's semantics.
#include "MediaTestSupport.h"

#include "media/MediaPlayer.h"

#include <gtest/gtest.h>
#include <sndfile.h>

using namespace mediatest;

namespace {

class MediaPlayerTest : public ::testing::Test {
protected:
    TTempFolder dir{"yorde-media"};
    AudioEnv env{{"SDL_AUDIODRIVER", "dummy"}};
    std::string MakeGsm(int64_t frames) {
        std::string path = dir.Path("tmp.wav");
        WriteSound(path, Tone(frames, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
        return path;
    }
};

TEST_F(MediaPlayerTest, PublishesItsLayoutProperties) {
    TMediaPlayer p(nullptr);
    EXPECT_EQ(p.ClassName(), "TMediaPlayer");
    EXPECT_TRUE(p.InheritsFrom(TComponent::StaticClass()));
    EXPECT_EQ(GetEnumProp(&p, "TimeFormat"), "tfMilliseconds");
    EXPECT_EQ(GetEnumProp(&p, "DeviceType"), "dtAutoSelect");
    EXPECT_EQ(GetOrdProp(&p, "AutoOpen"), 0);
    SetOrdProp(&p, "Visible", 0);
    EXPECT_FALSE(p.Visible());
    SetStrProp(&p, "FileName", "x.wav");
    EXPECT_EQ(p.FileName(), "x.wav");
    SetEnumProp(&p, "DeviceType", "dtWaveAudio");
    EXPECT_EQ(p.DeviceType(), dtWaveAudio);
}

TEST_F(MediaPlayerTest, ClosedPlayerIsNotReadyAndRaisesOnlyWhereMciDoes) {
    TMediaPlayer p(nullptr);
    p.SetTimeFormat(tfMilliseconds);  // set once while nothing is open
    EXPECT_THROW(p.SetTimeFormat(tfHMS), Exception);
    EXPECT_EQ(p.TimeFormat(), tfMilliseconds);
    EXPECT_EQ(p.Mode(), mpNotReady);
    EXPECT_EQ(p.Position(), 0);
    EXPECT_EQ(p.Length(), 0);
    p.Close();
    p.Eject();
    EXPECT_THROW(p.Play(), Exception);
    EXPECT_THROW(p.Open(), Exception);  // no file name
    p.SetFileName(dir.Path("missing.wav"));
    EXPECT_THROW(p.Open(), Exception);
    WriteBytes(dir.Path("text.wav"), {'t', 'e', 'x', 't'});
    p.SetFileName(dir.Path("text.wav"));
    EXPECT_THROW(p.Open(), Exception);
    EXPECT_EQ(p.Mode(), mpNotReady);
}

// Open, play, then the stop sequence of the player frame: Stop, Eject, Position := 0.
TEST_F(MediaPlayerTest, StopEjectRewindLeavesTheFileOpenAtTheStart) {
    TMediaPlayer p(nullptr);
    p.SetFileName(MakeGsm(8000 * 10));
    p.Open();
    EXPECT_EQ(p.Mode(), mpStopped);
    EXPECT_EQ(p.Length(), 10000);
    p.Play();
    ASSERT_TRUE(WaitFor([&] { return p.Position() > 0; }));
    p.Stop();
    EXPECT_EQ(p.Mode(), mpStopped);
    const int at = p.Position();
    EXPECT_GT(at, 0);
    p.Eject();
    EXPECT_EQ(p.Position(), at);
    p.SetPosition(0);
    EXPECT_EQ(p.Mode(), mpStopped);
    EXPECT_EQ(p.Position(), 0);

    const AnsiString name = p.FileName();
    p.Close();
    EXPECT_EQ(p.FileName(), name);  // kept for the next Open
    EXPECT_EQ(p.Mode(), mpNotReady);
    p.Open();
    EXPECT_EQ(p.Mode(), mpStopped);
}

TEST_F(MediaPlayerTest, OwnerFreesAPlayingPlayer) {
    auto* owner = new TComponent(nullptr);
    auto* p = new TMediaPlayer(owner);
    p->SetFileName(MakeGsm(8000 * 10));
    p->Open();
    p->Play();
    ASSERT_TRUE(WaitFor([&] { return p->Position() > 0; }));
    TObject::Free(owner);
    EXPECT_EQ(SdlAudioHolders(), 0);
}

TEST_F(MediaPlayerTest, AutoOpenOpensWhenLoaded) {
    TMediaPlayer p(nullptr);
    p.SetLoading(true);
    p.SetFileName(MakeGsm(800));
    p.SetAutoOpen(true);
    p.Loaded();
    EXPECT_EQ(p.Mode(), mpStopped);
}

}  // namespace
