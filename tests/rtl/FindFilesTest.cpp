#include "TempFolder.h"

#include "rtl/CodePages.h"
#include "rtl/FindFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <map>
#include <set>

namespace {

using namespace yorde::test;

// Every name FindFirst/FindNext report, with its attributes.
std::map<AnsiString, int> Find(const std::string& path, int attr) {
    std::map<AnsiString, int> found;
    TSearchRec sr;
    if (FindFirst(path, attr, sr) == 0) {
        do {
            EXPECT_TRUE(found.emplace(sr.Name, sr.Attr).second) << "twice: " << sr.Name;
        } while (FindNext(sr) == 0);
        FindClose(sr);
    }
    return found;
}

std::set<AnsiString> Names(const std::map<AnsiString, int>& m) {
    std::set<AnsiString> s;
    for (auto& [name, attr] : m) s.insert(name);
    return s;
}

class FindFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.Write("a.wav", "12345");
        t.Write("B.WAV");
        t.Write("c.Wav.txt");
        t.Write("noext");
        t.Write(".hidden.wav");
        t.MakeDir("sub.wav");
        t.MakeDir(".git");
        t.Write("ro.wav");
        ::chmod(t.Path("ro.wav").c_str(), 0444);
    }
    TTempFolder t;
};

TEST_F(FindFilesTest, MasksIgnoreCase) {
    EXPECT_EQ(Names(Find(t.Path("*.wav"), 0)), (std::set<AnsiString>{"a.wav", "B.WAV", "ro.wav"}));
    EXPECT_EQ(Names(Find(t.Path("?.WAV"), 0)), (std::set<AnsiString>{"a.wav", "B.WAV"}));
    EXPECT_EQ(Names(Find(t.Path("*wav*"), 0)), (std::set<AnsiString>{"a.wav", "B.WAV", "c.Wav.txt", "ro.wav"}));
    EXPECT_EQ(Names(Find(t.Path("noext.*"), 0)), (std::set<AnsiString>{"noext"}));
    EXPECT_EQ(Names(Find(t.Path("*."), 0)), (std::set<AnsiString>{"noext"}));
    EXPECT_EQ(Find(t.Path("*"), 0), Find(t.Path("*.*"), 0));
}

TEST_F(FindFilesTest, AttributesDecideWhatIsListed) {
    // Plain files always; folders and hidden entries only when asked.
    EXPECT_EQ(Names(Find(t.Path("*"), 0)), (std::set<AnsiString>{"a.wav", "B.WAV", "c.Wav.txt", "noext", "ro.wav"}));
    EXPECT_EQ(Names(Find(t.Path("*"), faDirectory)),
              (std::set<AnsiString>{".", "..", "a.wav", "B.WAV", "c.Wav.txt", "noext", "ro.wav", "sub.wav"}));
    EXPECT_EQ(Names(Find(t.Path("*"), faHidden)),
              (std::set<AnsiString>{"a.wav", "B.WAV", "c.Wav.txt", "noext", "ro.wav", ".hidden.wav"}));

    const auto all = Find(t.Path("*"), faAnyFile);
    EXPECT_EQ(all.size(), 10u);  // everything, "." and ".." included
    EXPECT_EQ(all.at("a.wav"), faArchive);
    EXPECT_EQ(all.at("sub.wav"), faDirectory);
    EXPECT_EQ(all.at(".git"), faDirectory | faHidden);
    EXPECT_EQ(all.at(".hidden.wav"), faArchive | faHidden);
    EXPECT_EQ(all.at(".."), faDirectory);
    EXPECT_TRUE(all.at("ro.wav") & faReadOnly);
    EXPECT_EQ(Names(Find(t.Path("*.wav"), faAnyFile)),
              (std::set<AnsiString>{"a.wav", "B.WAV", "ro.wav", ".hidden.wav", "sub.wav"}));
}

TEST_F(FindFilesTest, RecordCarriesSizeAndTime) {
    TSearchRec sr;
    ASSERT_EQ(FindFirst(t.Path("a.WAV"), faAnyFile, sr), 0);
    EXPECT_EQ(sr.Name, "a.wav");
    EXPECT_EQ(sr.Size, 5);
    EXPECT_NE(sr.Time, 0);
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
}

TEST_F(FindFilesTest, FailuresAndRelease) {
    TSearchRec sr;
    EXPECT_EQ(FindFirst(t.Path("*.mp3"), faAnyFile, sr), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FindFirst(t.Path("missing/*"), faAnyFile, sr), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(sr.FindHandle);
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
    FindClose(sr);  // harmless twice
    FindClose(sr);

    ASSERT_EQ(FindFirst(t.Path("*"), faAnyFile, sr), 0);
    EXPECT_TRUE(sr.FindHandle);
    FindClose(sr);
    EXPECT_FALSE(sr.FindHandle);
    // A record reused without FindClose drops its earlier listing.
    ASSERT_EQ(FindFirst(t.Path("*"), faAnyFile, sr), 0);
    ASSERT_EQ(FindFirst(t.Path("a.wav"), 0, sr), 0);
    EXPECT_EQ(FindNext(sr), ERROR_NO_MORE_FILES);
}

TEST_F(FindFilesTest, NamesArriveInTheAnsiCodePage) {
    t.Write(
        "\xC5\x82\xC3\xB3"
        "d\xC5\xBA.wav");                                     // "łódź.wav" on disk (UTF-8)
    const auto found = Names(Find(t.Path("*D\x8F.WAV"), 0));  // "*DŹ.WAV" in 1250
    EXPECT_EQ(found, (std::set<AnsiString>{"\xB3\xF3"
                                           "d\x9F.wav"}));
    EXPECT_EQ(FileGetAttr(t.Path("") + "\xB3\xF3"
                                       "d\x9F.wav"),
              faArchive);
}

TEST(MatchesMask, StarTakesAnyRunQuestionMarkOneCharacterAnyCase) {
    EXPECT_TRUE(MatchesMask("abc", "a*c"));
    EXPECT_TRUE(MatchesMask("ac", "a*c"));
    EXPECT_TRUE(MatchesMask("abcbc", "a*bc"));
    EXPECT_FALSE(MatchesMask("abcb", "a*bc"));
    EXPECT_FALSE(MatchesMask("ab", "a?c"));
    EXPECT_TRUE(MatchesMask("", "*"));
    EXPECT_FALSE(MatchesMask("x.wav", "*.wa"));
    EXPECT_TRUE(MatchesMask(Utf8ToCodePage("ŻABA.txt", 1250), Utf8ToCodePage("ża*", 1250)));
}

}  // namespace
