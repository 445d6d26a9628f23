// libsndfile loaded at run time for the announcement file check.
#include "MediaTestSupport.h"

#include "media/SndLib.h"

#include <gtest/gtest.h>
#include <sndfile.h>

using namespace mediatest;

namespace {

TEST(SndLibTest, ReportsRateAndFormatOfSoundFiles) {
    TempDir dir;
    TSndFileLibrary lib;
    ASSERT_TRUE(lib.Loaded());

    WriteSound(dir.File("gsm.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    WriteSound(dir.File("alaw.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_ALAW);
    WriteSound(dir.File("gsm16k.wav"), Tone(800, 1, 16000), 1, 16000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    WriteBytes(dir.File("text.wav"), {'n', 'o', 't', ' ', 's', 'o', 'u', 'n', 'd'});

    TSoundFileInfo info;
    ASSERT_TRUE(ProbeSoundFile(lib, dir.File("gsm.wav"), info));
    EXPECT_EQ(info.SampleRate, 8000);
    EXPECT_EQ(info.Format, 0x10020);
    ASSERT_TRUE(ProbeSoundFile(lib, dir.File("alaw.wav"), info));
    EXPECT_EQ(info.Format, 0x10011);
    ASSERT_TRUE(ProbeSoundFile(lib, dir.File("gsm16k.wav"), info));
    EXPECT_EQ(info.SampleRate, 16000);
    EXPECT_EQ(info.Format, 0x10020);
    EXPECT_FALSE(ProbeSoundFile(lib, dir.File("text.wav"), info));
    EXPECT_FALSE(ProbeSoundFile(lib, dir.File("missing.wav"), info));
}

TEST(SndLibTest, ForcedLoadFailureLooksLikeAMissingLibrary) {
    TempDir dir;
    WriteSound(dir.File("gsm.wav"), Tone(800, 1, 8000), 1, 8000, SF_FORMAT_WAV | SF_FORMAT_GSM610);
    TSndFileLibrary::SetLoadFailureForTest(true);
    {
        TSndFileLibrary lib;
        EXPECT_FALSE(lib.Loaded());
        TSoundFileInfo info;
        EXPECT_FALSE(ProbeSoundFile(lib, dir.File("gsm.wav"), info));
    }
    TSndFileLibrary::SetLoadFailureForTest(false);
    TSndFileLibrary lib;
    EXPECT_TRUE(lib.Loaded());
}

}  // namespace
