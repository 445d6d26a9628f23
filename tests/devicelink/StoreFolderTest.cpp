// The files folder as a run lists it: names met with their rows, and the
// most bytes the recordings can hold, known without looking at each file
// where a row bounds it, and looked at again where something changed.
#include "TempFolder.h"

#include "devicelink/FolderWatch.h"
#include "devicelink/StoreFolder.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class StoreFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Program.Path("files"));
        ASSERT_EQ(PrepareLocalDatabases(Program.Root()).ExitCode, DB_READY);
        Db.Open(Program.Path("data.db"));
    }
    // A file of Bytes in "files" (mostly a hole).
    void File(const std::string& Name, int64_t Bytes) {
        Program.Write("files/" + Name, "RIFF");
        fs::resize_file(Program.Path("files/" + Name), uintmax_t(Bytes));
    }
    void Row(const std::string& Name, const SqlValue& Czas) {
        Db.ExecDml("INSERT INTO Files VALUES('2024-03-01      08:00:00', '1', '2', ?, ?);", {Czas, Name});
    }
    // Lists the folder and meets the rows; the rows found missing.
    std::vector<std::string> List() {
        EXPECT_TRUE(Folder.Read(Program.Path("files/")));
        std::vector<AnsiString> missing;
        Folder.MatchRows(Db, missing);
        return std::vector<std::string>(missing.begin(), missing.end());
    }

    yorde::test::TTempFolder Program{"yorde-storefolder"};
    SqliteDb Db;
    TStoreFolder Folder;
};

}  // namespace

// Every row meets its file by its exact name: a row without its file (or
// whose file is an unfinished download) is missing once per row, a file
// without a row is unregistered, and two rows of one present file stay.
TEST_F(StoreFolderTest, RowsMeetTheirFilesByExactName) {
    File("a.wav", 10);
    File("b.wav", 10);
    File("notes.txt", 10);
    File("c.wav.part", 10);
    File(".d.wav.Ab12Cd", 10);
    Row("a.wav", int64_t(0));
    Row("a.wav", int64_t(0));
    Row("B.wav", int64_t(0));
    Row("gone.wav", int64_t(0));
    Row("gone.wav", int64_t(0));
    Row("c.wav.part", int64_t(0));
    std::vector<std::string> missing = List();
    std::sort(missing.begin(), missing.end());
    EXPECT_EQ(missing, (std::vector<std::string>{"B.wav", "c.wav.part", "gone.wav", "gone.wav"}));
    EXPECT_TRUE(Folder.IsRegistered("a.wav"));
    EXPECT_FALSE(Folder.IsRegistered("b.wav"));
    EXPECT_FALSE(Folder.IsRegistered("B.wav"));
    EXPECT_EQ(Folder.CountUnregistered(), 2u);  // b.wav and notes.txt
    std::vector<AnsiString> leftovers = Folder.Leftovers();
    std::sort(leftovers.begin(), leftovers.end());
    EXPECT_EQ(leftovers, (std::vector<AnsiString>{".d.wav.Ab12Cd", "c.wav.part"}));
}

// A registered file counts as the most its row allows (Czas whole seconds
// of 1625 bytes, so up to 1624 more); every other recording by its size;
// "*.WAV" counts, other names do not. A row whose Czas is no such number
// bounds nothing: its file is looked at. Near the limit each is looked at.
TEST_F(StoreFolderTest, TheQuotaCountsRowsAsTheirMostAndTheRestAsTheyAre) {
    File("row.wav", 16250);  // 10 s exactly
    Row("row.wav", int64_t(10));
    File("unregistered.WAV", 777);
    File("unknown.wav", 5000);
    Row("unknown.wav", int64_t(-1));
    File("text.wav", 6000);
    Row("text.wav", std::string("ten"));
    File("null.wav", 7000);
    Db.ExecDml("INSERT INTO Files VALUES('2024-03-01      08:00:00', '1', '2', NULL, 'null.wav');");
    File("twice.wav", 3250);
    Row("twice.wav", int64_t(1));
    Row("twice.wav", int64_t(2));
    File("other.txt", 1 << 20);
    List();
    EXPECT_EQ(Folder.MostBytes(), (10 * 1625 + 1624) + 777 + 5000 + 6000 + 7000 + (2 * 1625 + 1624));
    EXPECT_EQ(Folder.ExactBytes(), 16250 + 777 + 5000 + 6000 + 7000 + 3250);
}

// A link counts as what it points to, looked at again each time; a name
// that changed is looked at again, gone or grown, and a new one counts.
TEST_F(StoreFolderTest, LinksAndChangedNamesAreLookedAtAgain) {
    File("kept.wav", 1625);
    Row("kept.wav", int64_t(1));
    File("grows.wav", 100);
    Program.Write("outside.wav", "x");
    fs::resize_file(Program.Path("outside.wav"), 400);
    fs::create_symlink(Program.Path("outside.wav"), Program.Path("files/link.wav"));
    fs::create_symlink(Program.Path("files"), Program.Path("files/folder.wav"));
    List();
    EXPECT_EQ(Folder.MostBytes(), 3249 + 100 + 400);

    fs::resize_file(Program.Path("outside.wav"), 900);
    fs::resize_file(Program.Path("files/grows.wav"), 200);
    File("new.wav", 50);
    fs::remove(Program.Path("files/kept.wav"));
    Folder.Refresh({"grows.wav", "new.wav", "kept.wav", "new.wav.part"});
    EXPECT_EQ(Folder.MostBytes(), 200 + 900 + 50);
}

// Many names: each is found, and none that was not listed.
TEST_F(StoreFolderTest, ThousandsOfNamesAreEachFound) {
    Db.ExecDml("BEGIN;");
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "2024030" + std::to_string(i % 9 + 1) + "_" + std::to_string(100000 + i) + ".wav";
        fs::create_hard_link(i == 0 ? Program.Write("first") : Program.Path("first"), Program.Path("files/" + name));
        if (i % 2 == 0) Row(name, int64_t(0));
    }
    Row("20240301_099999.wav", int64_t(0));
    Db.ExecDml("COMMIT;");
    EXPECT_EQ(List(), (std::vector<std::string>{"20240301_099999.wav"}));
    EXPECT_EQ(Folder.CountUnregistered(), 2500u);
    EXPECT_TRUE(Folder.IsRegistered("20240301_100000.wav"));
    EXPECT_FALSE(Folder.IsRegistered("20240302_100001.wav"));
    EXPECT_EQ(Folder.MostBytes(), 2500 * 1624);  // the unregistered ones are empty
}

// A folder that cannot be listed says so.
TEST_F(StoreFolderTest, AFolderThatCannotBeListed) { EXPECT_FALSE(Folder.Read(Program.Path("nowhere/"))); }

// The watch names what was made, renamed, removed or written there since it
// began, and says when it lost track: the folder moved or removed, or no
// folder to watch.
TEST(FolderWatch, NamesWhatChangedAndKnowsWhenItLostTrack) {
    yorde::test::TTempFolder program{"yorde-watch"};
    program.Write("files/before.wav", "x");
    program.Write("files/old.wav", "x");
    program.Write("files/written.wav", "x");
    program.Write("files/untouched.wav", "x");
    TFolderWatch watch(program.Path("files/"));
    program.Write("files/made.wav", "x");
    program.Write("files/written.wav", "longer");
    fs::rename(program.Path("files/old.wav"), program.Path("files/renamed.wav"));
    fs::remove(program.Path("files/before.wav"));
    std::vector<std::string> names;
    ASSERT_TRUE(watch.Changes(names));
    EXPECT_EQ(names, (std::vector<std::string>{"before.wav", "made.wav", "old.wav", "renamed.wav", "written.wav"}));

    fs::rename(program.Path("files"), program.Path("away"));
    EXPECT_FALSE(watch.Changes(names));

    TFolderWatch none(program.Path("files/"));
    EXPECT_FALSE(none.Changes(names));
}
