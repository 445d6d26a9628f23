// What a kill or a crash leaves of files being written, and its removal:
// only the program's own unfinished files go, named in the log; a file of
// the user's, a link, a folder or someone else's file of the same form stays.
#include "devicelink/PartFile.h"

#include "TempFolder.h"
#include "rtl/AtomicFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

namespace {

Strings Entries(const std::string& Folder) {
    Strings names;
    for (const fs::directory_entry& e : fs::directory_iterator(Folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(Leftovers, InFilesOnlyTheUnfinishedFilesOfRecordingsCount) {
    for (const char* name : {"20240305_100000_1_2_.wav.part", "x.WAV.part", ".20240305_100000_1_2_.wav.Ab12Cd",
                             ".x.wav.000000", ".x.wav.zzzzzz"})
        EXPECT_TRUE(IsStoreLeftover(name)) << name;
    for (const char* name : {"20240305_100000_1_2_.wav", ".part", ".wav.part", "notes.part", "x.wav.part.part",
                             ".notes.txt.Ab12Cd", ".x.wav.Ab12C", ".x.wav.Ab12Cde", ".x.wav.Ab-2Cd", "xy.wav.Ab12Cd",
                             ".x.wav.Ab12Cd.part", "..wav.Ab12Cd", ".a..b.wav.Ab12Cd"})
        EXPECT_FALSE(IsStoreLeftover(name)) << name;
}

TEST(Leftovers, OnlyPlainFilesOfOursGoAndEachIsNamedInTheLog) {
    yorde::test::TTempFolder folder("yorde-leftovers");
    const Strings ours = {"a.wav.part", "b.wav.part", ".c.wav.Xy12Zw"};
    for (const std::string& name : ours) folder.Write(name, "half");
    folder.Write("a.wav", "whole");
    folder.Write("keep.txt.part", "the user's");
    folder.MakeDir(".d.wav.Folder");
    fs::create_symlink(folder.Path("a.wav"), folder.Path(".e.wav.Link00"));
    if (::geteuid() == 0) {
        folder.Write(".f.wav.Theirs", "someone else's");
        ASSERT_EQ(::chown(folder.Path(".f.wav.Theirs").c_str(), 4321, 4321), 0);
    }
    Strings log;
    const int removed =
        RemoveLeftovers(folder.Root(), IsStoreLeftover, [&](const AnsiString& line) { log.push_back(line); });

    EXPECT_EQ(removed, 3);
    Strings left = {".d.wav.Folder", ".e.wav.Link00", "a.wav", "keep.txt.part"};
    if (::geteuid() == 0) left.push_back(".f.wav.Theirs");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(Entries(folder.Dir()), left);
    EXPECT_EQ(folder.Read("a.wav"), "whole");
    Strings expected;
    for (const std::string& name : Strings{".c.wav.Xy12Zw", "a.wav.part", "b.wav.part"})
        expected.push_back("Removed the unfinished file " + folder.Path(name));
    expected.push_back("Removed 2 unfinished downloads");
    std::sort(log.begin(), log.end() - 1);
    EXPECT_EQ(log, expected);

    log.clear();
    EXPECT_EQ(RemoveLeftovers(folder.Root(), IsStoreLeftover, [&](const AnsiString& line) { log.push_back(line); }), 0);
    EXPECT_TRUE(log.empty()) << "nothing left to say";
    EXPECT_EQ(RemoveLeftovers(folder.Path("gone/"), IsStoreLeftover, [](const AnsiString&) {}), 0);
}

// The name test and the writer agree: the temporary file a whole-file write
// has open names its target.
TEST(Leftovers, TheTemporaryFileOfAWriteNamesItsTarget) {
    yorde::test::TTempFolder folder("yorde-leftovers");
    TAtomicFile writing(folder.Path("20240305_100000_1_2_.wav"));
    ASSERT_GE(writing.Fd(), 0);
    const Strings names = Entries(folder.Dir());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(AtomicFileTarget(names[0]), "20240305_100000_1_2_.wav");
    EXPECT_TRUE(IsStoreLeftover(names[0]));
    for (const char* none : {"", ".", "..Ab12Cd", ".Ab12Cd", "xy.Ab12Cd", ".x.Ab12C", ".x.Ab1 Cd", ".x_Ab12Cd"})
        EXPECT_EQ(AtomicFileTarget(none), "") << none;
    EXPECT_EQ(AtomicFileTarget(".config.cfg.bad.q9Q9q9"), "config.cfg.bad");
}
