#include "TempFolder.h"

#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class SqliteStatementTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Open(dir.Path("t.db"));
        db.ExecDml("CREATE TABLE Files(Data TEXT, Czas INTEGER, Filename TEXT);");
    }
    yorde::test::TTempFolder dir{"yorde-statement"};
    SqliteDb db;
};

// Values go in as values: quotes, statement ends and comments in a name stay
// part of the name.
TEST_F(SqliteStatementTest, BoundValuesAreNeverSql) {
    SqliteStatement insert(db, "INSERT INTO Files VALUES (?, ?, ?);");
    const AnsiString names[] = {"O'Brien.wav", "x');DELETE FROM Files;--.wav", AnsiString("nul\0in.wav", 10)};
    for (const AnsiString& name : names) {
        insert.Reset();
        EXPECT_EQ(insert.Bind(1, AnsiString("2024-03-05      14:02:11")).Bind(2, int64_t(7)).Bind(3, name).Exec(), 1);
    }
    SqliteStatement select(db, "SELECT Filename, Czas, typeof(Czas) FROM Files WHERE Filename = ?;");
    for (const AnsiString& name : names) {
        select.Reset();
        select.Bind(1, name);
        ASSERT_TRUE(select.Step()) << name;
        EXPECT_EQ(select.ColumnText(0), name);
        EXPECT_EQ(select.ColumnInt64(1), 7);
        EXPECT_EQ(select.ColumnText(2), "integer");
        EXPECT_FALSE(select.Step());
    }
    // A reset statement runs again with no value bound: an unbound parameter is NULL.
    select.Reset();
    ASSERT_FALSE(select.Step());
    SqliteStatement again(db, "SELECT ? IS NULL;");
    again.Bind(1, AnsiString("kept?"));
    ASSERT_TRUE(again.Step());
    EXPECT_EQ(again.ColumnInt64(0), 0);
    again.Reset();
    ASSERT_TRUE(again.Step());
    EXPECT_EQ(again.ColumnInt64(0), 1);

    SqliteStatement count(db, "SELECT count(*), max(Data) FROM Files WHERE Czas > ?;");
    count.Bind(1, 7.5);
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(count.ColumnInt64(0), 0);
    EXPECT_TRUE(count.ColumnIsNull(1));
    EXPECT_THROW(SqliteStatement(db, "SELEC nothing"), SqliteException);
}

// A cancelled connection does not wait out the busy time-out for another
// connection's lock, and a long statement stops.
TEST_F(SqliteStatementTest, CancelFlagEndsWaitsAndStatements) {
    SqliteDb other;
    other.Open(dir.Path("t.db"));
    other.ExecDml("BEGIN IMMEDIATE; INSERT INTO Files VALUES ('a', 1, 'a');");
    std::atomic<bool> cancel{true};
    db.SetCancelFlag(&cancel);
    try {
        db.ExecDml("INSERT INTO Files VALUES ('b', 2, 'b');");
        ADD_FAILURE() << "the insert waited for the lock and passed";
    } catch (const SqliteException& e) {
        EXPECT_EQ(e.Code(), 5);  // busy
    }
    other.ExecDml("COMMIT;");

    SqliteStatement endless(db,
                            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT count(*) FROM n;");
    try {
        endless.Step();
        ADD_FAILURE() << "the statement ran to its end";
    } catch (const SqliteException& e) {
        EXPECT_EQ(e.Code(), 9);  // interrupted
    }
    cancel = false;
    EXPECT_EQ(db.ExecDml("INSERT INTO Files VALUES ('c', 3, 'c');"), 1);
}

}  // namespace
