// File names that try to get out of "files" or into the SQL: from the
// exchange's record list and from an SD card's folders. Nothing is written
// outside "files", a name is stored exactly as it came or not at all, and
// the tables and their rows are as they were.
#include "SyncTestSupport.h"

#include "QuietCardSink.h"
#include "TempFolder.h"
#include "devicelink/OwedRecordings.h"
#include "rtl/CodePages.h"
#include "store/CardImport.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <sys/stat.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// What SQL could change: the other tables, their rows, and the schema.
std::string Untouchable(const std::string& DataDb) {
    SqliteDb db;
    db.Open(DataDb);
    std::string text;
    for (const char* sql : {"SELECT group_concat(sql, ';') FROM sqlite_master WHERE type = 'table';",
                            "SELECT group_concat(Filename, '|') FROM DeletedFiles;",
                            "SELECT group_concat(user || '/' || nr || '/' || opis, '|') FROM AddressBook;"}) {
        SqliteStatement q(db, sql);
        text += (q.Step() ? std::string(q.ColumnText(0)) : std::string()) + "\n";
    }
    return text;
}

// Rows of other tables, and the tables an earlier run has added.
void PlantRows(const std::string& DataDb) {
    SqliteDb db;
    db.Open(DataDb);
    TOwedRecordings(db).Prepare();
    db.ExecDml(
        "INSERT INTO DeletedFiles VALUES ('gone.wav'); INSERT INTO AddressBook VALUES ('admin', '101', 'Desk');");
}

// Every entry below Root, as paths relative to it.
std::set<std::string> Tree(const std::string& Root) {
    std::set<std::string> paths;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(Root))
        paths.insert(fs::relative(e.path(), Root).string());
    return paths;
}

class HostileNames : public synctest::SyncTest {};

const std::string kInjection = "20240301_080001_1_2_x');DELETE FROM Files;DROP TABLE DeletedFiles;--.wav";

}  // namespace

// From the exchange: names that are paths, hold control characters, end in
// a download's suffix, are too long for the file system once written in its
// text (a name of Polish letters doubles), or hold SQL; one recording that
// is plain. The plain ones come; the others are skipped without stopping the
// run; nothing else is written.
TEST_F(HostileNames, FromTheExchange) {
    PlantRows(Program.Path("data.db"));
    const std::string before = Untouchable(Program.Path("data.db"));
    const std::string longPolish = std::string(130, '\xA3') + "_.wav";  // 134 bytes here, 264 on the disk
    const std::vector<std::string> refused = {"../../escape.wav",
                                              "files/../escape.wav",
                                              "/tmp/escape.wav",
                                              "..",
                                              "...wav",
                                              "a..b.wav",
                                              std::string("nul\0x.wav", 9),
                                              "tab\there.wav",
                                              "new\nline.wav",
                                              "del\x7f.wav",
                                              "x.wav.part",
                                              "notes.txt",
                                              longPolish,
                                              std::string(252, 'y') + ".wav"};
    for (const std::string& name : refused) Offer(name, 2000);
    const std::string quote = "20240301_080000_1_2_O'Brien.wav";
    const std::string percent = "20240301_080002_1_2_100%25.wav";
    const std::string polish = "20240301_080003_1_2_\xA3\xF3\x64\x9F.wav";  // "Łódź" here
    for (const std::string& name : {quote, kInjection, percent, polish}) Offer(name, 2100);

    const auto ui = Run();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_FALSE(ui->Has("reset"));
    std::set<std::string> stored;
    for (const synctest::TFilesRow& row : FilesRows()) stored.insert(row.Filename);
    EXPECT_EQ(stored, (std::set<std::string>{quote, kInjection, percent, polish}));
    for (const std::string& name : stored) EXPECT_TRUE(Program.Exists("files/" + ToOsText(AnsiString(name)))) << name;
    EXPECT_EQ(Untouchable(Program.Path("data.db")), before);
    const std::set<std::string> tree = Tree(Program.Dir());
    for (const std::string& path : tree)
        EXPECT_TRUE(path.rfind("files", 0) == 0 || path.rfind("data.db", 0) == 0 || path.rfind("tmp.db", 0) == 0)
            << path;
    EXPECT_FALSE(fs::exists("/tmp/escape.wav"));
    EXPECT_FALSE(fs::exists(fs::path(Program.Dir()).parent_path() / "escape.wav"));
}

// From an SD card: the same kinds of names as folders and files of the
// card's tree, plus a link to a file outside the card and a named pipe
// (which would block a reader for ever). The plain recordings are imported
// with their names as they are; the others are refused or not listed (the
// link among them: nothing is read through it); the import ends; nothing is
// written outside "files".
TEST(HostileCardNames, FromAnSdCard) {
    yorde::test::TTempFolder program("yorde-hostile-program"), card("yorde-hostile-card");
    program.MakeDir("files");
    ASSERT_EQ(PrepareLocalDatabases(program.Root()).ExitCode, DB_READY);
    PlantRows(program.Path("data.db"));
    const std::string before = Untouchable(program.Path("data.db"));

    const std::string day = "ROZMOWY/2024/03/05/";
    const std::vector<std::string> plain = {"20240305_100000_1_2_O'Brien.wav", "20240305_100001_1_2_100%.wav",
                                            "20240305_100002_1_2_" + ToOsText("\xA3\xF3\x64\x9F") + ".wav",
                                            "20240305_100003_1_2_x');DELETE FROM Files;--.wav",
                                            std::string(230, 'z') + ".wav"};
    for (const std::string& name : plain) card.Write(day + name, std::string(1625, 'p'));
    const std::vector<std::string> hostile = {"..\\..\\escape.wav", "C:escape.wav", "tab\tx.wav",
                                              "new\nline.wav",      "bell\x07.wav", "del\x7f.wav"};
    for (const std::string& name : hostile) card.Write(day + name, std::string(1625, 'h'));
    card.Write("outside.txt", "not a recording");
    fs::create_symlink(card.Path("outside.txt"), card.Path(day + "20240305_110000_1_2_link.wav"));
    ASSERT_EQ(0, ::mkfifo(card.Path(day + "20240305_120000_1_2_pipe.wav").c_str(), 0600));
    card.Write("ROZMOWY/2024/03/..hidden/20240305_130000_1_2_.wav", "x");

    reliability::TQuietCardSink sink;
    const TCardImportResult r = ImportCardRecordings(ListCardRecordings(card.Root(), sink), program.Root(), sink);
    EXPECT_EQ(r.Failed, int(hostile.size()));
    EXPECT_FALSE(r.DiskFull);

    std::set<std::string> registered;
    {
        SqliteDb db;
        db.Open(program.Path("data.db"));
        SqliteStatement rows(db, "SELECT Filename FROM Files;");
        while (rows.Step()) registered.insert(ToOsText(rows.ColumnText(0)));
    }
    EXPECT_EQ(registered, std::set<std::string>(plain.begin(), plain.end()));
    EXPECT_EQ(Untouchable(program.Path("data.db")), before);
    for (const std::string& path : Tree(program.Dir()))
        EXPECT_TRUE(path.rfind("files", 0) == 0 || path.rfind("data.db", 0) == 0 || path.rfind("tmp.db", 0) == 0)
            << path;
    EXPECT_FALSE(fs::exists(program.Path("files/20240305_110000_1_2_link.wav")));
    EXPECT_EQ(yorde::test::ReadFile(card.Path("outside.txt")), "not a recording");
    EXPECT_FALSE(fs::exists(fs::path(program.Dir()).parent_path() / "escape.wav"));
}
