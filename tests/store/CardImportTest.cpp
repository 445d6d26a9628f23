// The SD-card import without its window: the walk over the card, the rows
// and copies, the files it leaves alone, failures of single files and a
// disk that fills up.
#include "store/CardImport.h"

#include "store/CardTree.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"

#include "FileModes.h"
#include "FullDatabase.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using yorde::test::ModeOf;
using yorde::test::TTempFolder;
using yorde::test::TUmaskScope;
using Strings = std::vector<std::string>;

// Records what the import tells the program.
struct TRecordingSink : ICardImportSink {
    Strings Log_;
    std::vector<int> Progress_;
    std::vector<int> ReloadsAfter;  // the number of progress steps before each reload
    int StopAfter = -1;             // files let through before a stop is asked

    void Log(const AnsiString& Line) override { Log_.push_back(Line); }
    void Progress(int Percent) override { Progress_.push_back(Percent); }
    void Reload() override { ReloadsAfter.push_back(int(Progress_.size())); }
    bool StopRequested() override { return StopAfter >= 0 && int(Progress_.size()) >= StopAfter; }
};

// A program folder with data.db and "files", and a card beside it.
class CardImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        program.MakeDir("files");
        db.Open(program.Path("data.db"));
        for (const char* sql : DataDbCreateStatements) db.ExecDml(sql);
    }

    // Writes a recording of Size bytes on the card; returns its path.
    std::string Card(const std::string& Rel, std::size_t Size = 1625, char Fill = 'c') {
        return card.Write(Rel, std::string(Size, Fill));
    }
    AnsiString Drive() const { return card.Root(); }
    Strings List() {
        Strings paths;
        for (const AnsiString& p : ListCardRecordings(Drive(), sink).Paths)
            paths.push_back(p.substr(card.Root().size()));
        return paths;
    }
    TCardImportResult Import(const TCardImportFiles& Files = {}) {
        return ImportCardRecordings(ListCardRecordings(Drive(), sink), program.Root(), sink, Files);
    }
    // Files rows as "Data|AbA|AbB|Czas|Filename", in table order.
    Strings Rows() {
        Strings rows;
        for (SqliteQuery q = db.ExecQuery("SELECT * FROM Files;"); !q.Eof(); q.NextRow())
            rows.push_back(q.GetStringField(0) + "|" + q.GetStringField(1) + "|" + q.GetStringField(2) + "|" +
                           q.GetStringField(3) + "|" + q.GetStringField(4));
        return rows;
    }
    // The names in "files", sorted.
    Strings Stored() {
        Strings names;
        for (const auto& e : std::filesystem::directory_iterator(program.Path("files")))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TTempFolder program{"yorde-import-program"};
    TTempFolder card{"yorde-import-card"};
    SqliteDb db;
    TRecordingSink sink;
};

}  // namespace

TEST_F(CardImportTest, TheWalkEntersOnlyDatedFoldersUnderRozmowyWhateverTheirCase) {
    Card("ROZMOWY/2024/03/05/x.wav");
    Card("Rozmowy/2024/3/7/Y.WAV");
    Card("rozmowy/0024/12/31/z.Wav");
    Card("ROZMOWY/abc/03/05/no1.wav");  // not a number
    Card("ROZMOWY/0/03/05/no2.wav");    // not above 0
    Card("ROZMOWY/2024/-3/05/no3.wav");
    Card("ROZMOWY/2024/03/05/notes.txt");
    Card("ROZMOWY/2024/03/x.wav");  // a file beside the day folders
    card.MakeDir("ROZMOWY/2024/03/05/folder.wav");
    Card("INNE/2024/03/05/other.wav");
    Card("ROZMOWY.wav/2024/03/05/no4.wav");

    Strings found = List();
    std::sort(found.begin(), found.end());
    // A case-sensitive file system may hold all three spellings of the folder.
    EXPECT_EQ(found, (Strings{"ROZMOWY/2024/03/05/x.wav", "Rozmowy/2024/3/7/Y.WAV", "rozmowy/0024/12/31/z.Wav"}));
    // Each folder name the walk looked at is in the debug log.
    EXPECT_NE(std::find(sink.Log_.begin(), sink.Log_.end(), "Import: srRok = abc"), sink.Log_.end());
    EXPECT_NE(std::find(sink.Log_.begin(), sink.Log_.end(), "Import: srDZ = 05"), sink.Log_.end());

    TTempFolder empty;
    EXPECT_TRUE(ListCardRecordings(empty.Root(), sink).Paths.empty());
    EXPECT_TRUE(ListCardRecordings(empty.Path("gone/"), sink).Paths.empty());
}

// A card is someone else's file system: its links lead nowhere. A file, or
// a ROZMOWY, year, month or day folder, that is a link is skipped and named
// in the debug log, whatever it points at: a file or folder outside the
// card, or a folder of the card itself. Nothing is read through one.
TEST_F(CardImportTest, LinksOnTheCardAreSkippedAtEveryLevel) {
    TTempFolder outside{"yorde-import-outside"};
    const std::string secret = outside.Write("secret", "not the card's");
    for (const char* rel : {"ROZMOWY/2024/03/05/o1.wav", "2024/03/05/o2.wav", "03/05/o3.wav", "05/o4.wav"})
        outside.Write(rel, "outside");
    const std::string day = "ROZMOWY/2024/03/05/";
    Card(day + "real.wav");
    const auto link = [&](const std::string& Target, const std::string& Rel) {
        std::filesystem::create_symlink(Target, card.Path(Rel));
    };
    link(secret, day + "secret.wav");
    link(outside.Path("2024"), "ROZMOWY/2025");
    link(outside.Path("03"), "ROZMOWY/2024/04");
    link(outside.Path("05"), "ROZMOWY/2024/03/06");
    link(card.Path("ROZMOWY/2024/03/05"), "ROZMOWY/2024/03/07");
    link(card.Path(day + "real.wav"), day + "again.wav");

    EXPECT_EQ(List(), (Strings{day + "real.wav"}));
    for (const char* rel : {"ROZMOWY/2025", "ROZMOWY/2024/04", "ROZMOWY/2024/03/06", "ROZMOWY/2024/03/07",
                            "ROZMOWY/2024/03/05/secret.wav", "ROZMOWY/2024/03/05/again.wav"}) {
        const std::string line = "Import: " + card.Path(rel) + " is a link; skipped";
        EXPECT_NE(std::find(sink.Log_.begin(), sink.Log_.end(), line), sink.Log_.end()) << line;
    }
    const TCardImportResult r = Import();
    EXPECT_EQ(r.Found, 1);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(Stored(), (Strings{"real.wav"}));

    // The card's whole tree behind a link.
    TTempFolder linked{"yorde-import-linked"};
    std::filesystem::create_symlink(outside.Path("ROZMOWY"), linked.Path("ROZMOWY"));
    EXPECT_TRUE(ListCardRecordings(linked.Root(), sink).Paths.empty());
}

// The walk and the copies are apart in time: a file or a folder swapped for
// a link after the walk is not read through it either, and a file swapped
// for something else than a plain file (a folder, a pipe) is refused.
TEST_F(CardImportTest, WhatIsSwappedForALinkAfterTheWalkIsNotRead) {
    TTempFolder outside{"yorde-import-outside"};
    outside.Write("secret.wav", "not the card's");
    outside.Write("06/b.wav", "not the card's either");
    Card("ROZMOWY/2024/03/05/a.wav");
    Card("ROZMOWY/2024/03/06/b.wav");
    Card("ROZMOWY/2024/03/07/c.wav");
    Card("ROZMOWY/2024/03/08/d.wav");
    Card("ROZMOWY/2024/03/09/e.wav");
    const TCardRecordings walked = ListCardRecordings(Drive(), sink);
    ASSERT_EQ(walked.Paths.size(), 5u);

    std::filesystem::remove(card.Path("ROZMOWY/2024/03/05/a.wav"));
    std::filesystem::create_symlink(outside.Path("secret.wav"), card.Path("ROZMOWY/2024/03/05/a.wav"));
    std::filesystem::rename(card.Path("ROZMOWY/2024/03/06"), card.Path("ROZMOWY/2024/03/moved"));
    std::filesystem::create_symlink(outside.Path("06"), card.Path("ROZMOWY/2024/03/06"));
    std::filesystem::remove(card.Path("ROZMOWY/2024/03/07/c.wav"));
    card.MakeDir("ROZMOWY/2024/03/07/c.wav");
    // A pipe nobody writes to: a reader that waited would wait for ever.
    std::filesystem::remove(card.Path("ROZMOWY/2024/03/09/e.wav"));
    ASSERT_EQ(::mkfifo(card.Path("ROZMOWY/2024/03/09/e.wav").c_str(), 0600), 0);

    const TCardImportResult r = ImportCardRecordings(walked, program.Root(), sink);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(r.Failed, 4);
    EXPECT_EQ(Stored(), (Strings{"d.wav"}));
    EXPECT_EQ(Rows().size(), 1u);
    const std::string throughLink =
        "Import: " + card.Path("ROZMOWY/2024/03/06/b.wav") + " not imported: its path leads through a link";
    EXPECT_NE(std::find(sink.Log_.begin(), sink.Log_.end(), throughLink), sink.Log_.end());
}

// A file is opened only below the card's root, whatever its path spells:
// no step climbs out, and a path outside the card is refused.
TEST_F(CardImportTest, AFileIsOpenedOnlyBelowTheCardsRoot) {
    Card("ROZMOWY/2024/03/05/a.wav");
    program.Write("outside.wav", "not the card's");
    const AnsiString root = Drive();
    EXPECT_TRUE(OpenCardFile(root, root + "ROZMOWY/2024/03/05/a.wav"));
    const std::string programName = std::filesystem::path(program.Dir()).filename().string();
    for (const std::string& rel :
         Strings{"../" + programName + "/outside.wav", "ROZMOWY/2024/03/05/../05/a.wav", "ROZMOWY/./2024/03/05/a.wav",
                 "ROZMOWY//2024/03/05/a.wav", "ROZMOWY/2024/03/05/", ""}) {
        errno = 0;
        EXPECT_FALSE(OpenCardFile(root, root + rel)) << rel;
        EXPECT_EQ(errno, EINVAL) << rel;
    }
    errno = 0;
    EXPECT_FALSE(OpenCardFile(root, program.Path("outside.wav")));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_FALSE(OpenCardFile(root, root + "ROZMOWY/2024/03/05"));  // a folder
}

TEST_F(CardImportTest, RowsComeFromTheNameAndTheSizeAndFilesAreCopiedAsTheyAre) {
    Card("ROZMOWY/2024/03/05/20240305_140211_0123_a56_1.wav", 16250, 'a');
    Card("ROZMOWY/2024/03/05/20240305_150000_000_0_1.wav", 16249, 'b');
    Card("ROZMOWY/2024/03/06/rec.wav", 3250, 'c');  // not the device's pattern: registered all the same

    const TCardImportResult r = Import();
    EXPECT_EQ(r.Found, 3);
    EXPECT_EQ(r.Imported, 3);
    EXPECT_EQ(r.Failed, 0);
    EXPECT_FALSE(r.DiskFull);
    const Strings rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "2024-03-05      14:02:11|123|*56|10|20240305_140211_0123_a56_1.wav");
    EXPECT_EQ(rows[1], "2024-03-05      15:00:00|||9|20240305_150000_000_0_1.wav");
    EXPECT_TRUE(rows[2].ends_with("|2|rec.wav")) << rows[2];
    EXPECT_EQ(program.Read("files/20240305_140211_0123_a56_1.wav"), std::string(16250, 'a'));
    EXPECT_EQ(program.Read("files/rec.wav"), std::string(3250, 'c'));
    EXPECT_EQ(Stored(), (Strings{"20240305_140211_0123_a56_1.wav", "20240305_150000_000_0_1.wav", "rec.wav"}));
}

TEST_F(CardImportTest, StoredDeletedAndHostileNamesAreNeitherRegisteredNorCopied) {
    // The program's own card tree: mixed case, one file stored, one deleted, one hostile.
    Card("Rozmowy/2024/03/05/20240305_100000_101_202_.WAV", 1625, 'n');
    Card("ROZMOWY/2024/03/05/20240305_110000_101_202_.wav", 1625, 'c');
    Card("ROZMOWY/2024/03/06/20240306_120000_101_202_.wav", 1625, 'd');
    Card("rozmowy/2024/03/06/..\\..\\evil.wav", 1625, 'e');
    db.ExecDml(
        "INSERT INTO Files VALUES('2024-03-05      11:00:00', '101', '202', 1, '20240305_110000_101_202_.wav');");
    program.Write("files/20240305_110000_101_202_.wav", "stored");
    db.ExecDml("INSERT INTO DeletedFiles VALUES('20240306_120000_101_202_.wav');");

    TCardImportResult r = Import();
    EXPECT_EQ(r.Found, 4);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(r.Skipped, 2);
    EXPECT_EQ(r.Failed, 1);
    EXPECT_EQ(Rows(), (Strings{"2024-03-05      11:00:00|101|202|1|20240305_110000_101_202_.wav",
                               "2024-03-05      10:00:00|101|202|1|20240305_100000_101_202_.WAV"}));
    EXPECT_EQ(Stored(), (Strings{"20240305_100000_101_202_.WAV", "20240305_110000_101_202_.wav"}));
    EXPECT_EQ(program.Read("files/20240305_110000_101_202_.wav"), "stored");
    EXPECT_FALSE(std::filesystem::exists(program.Path("evil.wav")));
    EXPECT_FALSE(std::filesystem::exists(program.Path("files/..\\..\\evil.wav")));

    // A second import of the same card adds nothing and copies nothing again.
    r = Import();
    EXPECT_EQ(r.Imported, 0);
    EXPECT_EQ(r.Skipped, 3);
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Stored().size(), 2u);
}

TEST_F(CardImportTest, AnExistingFileOfTheSameSizeIsKeptAndAnOrphanOfAnotherSizeReplaced) {
    Card("ROZMOWY/2024/03/05/same.wav", 100, 'n');
    Card("ROZMOWY/2024/03/05/cut.wav", 100, 'n');
    program.Write("files/same.wav", std::string(100, 'o'));
    program.Write("files/cut.wav", std::string(40, 'o'));  // a download cut off

    EXPECT_EQ(Import().Imported, 2);
    EXPECT_EQ(program.Read("files/same.wav"), std::string(100, 'o'));
    EXPECT_EQ(program.Read("files/cut.wav"), std::string(100, 'n'));
    EXPECT_EQ(Rows().size(), 2u);
}

// A card is someone else's file system: its files' mode bits never reach
// "files". A copy gets the mode a download gets (read and write for the
// owner, read for the others), less what the umask takes.
TEST_F(CardImportTest, ACopyGetsTheModeOfADownloadWhateverTheCardGaveIt) {
    const std::vector<std::pair<std::string, mode_t>> onCard = {
        {"setuid.wav", 04755}, {"setgid.wav", 02755}, {"all.wav", 07777}, {"exec.wav", 0711}, {"owner.wav", 0600}};
    for (const mode_t mask : {mode_t(0), mode_t(027)}) {
        SCOPED_TRACE(mask);
        TUmaskScope scope(mask);
        std::filesystem::remove_all(program.Path("files"));
        program.MakeDir("files");
        db.ExecDml("DELETE FROM Files;");
        for (const auto& [name, mode] : onCard)
            ASSERT_EQ(::chmod(Card("ROZMOWY/2024/03/05/" + name).c_str(), mode), 0) << name;
        EXPECT_EQ(Import().Imported, int(onCard.size()));
        for (const auto& [name, mode] : onCard)
            EXPECT_EQ(ModeOf(program.Path("files/" + name)), 0644u & ~unsigned(mask)) << name;
    }
}

TEST_F(CardImportTest, ProgressAfterEachFileAndAReloadEveryTenthFile) {
    for (int i = 0; i < 12; ++i) Card("ROZMOWY/2024/03/05/f" + std::to_string(10 + i) + ".wav");
    db.ExecDml("INSERT INTO DeletedFiles VALUES('f11.wav');");  // skipped files count as well

    const TCardImportResult r = Import();
    EXPECT_EQ(r.Imported, 11);
    EXPECT_EQ(sink.Progress_, (std::vector<int>{0, 8, 16, 25, 33, 41, 50, 58, 66, 75, 83, 91}));
    // After the 1st and the 11th file; the window reloads once more at the end.
    EXPECT_EQ(sink.ReloadsAfter, (std::vector<int>{1, 11}));
}

TEST_F(CardImportTest, OneFailingFileDoesNotStopTheOthers) {
    Card("ROZMOWY/2024/03/05/a.wav");
    Card("ROZMOWY/2024/03/05/b'quote.wav");
    Card("ROZMOWY/2024/03/05/c.wav");
    Card("ROZMOWY/2024/03/05/d.wav");
    db.ExecDml(
        "CREATE TRIGGER refuse BEFORE INSERT ON Files WHEN NEW.Filename = 'd.wav' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    TCardImportFiles files;
    files.Copy = [](const AnsiString& Source, int, const AnsiString& Target) {
        if (Source.ends_with("c.wav")) return EIO;  // an unreadable card sector, say
        std::filesystem::copy_file(Source, Target);
        return 0;
    };

    const TCardImportResult r = Import(files);
    EXPECT_EQ(r.Imported, 2);
    EXPECT_EQ(r.Failed, 2);
    EXPECT_FALSE(r.DiskFull);
    // A name with an apostrophe is imported; a row that could not be written
    // takes its copy away again.
    EXPECT_EQ(Stored(), (Strings{"a.wav", "b'quote.wav"}));
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(sink.Progress_.size(), 4u);
}

TEST_F(CardImportTest, AFullDiskStopsTheImportWithNothingHalfWrittenOrRegistered) {
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) Card(std::string("ROZMOWY/2024/03/05/") + name, 5000);
    TCardImportFiles files;
    int free = 6000;
    files.Copy = [&](const AnsiString& Source, int, const AnsiString& Target) {
        if (free < 5000) return ENOSPC;  // the copier has removed its temporary file
        std::filesystem::copy_file(Source, Target);
        free -= 5000;
        return 0;
    };

    const TCardImportResult r = Import(files);
    EXPECT_TRUE(r.DiskFull);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(r.Failed, 0);
    EXPECT_EQ(Stored(), (Strings{"a.wav"}));
    EXPECT_EQ(Rows().size(), 1u);
    // Nothing is tried after the file that did not fit.
    EXPECT_EQ(sink.Progress_, (std::vector<int>{0}));
}

// A database that cannot grow (its disk is full) stops the import at the
// first row that does not fit, as a full disk does: not as one failed file
// with the import going on. The copy made for that row goes again; the rows
// before stay.
TEST_F(CardImportTest, AFullDatabaseStopsTheImportAsAFullDiskDoes) {
    Card("ROZMOWY/2024/03/05/a.wav");
    ASSERT_EQ(Import().Imported, 1);
    for (const char* name : {"b.wav", "c.wav", "d.wav"}) Card(std::string("ROZMOWY/2024/03/05/") + name);
    db.ExecDml(yorde::test::TFullDatabase::GrowOnInsertSql());
    sink.Progress_.clear();
    yorde::test::TFullDatabase full;

    const TCardImportResult r = Import();
    EXPECT_TRUE(r.DiskFull);
    EXPECT_EQ(r.Skipped, 1);
    EXPECT_EQ(r.Imported, 0);
    EXPECT_EQ(r.Failed, 0);
    EXPECT_EQ(Stored(), (Strings{"a.wav"}));
    EXPECT_EQ(Rows().size(), 1u);
    EXPECT_EQ(sink.Progress_, (std::vector<int>{0})) << "nothing is tried after the row that did not fit";
    const std::string said = "Import: " + card.Path("ROZMOWY/2024/03/05/b.wav") + " not imported: the disk is full";
    EXPECT_NE(std::find(sink.Log_.begin(), sink.Log_.end(), said), sink.Log_.end());
}

TEST_F(CardImportTest, AStopBetweenFilesAndAMissingDatabaseEndTheImportCleanly) {
    for (int i = 0; i < 3; ++i) Card("ROZMOWY/2024/03/05/s" + std::to_string(i) + ".wav");
    sink.StopAfter = 1;
    TCardImportResult r = Import();
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.Imported, 1);
    EXPECT_EQ(Stored(), (Strings{"s0.wav"}));

    // data.db in place of a folder: nothing can be registered, so nothing is copied.
    TTempFolder broken;
    broken.MakeDir("files");
    broken.MakeDir("data.db");
    TRecordingSink other;
    r = ImportCardRecordings(ListCardRecordings(Drive(), other), broken.Root(), other);
    EXPECT_EQ(r.Failed, 3);
    EXPECT_EQ(r.Imported, 0);
    EXPECT_TRUE(std::filesystem::is_empty(broken.Path("files")));
}
