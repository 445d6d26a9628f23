#include "store/RecordingNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Tokens(const std::string& name, int count) {
    AnsiString rest = "_" + name;
    std::vector<std::string> out;
    for (int n = 0; n < count; ++n) out.push_back(NextNameToken(rest));
    return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(RecordingNames, TokensOfDeviceNames) {
    EXPECT_EQ(Tokens("20240305_140211_101_202_.wav", 4), (V{"20240305", "140211", "101", "202"}));
    // An empty calling number near the end of the name shows as "-".
    EXPECT_EQ(Tokens("20240305_140211__202_.wav", 4), (V{"20240305", "140211", "-", "202"}));
    // With 12 or more characters left the "_" is a separator.
    EXPECT_EQ(Tokens("20240305_132720__123456789_M_.wav", 4), (V{"20240305", "132720", "123456789", "M"}));
    // Without another "_" the rest is returned and stays.
    EXPECT_EQ(Tokens("20240305_x.wav", 4), (V{"20240305", "x.wav", "x.wav", "x.wav"}));
}

TEST(RecordingNames, TokenRemovesFieldAndSeparator) {
    AnsiString rest = "abc_def";
    EXPECT_EQ(NextNameToken(rest), "abc");
    EXPECT_EQ(rest, "def");
    rest = "_";
    EXPECT_EQ(NextNameToken(rest), "-");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(NextNameToken(rest), "");
    // The 12-character boundary.
    rest = "_1234567890";
    EXPECT_EQ(NextNameToken(rest), "-");
    rest = "_12345678901";
    EXPECT_EQ(NextNameToken(rest), "12345678901");
    EXPECT_EQ(rest, "12345678901");
    rest = "__abcdefghijkl";  // 14 characters: the first "_" is skipped
    EXPECT_EQ(NextNameToken(rest), "");
    EXPECT_EQ(rest, "abcdefghijkl");
}

TEST(RecordingNames, StarsFromA) {
    AnsiString n = "1a2";
    StarsFromA(n);
    EXPECT_EQ(n, "1*2");
    n = "12345";
    StarsFromA(n);
    EXPECT_EQ(n, "12345");
}

TEST(RecordingNames, RowFromName) {
    const TRecordingRow row = RecordingRowFromName("20240305_140211_0123_a56_.wav", 16250);
    EXPECT_EQ(row.Data, "2024-03-05      14:02:11");
    EXPECT_EQ(row.Data.size(), 24u);
    EXPECT_EQ(row.AbA, "123");
    EXPECT_EQ(row.AbB, "*56");
    EXPECT_EQ(row.Czas, 10);
    EXPECT_EQ(row.Filename, "20240305_140211_0123_a56_.wav");

    EXPECT_EQ(RecordingRowFromName("x", 16249).Czas, 9);
    // An empty file (a recording cut off at once) lasts no time; an unknown size is told apart.
    EXPECT_EQ(RecordingRowFromName("x", 0).Czas, 0);
    EXPECT_EQ(RecordingSecondsFromSize(0), 0);
    EXPECT_EQ(RecordingSecondsFromSize(1624), 0);
    EXPECT_EQ(RecordingSecondsFromSize(1625), 1);
    EXPECT_EQ(RecordingSecondsFromSize(-1625), -1);
    EXPECT_EQ(RecordingRowFromName("x", -1).Czas, -1);
    EXPECT_EQ(RecordingRowFromName("x", 1625LL * 3000000).Czas, 3000000);

    const TRecordingRow empty = RecordingRowFromName("20240305_140211__000_.wav", 100);
    EXPECT_EQ(empty.AbA, "-");
    EXPECT_EQ(empty.AbB, "");  // zeros only
    EXPECT_EQ(RecordingRowFromName("20240305_140211_0a0_0_M_.wav", 0).AbA, "*0");
}

TEST(RecordingNames, OnlyPlainNamesMayNameAStoredFile) {
    for (const char* good : {"20240305_140211_101_202_.wav", "x.WAV", "O'Brien.wav", "a b.wav", "..x.wav"})
        EXPECT_TRUE(IsPlainRecordingName(good)) << good;
    for (const char* bad : {"", ".", "..", "../x.wav", "..\\..\\x.wav", "a/b.wav", "c:x.wav", "a\nb.wav", "a\tb.wav",
                            "a\x7F"
                            "b.wav",
                            "\x1F.wav"})
        EXPECT_FALSE(IsPlainRecordingName(bad)) << bad;
}
