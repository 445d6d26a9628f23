#include "rtl/Exceptions.h"
#include "store/SqliteDb.h"
#include "store/SqliteTransaction.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <type_traits>

namespace {

static_assert(!std::is_base_of_v<Exception, SqliteException>, "handlers for Exception must not see database errors");

template <class F>
SqliteException ErrorOf(F f) {
    try {
        f();
    } catch (const SqliteException& e) {
        return e;  // copied: the text must survive the copy
    }
    ADD_FAILURE() << "no SqliteException";
    return SqliteException(0, "none", false);
}

class SqliteDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.Open(dir.Path("test.db"));
        db.ExecDml("CREATE TABLE t(n INTEGER, s TEXT);");
    }
    yorde::test::TTempFolder dir;
    SqliteDb db;
};

TEST_F(SqliteDbTest, LayerErrorsUseCode1000AndFixedTexts) {
    db.ExecDml("INSERT INTO t VALUES(1, 'a');");
    SqliteQuery q = db.ExecQuery("SELECT n, s FROM t;");
    for (int bad : {-1, 2}) {
        const SqliteException e = ErrorOf([&] { q.FieldValue(bad); });
        EXPECT_EQ(DBLAYER_ERROR, e.Code());
        EXPECT_STREQ("DBLAYER_ERROR[1000]: Invalid field index requested", e.Message());
    }
    SqliteQuery taker;
    taker = std::move(q);
    EXPECT_EQ("a", taker.GetStringField(1));
    EXPECT_STREQ("DBLAYER_ERROR[1000]: Null Virtual Machine pointer", ErrorOf([&] { q.Eof(); }).Message());

    // A value without its "?" is refused, and the statement is not left behind.
    EXPECT_EQ(SQLITE_RANGE, ErrorOf([&] { db.ExecDml("DELETE FROM t;", {std::int64_t(1)}); }).Code());
    EXPECT_EQ(SQLITE_RANGE, ErrorOf([&] { db.ExecQuery("SELECT 1;", {AnsiString("x")}); }).Code());
    taker = SqliteQuery();
    EXPECT_EQ(nullptr, sqlite3_next_stmt(db.Handle(), nullptr));

    SqliteDb closed;
    EXPECT_STREQ("DBLAYER_ERROR[1000]: Database not open", ErrorOf([&] { closed.ExecDml("SELECT 1;"); }).Message());
}

TEST_F(SqliteDbTest, SqliteErrorsCarryCodeNameAndMessage) {
    EXPECT_STREQ("SQLITE_ERROR[1]: ", ErrorOf([&] { db.ExecQuery("SELEKT 1;"); }).Message());
    EXPECT_STREQ("SQLITE_ERROR[1]: no such table: x",
                 ErrorOf([&] { db.ExecDml("INSERT INTO x VALUES(1);"); }).Message());

    // A failure on a later row ends the query: no statement is left.
    db.ExecDml("INSERT INTO t VALUES(1, 'a'); INSERT INTO t VALUES(2, 'b');");
    SqliteQuery q = db.ExecQuery("SELECT CASE n WHEN 2 THEN abs(-9223372036854775808) ELSE n END FROM t;");
    EXPECT_EQ(1, q.GetIntField(0));
    EXPECT_STREQ("SQLITE_ERROR[1]: integer overflow", ErrorOf([&] { q.NextRow(); }).Message());
    EXPECT_EQ(DBLAYER_ERROR, ErrorOf([&] { q.Eof(); }).Code());
}

TEST_F(SqliteDbTest, RowsChangesAndNulls) {
    EXPECT_TRUE(db.ExecQuery("SELECT n FROM t;").Eof());
    EXPECT_EQ(2, db.ExecDml("INSERT INTO t VALUES(1, 'one'); INSERT INTO t VALUES(2, NULL), (NULL, " +
                            SqlQuote("O'Brien") + ");"));
    SqliteQuery q = db.ExecQuery("SELECT n, s FROM t ORDER BY rowid;");
    std::string seen;
    for (; !q.Eof(); q.NextRow()) {
        seen += std::to_string(q.GetIntField(0, -7)) + "," + AnsiString(q.FieldValue(1)) + "," +
                q.GetStringField(1, "null") + (q.FieldValue(1).IsNull() ? ",no text" : "") + ";";
    }
    EXPECT_EQ("1,one,one;2,,null,no text;-7,O'Brien,O'Brien;", seen);
}

TEST_F(SqliteDbTest, FailedOpenLeavesNoConnection) {
    std::filesystem::create_directory(dir.Path("folder.db"));
    EXPECT_EQ(14, ErrorOf([&] { db.Open(dir.Path("folder.db")); }).Code());
    EXPECT_EQ(DBLAYER_ERROR, ErrorOf([&] { db.ExecDml("SELECT 1;"); }).Code());
}

TEST_F(SqliteDbTest, LockHeldElsewhereGivesBusyAndTransactionsRollBackOnUnwind) {
    SqliteDb other;
    other.Open(dir.Path("test.db"));
    other.SetBusyTimeout(20);
    try {
        SqliteTransaction tr(db, SqliteTransaction::Immediate);
        db.ExecDml("INSERT INTO t VALUES(1, 'lost');");
        EXPECT_STREQ("SQLITE_BUSY[5]: database is locked",
                     ErrorOf([&] { other.ExecDml("INSERT INTO t VALUES(2, 'x');"); }).Message());
        db.ExecDml("INSERT INTO x VALUES(1);");
        tr.Commit();
    } catch (const SqliteException&) {
    }
    {
        SqliteTransaction tr(other);
        other.ExecDml("INSERT INTO t VALUES(3, 'kept');");
        tr.Commit();
    }
    EXPECT_EQ("kept", db.ExecQuery("SELECT group_concat(s) FROM t;").GetStringField(0));
}

// A second writer waits for the first one's lock instead of failing at once
// with "database is locked": the busy time-out holds for a fresh connection,
// one opened again after a close, and one that watches a cancel flag that is
// not set (as a sync run's do).
TEST_F(SqliteDbTest, ASecondWriterWaitsForTheFirst) {
    std::mutex mu;
    std::condition_variable cv;
    bool started = false;
    SetSqlStatementObserver([&](const char* sql) {
        if (std::string(sql).find("'second'") == std::string::npos) return;
        {
            std::lock_guard lk(mu);
            started = true;
        }
        cv.notify_all();
    });
    const std::atomic<bool> notCancelled{false};
    SqliteDb fresh, reopened, watching;
    fresh.Open(dir.Path("test.db"));
    reopened.Open(dir.Path("test.db"));
    reopened.Close();
    reopened.Open(dir.Path("test.db"));
    watching.SetCancelFlag(&notCancelled);
    watching.Open(dir.Path("test.db"));

    int n = 0;
    for (SqliteDb* second : {&fresh, &reopened, &watching}) {
        SCOPED_TRACE(n);
        started = false;
        db.ExecDml("BEGIN IMMEDIATE; INSERT INTO t VALUES(" + std::to_string(++n) + ", 'first');");
        std::string failure;
        std::thread writer([&] {
            try {
                second->ExecDml("INSERT INTO t VALUES(" + std::to_string(n) + ", 'second');");
            } catch (const SqliteException& e) {
                failure = e.Message();
            }
        });
        {
            std::unique_lock lk(mu);
            cv.wait(lk, [&] { return started; });
        }
        // The first writer's transaction goes on for a while after the second has begun.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        db.ExecDml("COMMIT;");
        writer.join();
        EXPECT_EQ(failure, "");
        EXPECT_EQ(db.ExecQuery("SELECT group_concat(s) FROM t WHERE n = " + std::to_string(n) + ";").GetStringField(0),
                  "first,second");
    }
    SetSqlStatementObserver(nullptr);
}

}  // namespace

TEST_F(SqliteDbTest, BoundValuesStayDataWhateverQuotesTheyHold) {
    const AnsiString tricky = "O'Brien'); DROP TABLE t; --";
    EXPECT_EQ(db.ExecDml("INSERT INTO t VALUES(?, ?);", {std::int64_t(7), tricky}), 1);
    EXPECT_EQ(db.ExecDml("INSERT INTO t VALUES(?, ?);", {std::int64_t(8), AnsiString("\xB3\xF3\x64\xBC", 4)}), 1);
    SqliteQuery q = db.ExecQuery("SELECT n, s FROM t WHERE s = ?;", {tricky});
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.GetIntField(0), 7);
    EXPECT_EQ(q.GetStringField(1), tricky);
    q.NextRow();
    EXPECT_TRUE(q.Eof());
    // The bytes of the code page go in and come out unchanged.
    EXPECT_FALSE(db.ExecQuery("SELECT n FROM t WHERE s = ?;", {AnsiString("\xB3\xF3\x64\xBC", 4)}).Eof());
    EXPECT_TRUE(db.ExecQuery("SELECT n FROM t WHERE s = ?;", {AnsiString("O")}).Eof());

    // A value without a parameter, and a broken statement, are refused.
    EXPECT_EQ(ErrorOf([&] {
                  db.ExecDml("DELETE FROM t WHERE n = ?;", {std::int64_t(1), std::int64_t(2)});
              }).Code(),
              25);
    EXPECT_EQ(ErrorOf([&] { db.ExecQuery("SELECT * FROM nowhere WHERE n = ?;", {std::int64_t(1)}); }).Code(), 1);
    EXPECT_EQ(db.ExecQuery("SELECT COUNT(*) FROM t;").GetIntField(0), 2);
}
