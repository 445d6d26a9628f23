// Every value the program puts into its databases is bound, never written
// into a statement. The store's connections report the text of every
// statement they compile; the program's roads that touch a database (start-
// up, a sync run with its list writer, an SD-card import, the recordings
// list with its filter and the address book, a delete, the retention purge)
// run twice, with outside data that differs only in its values, every one
// of them marked. No statement may hold a marked value, and both runs must
// compile exactly the same statements: a statement built from data would
// differ.
#include "DeviceSim.h"
#include "QuietCardSink.h"
#include "SyncTestSupport.h"

#include "TempFolder.h"
#include "rtl/DateTime.h"
#include "store/AddressBook.h"
#include "store/CardImport.h"
#include "store/LocalDatabases.h"
#include "store/RecordingRemoval.h"
#include "store/RecordingsQuery.h"
#include "store/SqliteDb.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

namespace {

// The outside data of one pass: a mark in every text, digits for numbers.
struct TOutsideData {
    std::string Mark;    // goes into names, users and descriptions
    std::string Digits;  // goes into subscriber numbers
};

class TStatements {
public:
    TStatements() {
        SetSqlStatementObserver([this](const char* sql) {
            std::lock_guard lk(mu);
            seen.insert(sql);
        });
    }
    ~TStatements() { SetSqlStatementObserver({}); }
    TStatements(const TStatements&) = delete;
    TStatements& operator=(const TStatements&) = delete;

    std::set<std::string> Take() {
        std::lock_guard lk(mu);
        return std::exchange(seen, {});
    }

private:
    std::mutex mu;
    std::set<std::string> seen;
};

std::string Name(const TOutsideData& Data, int Index) {
    return "2024030" + std::to_string(1 + Index % 3) + "_08000" + std::to_string(Index) + "_" + Data.Digits + "_" +
           Data.Digits + "_" + Data.Mark + ".wav";
}

// Every road of the program that runs statements, fed with Data.
void RunTheRoads(const TOutsideData& Data) {
    yorde::test::TTempFolder program("yorde-sql-program"), card("yorde-sql-card");
    program.MakeDir("files");
    ASSERT_EQ(PrepareLocalDatabases(program.Root()).ExitCode, DB_READY);

    // A sync run and its list writer.
    TDeviceSimulator sim;
    sim.SetPassword("47150392");
    for (int i = 0; i < 4; ++i) sim.AddRecording(Name(Data, i), std::string(2000 + size_t(i), 'r'));
    ASSERT_TRUE(sim.Start(0));
    SetSyncBaseOverride(sim.BaseUrl());
    {
        auto ui = std::make_shared<synctest::TRecordingUi>();
        HTTPThread run(TSyncSettings{"http://127.0.0.1", "47150392", program.Root(), {}, {}, {}}, ui);
        ASSERT_TRUE(ui->WaitFinished());
        ASSERT_EQ(ui->LastMessage(), "");
    }
    SetSyncBaseOverride("");
    sim.Stop();

    // An SD-card import.
    for (int i = 4; i < 6; ++i) card.Write("ROZMOWY/2024/03/01/" + Name(Data, i), std::string(1700, 'c'));
    reliability::TQuietCardSink sink;
    const TCardImportResult imported =
        ImportCardRecordings(ListCardRecordings(card.Root(), sink), program.Root(), sink);
    ASSERT_EQ(imported.Imported, 2);

    SqliteDb db;
    db.Open(program.Path("data.db"));
    // The address book, and the list of a user who sees one number, with
    // descriptions, a date range and both number filters.
    const AnsiString user = "user " + Data.Mark;
    SaveAddressBook(db, user, {{Data.Digits, "desk " + Data.Mark}, {Data.Digits + "9", "door " + Data.Mark}});
    ASSERT_EQ(LoadAddressBook(db, user).size(), 2u);
    TRecordingsFilter filter;
    filter.UserName = user;
    filter.ViewKind = rkNumber;
    filter.ViewNumber = Data.Digits;
    filter.AddressBook = true;
    filter.FromOn = filter.ToOn = true;
    filter.From = "2024-03-01      00:00:00";
    filter.To = "2024-03-31      23:59:59";
    filter.NumberA = filter.NumberB = Data.Digits;
    filter.SortClause = "ORDER BY 1 DESC";
    const TSqlStatement list = BuildRecordingsQuery(filter);
    int rows = 0;
    for (SqliteQuery q = db.ExecQuery(list.Sql, list.Values); !q.Eof(); q.NextRow()) ++rows;
    EXPECT_EQ(rows, 6);

    // A delete, then the purge of everything older than a month.
    EXPECT_TRUE(RemoveStoredRecording(db, program.Path("files/"), Name(Data, 0)));
    const TPurgeResult purged = PurgeRecordingsBefore(db, program.Path("files/"),
                                                      RetentionCutoff(db, EncodeDate(2024, 6, 1), 1), Name(Data, 1));
    EXPECT_EQ(purged.Purged, 4);
}

}  // namespace

TEST(SqlBinding, NoValueEverBecomesPartOfAStatement) {
    const TOutsideData first{"O'Hara\"; DROP TABLE Files; --", "5551234"};
    const TOutsideData second{"Zed'); DELETE FROM DeletedFiles; --", "7770001"};
    TStatements statements;
    RunTheRoads(first);
    const std::set<std::string> firstSql = statements.Take();
    RunTheRoads(second);
    const std::set<std::string> secondSql = statements.Take();

    // The roads ran the statements that store what came from outside.
    for (const char* expected : {"INSERT INTO Files(Data, AbA, AbB, Czas, Filename) VALUES(?, ?, ?, ?, ?);",
                                 "INSERT INTO DownFiles VALUES(?, ?, ?);", "INSERT INTO AddressBook VALUES(?, ?, ?);",
                                 "INSERT INTO DeletedFiles VALUES (?);"})
        EXPECT_TRUE(firstSql.count(expected)) << expected;
    EXPECT_GT(firstSql.size(), 20u);

    for (const auto& [sql, data] : {std::pair{&firstSql, &first}, std::pair{&secondSql, &second}})
        for (const std::string& text : *sql) {
            EXPECT_EQ(text.find(data->Mark), std::string::npos) << text;
            EXPECT_EQ(text.find(data->Digits), std::string::npos) << text;
        }
    EXPECT_EQ(firstSql, secondSql) << "statements that depend on the data";
}
