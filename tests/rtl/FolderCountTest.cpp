// Counting the names of a folder that match a mask: the figure FindFirst
// gives for entries of every kind, and a folder read again only when a name
// may have come or gone since.
#include "TempFolder.h"

#include "rtl/FindFiles.h"
#include "rtl/FolderCount.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace yorde::test;
namespace fs = std::filesystem;

// The entries FindFirst and FindNext report for Path with every attribute.
int FindCount(const std::string& Path) {
    int n = 0;
    TSearchRec sr;
    for (int found = FindFirst(Path, faAnyFile, sr); found == 0; found = FindNext(sr)) ++n;
    FindClose(sr);
    return n;
}

class FolderCount : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.wav", "B.WAV", "c.Wav.txt", "noext", ".hidden.wav", "x.wav.part"})
            t.Write(std::string("files/") + name);
        t.MakeDir("files/sub.wav");
        // Names as the file system holds them (UTF-8), one beyond the code page.
        t.Write("files/nagranie_\xC5\xBC\xC3\xB3\xC5\x82w.WAV");
        t.Write("files/\xE6\x97\xA5\xE6\x9C\xAC.wav");
        fs::create_symlink(t.Path("nowhere"), t.Path("files/dangling.wav"));
    }
    // The folder's last change an hour back, the same time each call: a
    // change from now on shows in its time whatever the clock's step.
    void Age() { fs::last_write_time(t.Path("files"), hourAgo); }
    std::string Pattern(const char* Mask = "*.wav") const { return t.Path("files/") + Mask; }

    TTempFolder t;
    const fs::file_time_type hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
};

TEST_F(FolderCount, CountsWhatFindFirstFindsForEntriesOfEveryKind) {
    for (const char* mask : {"*.wav", "*", "*.*", "?.WAV", "*wav*", "noext.*", "*.", "*.mp3"}) {
        SCOPED_TRACE(mask);
        EXPECT_EQ(TFolderMatchCount(Pattern(mask)).Count(), FindCount(Pattern(mask)));
    }
    // Plain files, a folder, a hidden file, a dangling link, two names in UTF-8.
    EXPECT_EQ(TFolderMatchCount(Pattern()).Count(), 7);
    EXPECT_EQ(TFolderMatchCount(t.Path("missing/*.wav")).Count(), 0);
    EXPECT_EQ(TFolderMatchCount(Pattern("")).Count(), 0);
}

TEST_F(FolderCount, AFolderIsReadAgainOnlyWhenANameMayHaveComeOrGone) {
    Age();
    TFolderMatchCount count(Pattern(), 0);
    EXPECT_EQ(count.Count(), 7);
    EXPECT_EQ(count.Count(), 7);
    EXPECT_EQ(count.Readings(), 1);
    // A name added, renamed and removed: each shows at the next count.
    t.Write("files/new.wav");
    EXPECT_EQ(count.Count(), 8);
    Age();
    EXPECT_EQ(count.Count(), 8);
    fs::rename(t.Path("files/new.wav"), t.Path("files/new.txt"));
    EXPECT_EQ(count.Count(), 7);
    Age();
    EXPECT_EQ(count.Count(), 7);
    fs::remove(t.Path("files/a.wav"));
    EXPECT_EQ(count.Count(), 6);
    // Another folder in its place, even with the same time.
    Age();
    EXPECT_EQ(count.Count(), 6);
    const int readings = count.Readings();
    fs::rename(t.Path("files"), t.Path("old"));
    fs::create_directory(t.Path("files"));
    t.Write("files/only.wav");
    Age();
    EXPECT_EQ(count.Count(), 1);
    EXPECT_EQ(count.Readings(), readings + 1);
    // Gone altogether, then back.
    fs::remove_all(t.Path("files"));
    EXPECT_EQ(count.Count(), 0);
    EXPECT_EQ(count.Count(), 0);
    fs::rename(t.Path("old"), t.Path("files"));
    EXPECT_EQ(count.Count(), 6);
}

TEST_F(FolderCount, AFolderChangedWithinTheSettlingTimeIsReadEveryTime) {
    // Changed just now: another change within the clock's step would not
    // show in the folder's times.
    TFolderMatchCount count(Pattern(), 3600);
    EXPECT_EQ(count.Count(), 7);
    EXPECT_EQ(count.Count(), 7);
    EXPECT_EQ(count.Readings(), 2);
}

}  // namespace
