// The recordings list's statement: its text for each combination of right,
// dates and numbers, and what it finds in a real database, including
// values that would break or change a statement written with literals.
#include "store/LocalDatabases.h"
#include "store/Recordings.h"
#include "store/RecordingsQuery.h"
#include "store/SqliteDb.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

TRecordingsFilter ForNumber(const char* Number) {
    TRecordingsFilter f;
    f.UserName = "jan";
    f.ViewKind = rkNumber;
    f.ViewNumber = Number;
    f.SortClause = "ORDER BY 4";
    return f;
}

TRecordingsFilter ForAll() {
    TRecordingsFilter f;
    f.UserName = "admin";
    f.ViewKind = rkAll;
    return f;
}

}  // namespace

TEST(RecordingsQuery, StatementTextsFollowTheRightDatesAndNumbers) {
    const TSqlStatement own = BuildRecordingsQuery(ForNumber("101"));
    EXPECT_EQ(own.Sql, "SELECT * FROM Files WHERE (AbA = ? OR AbB = ?) ORDER BY 4");
    EXPECT_EQ(RenderSql(own), "SELECT * FROM Files WHERE (AbA = '101' OR AbB = '101') ORDER BY 4");

    TRecordingsFilter f = ForAll();
    f.FromOn = f.ToOn = true;
    f.From = "2026-01-01      00:00:00";
    f.To = "2026-01-31      23:59:59";
    f.NumberA = f.NumberB = "200";
    EXPECT_EQ(RenderSql(BuildRecordingsQuery(f)),
              "SELECT * FROM Files WHERE (Data >= '2026-01-01      00:00:00' AND Data <= '2026-01-31      23:59:59' ) "
              "AND (AbA = '200' OR AbB = '200' ) ");

    f.NumberB = "300";
    f.FromOn = false;
    EXPECT_EQ(RenderSql(BuildRecordingsQuery(f)),
              "SELECT * FROM Files WHERE (Data <= '2026-01-31      23:59:59' ) AND (AbA = '200' AND AbB = '300' ) ");
    f.ToOn = false;
    EXPECT_EQ(BuildRecordingsQuery(f).Sql, "SELECT * FROM Files WHERE AbA = ? AND AbB = ? ");
    f.NumberA.clear();
    EXPECT_EQ(BuildRecordingsQuery(f).Sql, "SELECT * FROM Files WHERE AbB = ? ");
    f.NumberB.clear();
    EXPECT_EQ(BuildRecordingsQuery(f).Sql, "SELECT * FROM Files ");

    // A restricted user: the own number closes every form of the clause.
    TRecordingsFilter r = ForNumber("201");
    r.SortClause.clear();
    r.FromOn = true;
    r.From = "2026-01-01      00:00:00";
    r.NumberA = "5";
    const TSqlStatement both = BuildRecordingsQuery(r);
    EXPECT_EQ(both.Sql, "SELECT * FROM Files WHERE (Data >= ? ) AND (AbA = ? ) AND (AbA =? OR AbB = ?) ");
    EXPECT_EQ(both.Values, (SqlValues{"2026-01-01      00:00:00", "5", "201", "201"}));
    r.NumberA.clear();
    EXPECT_EQ(BuildRecordingsQuery(r).Sql, "SELECT * FROM Files WHERE (Data >= ? ) AND (AbA =? OR AbB = ?) ");
}

TEST(RecordingsQuery, TheAddressBookLayoutJoinsTheUsersDescriptionsOnBothSides) {
    TRecordingsFilter f = ForNumber("201");
    f.AddressBook = true;
    f.ToOn = true;
    f.To = "2026-02-01      00:00:00";
    const TSqlStatement s = BuildRecordingsQuery(f);
    EXPECT_EQ(s.Values, (SqlValues{"jan", "jan", "2026-02-01      00:00:00", "201", "201"}));
    EXPECT_NE(s.Sql.find("AND User = ?) AS T1 INNER JOIN"), AnsiString::npos);
    EXPECT_NE(s.Sql.find("AND User = ?) AS T2 ON T1.rowid = T2.rowid) WHERE (T1.Data <= ? ) AND"), AnsiString::npos);
    EXPECT_EQ(s.Sql.substr(s.Sql.size() - 10), "ORDER BY 4");
}

class RecordingsQueryDb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(PrepareLocalDatabases(dir.Path("")).ExitCode, DB_READY);
        db.Open(dir.Path("data.db"));
        const char* rows[][5] = {
            {"2026-01-02      08:00:00", "201", "300", "10", "a_.wav"},
            {"2026-01-02      09:00:00", "300", "201", "20", "b_M_.wav"},
            {"2026-01-03      10:00:00", "202", "300", "30", "c_.wav"},
            {"2026-01-04      11:00:00", "x'y", "300", "40", "d_.wav"},
        };
        for (const auto& r : rows)
            db.ExecDml("INSERT INTO Files VALUES(?, ?, ?, ?, ?);",
                       {AnsiString(r[0]), AnsiString(r[1]), AnsiString(r[2]), AnsiString(r[3]), AnsiString(r[4])});
        for (const auto& e : {std::array<const char*, 3>{"o'neil", "300", "Office"},
                              std::array<const char*, 3>{"o'neil", "201", "Reception"},
                              std::array<const char*, 3>{"other", "202", "Not yours"}})
            db.ExecDml("INSERT INTO AddressBook VALUES(?, ?, ?);",
                       {AnsiString(e[0]), AnsiString(e[1]), AnsiString(e[2])});
    }

    std::vector<std::vector<AnsiString>> Run(const TRecordingsFilter& f) {
        const TSqlStatement s = BuildRecordingsQuery(f);
        std::vector<std::vector<AnsiString>> out;
        for (SqliteQuery q = db.ExecQuery(s.Sql, s.Values); !q.Eof(); q.NextRow()) {
            std::vector<AnsiString> row;
            for (int c = 0; c < RecordingLayout(f.AddressBook).Count(); ++c) row.push_back(q.FieldValue(c));
            out.push_back(row);
        }
        return out;
    }

    yorde::test::TTempFolder dir;
    SqliteDb db;
};

TEST_F(RecordingsQueryDb, ARestrictedUserSeesOnlyCallsOfTheirNumberInEitherRole) {
    TRecordingsFilter f = ForNumber("201");
    f.SortClause = "ORDER BY 1";
    const auto rows = Run(f);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][4], "a_.wav");
    EXPECT_EQ(rows[1][4], "b_M_.wav");
    f.FromOn = true;
    f.From = "2026-01-02      08:30:00";
    ASSERT_EQ(Run(f).size(), 1u);
}

TEST_F(RecordingsQueryDb, QuotesInValuesAreMatchedAsTextAndNeverBreakTheStatement) {
    TRecordingsFilter f = ForAll();
    f.NumberA = "x'y";
    auto rows = Run(f);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][4], "d_.wav");
    // What a literal would have turned into "every row".
    f.NumberA = "' OR '1'='1";
    EXPECT_TRUE(Run(f).empty());
    TRecordingsFilter r = ForNumber("201' OR 'a'='a");
    EXPECT_TRUE(Run(r).empty());

    // The written-out statement finds what the bound one finds.
    for (const char* number : {"x'y", "' OR '1'='1"}) {
        f.NumberA = number;
        int rendered = 0;
        for (SqliteQuery q = db.ExecQuery(RenderSql(BuildRecordingsQuery(f))); !q.Eof(); q.NextRow()) ++rendered;
        EXPECT_EQ(Run(f).size(), std::size_t(rendered)) << number;
    }
    EXPECT_EQ(RenderSql(BuildRecordingsQuery(f)), "SELECT * FROM Files WHERE AbA = ''' OR ''1''=''1' ");
}

TEST_F(RecordingsQueryDb, DescriptionsComeFromTheUsersOwnBookAndADashStandsForNone) {
    TRecordingsFilter f = ForAll();
    f.UserName = "o'neil";
    f.AddressBook = true;
    f.SortClause = "ORDER BY 1";
    const auto rows = Run(f);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<AnsiString>{"2026-01-02      08:00:00", "201", "Reception", "300", "Office", "10",
                                                "a_.wav"}));
    EXPECT_EQ(rows[2][1], "202");
    EXPECT_EQ(rows[2][2], "-");  // another user's entry is not shown
    f.SortClause = "ORDER BY lower(opisik1) DESC";
    EXPECT_EQ(Run(f)[0][2], "Reception");
}

TEST_F(RecordingsQueryDb, EachColumnOfEitherLayoutSortsTheListByItselfBothWays) {
    TRecordingsFilter f = ForAll();
    f.UserName = "o'neil";
    for (bool book : {false, true}) {
        f.AddressBook = book;
        const TRecordingLayout& layout = RecordingLayout(book);
        for (int i = 0; i < layout.Shown(); ++i) {
            SCOPED_TRACE(testing::Message() << "book " << book << ", column " << i);
            std::vector<AnsiString> up, down;
            f.SortClause = RecordingsSortClause(layout, layout.At(i), false);
            for (const auto& row : Run(f)) up.push_back(row[size_t(i)]);
            f.SortClause = RecordingsSortClause(layout, layout.At(i), true);
            for (const auto& row : Run(f)) down.push_back(row[size_t(i)]);
            ASSERT_EQ(up.size(), 4u);
            EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
            EXPECT_TRUE(std::is_sorted(down.rbegin(), down.rend()));
            EXPECT_NE(up, down);
        }
    }
    // A column the layout lacks leaves the order alone.
    EXPECT_EQ(RecordingsSortClause(RecordingLayout(false), TRecordingColumn::CallerDescription, true), "");
}

TEST(StoredRecordingName, OnlyPlainWaveNamesOfTheFilesFolderPass) {
    // Bound texts are texts, also the empty one: it is no NULL.
    {
        yorde::test::TTempFolder dir;
        SqliteDb db;
        db.Open(dir.Path("t.db"));
        db.ExecDml("CREATE TABLE t(s TEXT);");
        db.ExecDml("INSERT INTO t VALUES(?);", {AnsiString()});
        EXPECT_EQ(db.ExecQuery("SELECT count(*) FROM t WHERE s = ? AND s IS NOT NULL;", {AnsiString()}).GetIntField(0),
                  1);
    }
    for (const char* good : {"20260102_123456_101_202_.wav", "x.WAV", "a_M_.Wav"})
        EXPECT_TRUE(IsStoredRecordingName(good)) << good;
    for (const char* bad : {"", ".wav", "../x.wav", "a/b.wav", "a\\b.wav", "..wav", "x..y.wav", "x.wav.txt", "x.wa"})
        EXPECT_FALSE(IsStoredRecordingName(bad)) << bad;
    EXPECT_FALSE(IsStoredRecordingName(AnsiString("a\0b.wav", 7)));
}
