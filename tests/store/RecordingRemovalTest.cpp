// Recordings taken away for good: a user's delete and the retention purge,
// over a data.db made as the program makes it and a real "files" folder.
#include "store/LocalDatabases.h"
#include "store/RecordingRemoval.h"
#include "store/SqliteDb.h"
#include "store/SqliteTransaction.h"

#include "TempFolder.h"
#include "TimeZoneScope.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using yorde::test::TimeZoneScope;

class RemovalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(PrepareLocalDatabases(dir.Root()).ExitCode, DB_READY);
        dir.MakeDir("files");
        db.Open(dir.Path("data.db"));
    }
    AnsiString Files() const { return dir.Path("files/"); }
    // A recording of the store: its row and its file.
    void Add(const std::string& name, const std::string& data = "2024-03-01      08:00:00") {
        db.ExecDml("INSERT INTO Files VALUES (?, '201', '202', 1, ?);", {data, name});
        dir.Write("files/" + name, "stored " + name);
    }
    std::set<std::string> Column(const char* sql) {
        std::set<std::string> out;
        for (SqliteQuery q = db.ExecQuery(sql); !q.Eof(); q.NextRow()) out.insert(q.FieldValue(0).c_str());
        return out;
    }
    std::set<std::string> Listed() { return Column("SELECT Filename FROM Files;"); }
    std::set<std::string> Deleted() { return Column("SELECT Filename FROM DeletedFiles;"); }
    bool HasFile(const std::string& name) const { return dir.Exists("files/" + name); }
    // Count old recordings r0.wav, r1.wav, ...
    void AddOld(int count) {
        SqliteTransaction transaction(db);
        for (int i = 0; i < count; ++i) Add("r" + std::to_string(i) + ".wav", "2024-01-01      08:00:00");
        transaction.Commit();
    }

    yorde::test::TTempFolder dir;
    SqliteDb db;
};

// "yyyy-mm-dd", six blanks, "hh:nn:ss", as the Files rows hold it.
std::string Data(const char* date, const char* time) { return std::string(date) + "      " + time; }

}  // namespace

TEST_F(RemovalTest, DeleteTakesTheFileAndTheRowAndRemembersTheName) {
    Add("a.wav");
    Add("b.wav");
    Add("it's.wav");  // a quote in a name is only data
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "a.wav"));
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "it's.wav"));
    EXPECT_EQ(Listed(), (std::set<std::string>{"b.wav"}));
    EXPECT_EQ(Deleted(), (std::set<std::string>{"a.wav", "it's.wav"}));
    EXPECT_FALSE(HasFile("a.wav"));
    EXPECT_FALSE(HasFile("it's.wav"));
    EXPECT_TRUE(HasFile("b.wav"));

    // A row whose file is gone already goes all the same.
    Add("c.wav");
    std::remove(dir.Path("files/c.wav").c_str());
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "c.wav"));
    EXPECT_EQ(Listed(), (std::set<std::string>{"b.wav"}));
}

TEST_F(RemovalTest, ANameThatPointsElsewhereTouchesNoFile) {
    dir.Write("outside.wav", "not ours");
    db.ExecDml("INSERT INTO Files VALUES ('2024-03-01      08:00:00', '1', '2', 1, '../outside.wav');");
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "../outside.wav"));
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(Deleted(), (std::set<std::string>{"../outside.wav"}));
    EXPECT_EQ(dir.Read("outside.wav"), "not ours");
}

TEST_F(RemovalTest, AFileThatCannotBeDeletedKeepsItsRecording) {
    Add("a.wav");
    const TDeleteStoredFile refuse = [](const AnsiString&) { return false; };
    EXPECT_FALSE(RemoveStoredRecording(db, Files(), "a.wav", refuse));
    EXPECT_EQ(Listed(), (std::set<std::string>{"a.wav"}));
    EXPECT_TRUE(Deleted().empty());
    EXPECT_TRUE(HasFile("a.wav"));
    // The next attempt, once the file can go, takes it.
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "a.wav"));
    EXPECT_TRUE(Listed().empty());
}

TEST_F(RemovalTest, ADatabaseFailureLeavesTheFileAndTheRows) {
    Add("a.wav");
    db.ExecDml("CREATE TRIGGER refuse BEFORE DELETE ON Files BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_THROW(RemoveStoredRecording(db, Files(), "a.wav"), SqliteException);
    EXPECT_EQ(Listed(), (std::set<std::string>{"a.wav"}));
    EXPECT_TRUE(Deleted().empty());
    EXPECT_TRUE(HasFile("a.wav"));
    // No transaction is left open behind the failure.
    db.ExecDml("DROP TRIGGER refuse;");
    EXPECT_TRUE(RemoveStoredRecording(db, Files(), "a.wav"));
}

TEST_F(RemovalTest, TheCutOffIsSqliteMonthsBackFromTheUtcTime) {
    {
        TimeZoneScope utc("UTC");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 5, 15, 10, 20, 30, 0), 1), "2026-04-15 10:20:30");
        // SQLite carries a day the month lacks into the next month.
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 3, 31, 12, 0, 0, 0), 1), "2026-03-03 12:00:00");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2028, 2, 29, 0, 0, 0, 0), 12), "2027-03-01 00:00:00");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 1, 10, 0, 0, 0, 0), 60), "2021-01-10 00:00:00");
    }
    {
        // Two hours east of UTC: one in the morning local time is still the day before.
        TimeZoneScope east("<+02>-2");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 4, 1, 1, 0, 0, 0), 1), "2026-03-03 23:00:00");
    }
    {
        // Summer time: half past one in the night is still the day before in
        // UTC, so the cut-off day does not move on an hour early; in winter
        // the same hour is already the same day.
        TimeZoneScope warsaw("CET-1CEST,M3.5.0,M10.5.0/3");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 7, 1, 1, 30, 0, 0), 1), "2026-05-30 23:30:00");
        EXPECT_EQ(RetentionCutoff(db, EncodeDateTime(2026, 1, 15, 1, 30, 0, 0), 1), "2025-12-15 00:30:00");
    }
}

TEST_F(RemovalTest, ThePurgeTakesExactlyTheRecordingsBeforeTheCutOffDay) {
    Add("before.wav", Data("2026-03-02", "23:59:59"));
    Add("day-start.wav", Data("2026-03-03", "00:00:00"));
    Add("day-end.wav", Data("2026-03-03", "23:59:59"));  // the whole cut-off day counts as older
    Add("after.wav", Data("2026-03-04", "00:00:00"));
    Add("new.wav", Data("2026-05-01", "12:00:00"));
    Add("old-played.wav", Data("2025-01-01", "09:00:00"));
    Add("old-stuck.wav", Data("2025-01-01", "10:00:00"));
    const TDeleteStoredFile deleteFile = [](const AnsiString& path) {
        return path.find("old-stuck") == AnsiString::npos && std::remove(path.c_str()) == 0;
    };
    const TPurgeResult r = PurgeRecordingsBefore(db, Files(), "2026-03-03 12:00:00", "old-played.wav", deleteFile);
    EXPECT_EQ(r.Purged, 3);
    EXPECT_EQ(r.Kept, std::vector<AnsiString>{"old-stuck.wav"});
    EXPECT_EQ(Listed(), (std::set<std::string>{"after.wav", "new.wav", "old-played.wav", "old-stuck.wav"}));
    EXPECT_EQ(Deleted(), (std::set<std::string>{"before.wav", "day-start.wav", "day-end.wav"}));
    for (const char* gone : {"before.wav", "day-start.wav", "day-end.wav"}) EXPECT_FALSE(HasFile(gone)) << gone;
    for (const char* kept : {"after.wav", "new.wav", "old-played.wav", "old-stuck.wav"})
        EXPECT_TRUE(HasFile(kept)) << kept;

    // Nothing before the cut-off: nothing touched.
    const TPurgeResult none = PurgeRecordingsBefore(db, Files(), "2020-01-01 00:00:00");
    EXPECT_EQ(none.Purged, 0);
    EXPECT_EQ(Listed().size(), 4u);
}

TEST_F(RemovalTest, ALargePurgeGoesThroughEveryRecording) {
    AddOld(1203);
    Add("young.wav", Data("2026-01-01", "08:00:00"));
    const TPurgeResult r = PurgeRecordingsBefore(db, Files(), "2025-01-01 00:00:00", "r600.wav");
    EXPECT_EQ(r.Purged, 1202);
    EXPECT_EQ(Listed(), (std::set<std::string>{"r600.wav", "young.wav"}));
    EXPECT_EQ(Deleted().size(), 1202u);
}

TEST_F(RemovalTest, ADatabaseFailureStopsThePurgeWithTheBatchesBeforeItDone) {
    AddOld(700);
    db.ExecDml(
        "CREATE TRIGGER refuse BEFORE DELETE ON Files WHEN old.Filename = 'r650.wav' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_THROW(PurgeRecordingsBefore(db, Files(), "2025-01-01 00:00:00"), SqliteException);
    // The first batch of several hundred is done; the one that failed is not.
    const std::set<std::string> listed = Listed();
    const std::set<std::string> deleted = Deleted();
    EXPECT_EQ(listed.size() + deleted.size(), 700u);
    EXPECT_GT(deleted.size(), 0u);
    EXPECT_TRUE(listed.count("r650.wav"));
    for (const std::string& name : deleted) EXPECT_FALSE(listed.count(name)) << name;
    // The next purge, with the failure gone, finishes the work.
    db.ExecDml("DROP TRIGGER refuse;");
    EXPECT_EQ(PurgeRecordingsBefore(db, Files(), "2025-01-01 00:00:00").Purged, int(listed.size()));
    EXPECT_TRUE(Listed().empty());
}
