// libsndfile loaded at run time for the announcement file check.
#include "MediaTestSupport.h"

#include "media/SndLib.h"

#include <gtest/gtest.h>
#include <sndfile.h>

using namespace mediatest;

namespace {

TEST(SndLibTest, ReportsRateAndFormatOfSoundFiles) {
    TTempFolder dir{"yorde-media"};
    TSndFileLibrary lib;
    ASSERT_TRUE(lib.Loaded());

    WriteSound(dir.Path("gsm.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    WriteSound(dir.Path("alaw.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_ALAW);
    WriteSound(dir.Path("gsm16k.wav"), Tone(800, 1, 16000), 1, 16000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    WriteBytes(dir.Path("text.wav"), {'n', 'o', 't', ' ', 's', 'o', 'u', 'n', 'd'});

    TSoundFileInfo info;
    ASSERT_TRUE(ProbeSoundFile(lib, dir.Path("gsm.wav"), info));
    EXPECT_EQ(info.SampleRate, 8000);
    EXPECT_EQ(info.Format, 0x10020);
    ASSERT_TRUE(ProbeSoundFile(lib, dir.Path("alaw.wav"), info));
    EXPECT_EQ(info.Format, 0x10011);
    ASSERT_TRUE(ProbeSoundFile(lib, dir.Path("gsm16k.wav"), info));
    EXPECT_EQ(info.SampleRate, 16000);
    EXPECT_EQ(info.Format, 0x10020);
    EXPECT_FALSE(ProbeSoundFile(lib, dir.Path("text.wav"), info));
    EXPECT_FALSE(ProbeSoundFile(lib, dir.Path("missing.wav"), info));
}

TEST(SndLibTest, ForcedLoadFailureLooksLikeAMissingLibrary) {
    TTempFolder dir{"yorde-media"};
    WriteSound(dir.Path("gsm.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    TSndFileLibrary::SetLoadFailureForTest(true);
    {
        TSndFileLibrary lib;
        EXPECT_FALSE(lib.Loaded());
        TSoundFileInfo info;
        EXPECT_FALSE(ProbeSoundFile(lib, dir.Path("gsm.wav"), info));
    }
    TSndFileLibrary::SetLoadFailureForTest(false);
    TSndFileLibrary lib;
    EXPECT_TRUE(lib.Loaded());
}

}  // namespace
