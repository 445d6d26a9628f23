// What the exchange still owes, as kept in "data.db": the day the lists
// start from, the names that are owed no more, and a "data.db" made before
// the table existed.
#include "TempFolder.h"

#include "devicelink/OwedRecordings.h"
#include "store/LocalDatabases.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kDay = TOwedRecordings::kGiveUpSeconds;
constexpr int64_t kStart = 1700000000;

class OwedRecordings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(PrepareLocalDatabases(Dir.Root()).ExitCode, DB_READY);
        Db.Open(Dir.Path("data.db"));
        Owed.Prepare();
    }
    std::vector<std::string> Names() {
        SqliteStatement q(Db, "SELECT Filename FROM OwedFiles ORDER BY Filename;");
        std::vector<std::string> names;
        while (q.Step()) names.push_back(q.ColumnText(0));
        return names;
    }

    yorde::test::TTempFolder Dir{"yorde-owed"};
    SqliteDb Db;
    TOwedRecordings Owed{Db};
};

}  // namespace

// The oldest day among the names that start with a date the exchange can be
// asked for; names without one choose nothing.
TEST_F(OwedRecordings, OldestDayOfTheNamesThatStartWithADate) {
    EXPECT_EQ(Owed.OldestDate(), "");
    for (const char* name : {"0000abcd.wav", "2024031.wav", "00000000_1_2_.wav", "20241305_1_2_.wav",
                             "20240300_1_2_.wav", "20240332_1_2_.wav"})
        Owed.AskedInVain(name, kStart);
    EXPECT_EQ(Owed.OldestDate(), "");
    Owed.AskedInVain("20240305_080000_1_2_.wav", kStart);
    Owed.AskedInVain("20240302_080000_1_2_.wav", kStart);
    EXPECT_EQ(Owed.OldestDate(), "2024-03-02");
    Owed.Arrived("20240302_080000_1_2_.wav");
    EXPECT_EQ(Owed.OldestDate(), "2024-03-05");
    Owed.AskedInVain("20240304", kStart);  // the eight digits alone will do
    EXPECT_EQ(Owed.OldestDate(), "2024-03-04");
}

// A name is given up only once it has been asked for in vain in ten runs
// and at least a day has passed since the first; asking for it again after
// that starts anew.
TEST_F(OwedRecordings, GivenUpAfterTenRunsOverADay) {
    const std::string name = "20240305_080000_1_2_.wav";
    for (int run = 0; run < 20; ++run) EXPECT_TRUE(Owed.AskedInVain(name, kStart + run * 60)) << run;
    EXPECT_TRUE(Owed.AskedInVain(name, kStart + kDay - 1));
    EXPECT_EQ(Names(), std::vector<std::string>{name});
    EXPECT_FALSE(Owed.AskedInVain(name, kStart + kDay));
    EXPECT_TRUE(Names().empty());

    EXPECT_TRUE(Owed.AskedInVain(name, kStart + 2 * kDay));
    for (int run = 2; run < TOwedRecordings::kGiveUpRuns; ++run)
        EXPECT_TRUE(Owed.AskedInVain(name, kStart + 5 * kDay)) << run;
    EXPECT_FALSE(Owed.AskedInVain(name, kStart + 5 * kDay));
    EXPECT_EQ(Owed.OldestDate(), "");
}

// After a whole list, what is not to be fetched is owed no more.
TEST_F(OwedRecordings, OnlyWhatIsStillToBeFetchedStaysOwed) {
    for (const char* name : {"20240301_a.wav", "20240302_b.wav", "20240303_c.wav"}) Owed.AskedInVain(name, kStart);
    const std::vector<AnsiString> gone = Owed.KeepOnly({"20240302_b.wav", "20240309_new.wav"});
    EXPECT_EQ(gone, (std::vector<AnsiString>{"20240301_a.wav", "20240303_c.wav"}));
    EXPECT_EQ(Names(), std::vector<std::string>{"20240302_b.wav"});
    EXPECT_TRUE(Owed.KeepOnly({"20240302_b.wav"}).empty());
}

// A "data.db" of the three tables of old gets the table beside its rows;
// preparing it again changes nothing.
TEST_F(OwedRecordings, AnOlderDataDbGetsTheTableAndKeepsItsRows) {
    yorde::test::TTempFolder old{"yorde-owed-old"};
    {
        SqliteDb db;
        db.Open(old.Path("data.db"));
        db.ExecDml(
            "CREATE TABLE Files(Data TEXT, AbA TEXT, AbB TEXT, Czas INTEGER, Filename TEXT);"
            "CREATE TABLE DeletedFiles(Filename TEXT);"
            "CREATE TABLE AddressBook(user TEXT, nr TEXT, opis TEXT);"
            "INSERT INTO Files VALUES('2024-03-01      08:00:00', '1', '2', 3, '20240301_080000_1_2_.wav');");
    }
    SqliteDb db;
    db.Open(old.Path("data.db"));
    TOwedRecordings owed(db);
    owed.Prepare();
    owed.AskedInVain("20240302_080000_1_2_.wav", kStart);
    owed.Prepare();
    EXPECT_EQ(owed.OldestDate(), "2024-03-02");
    EXPECT_EQ(db.ExecQuery("SELECT count(*) FROM Files;").GetIntField(0), 1);
}
