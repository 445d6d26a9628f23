// The storage quota over generated program folders: files of a tenth of a
// quota step each (holes, so gigabytes cost no disk), with their Files rows.
#include "SimStore.h"
#include "TempFolder.h"

#include "devicelink/StorageQuota.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <limits>

namespace fs = std::filesystem;

namespace {

constexpr int64_t kTenth = kQuotaStepBytes / 10;

// Sets or clears the immutable flag: even root cannot delete such a file.
bool SetImmutable(const std::string& Path, bool On) {
    const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = On ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

class StorageQuotaTest : public ::testing::Test {
protected:
    // Count recordings, 7 minutes apart from 2024-03-01 08:00 on, of Bytes each.
    // With Linked, the files share one inode.
    void Store(int Count, int64_t Bytes = kTenth, bool Linked = true) {
        devicesim::TStoreOptions options;
        options.Count = Count;
        options.FileBytes = Bytes;
        options.LinkFiles = Linked;
        Names = devicesim::WriteStoredRecordings(Program.Root(), options);
    }
    // A file in "files" of that size, its bytes mostly a hole.
    void AddFile(const std::string& Name, int64_t Bytes) {
        const std::string path = Program.Write("files/" + Name, "RIFF");
        fs::resize_file(path, uintmax_t(Bytes));
    }
    void Exec(const std::string& Sql, const SqlValues& Values = {}) {
        SqliteDb db;
        db.Open(Program.Path("data.db"));
        db.ExecDml(Sql, Values);
    }
    TQuotaOutcome Enforce(int64_t MostBytes = -1) {
        SqliteDb db;
        db.Open(Program.Path("data.db"));
        TQuotaSettings settings{Program.Root(),
                                [this] { return Steps; },
                                InUse,
                                [this](const AnsiString& line) {
                                    Lines.push_back(line);
                                    if (OnLine) OnLine(line);
                                },
                                &Cancel,
                                MostBytes};
        return EnforceStorageQuota(db, settings);
    }
    std::vector<std::string> Rows(const char* Table = "Files") {
        SqliteDb db;
        db.Open(Program.Path("data.db"));
        SqliteStatement q(db, std::string("SELECT Filename FROM ") + Table + " ORDER BY Filename;");
        std::vector<std::string> names;
        while (q.Step()) names.push_back(q.ColumnText(0));
        return names;
    }
    bool Stored(const std::string& Name) const { return Program.Exists("files/" + Name); }

    yorde::test::TTempFolder Program{"yorde-quota"};
    std::vector<std::string> Names;
    int64_t Steps = 1;
    AnsiString InUse;
    std::vector<std::string> Lines;
    // Called with every log line, while the quota is at work.
    std::function<void(const std::string&)> OnLine;
    std::atomic<bool> Cancel{false};
};

}  // namespace

// Ten files of a tenth of a step fill one step exactly: the limit itself is
// reached and the oldest goes. One byte less, and nothing does.
TEST_F(StorageQuotaTest, TheLimitItselfTriggersAndOneByteLessDoesNot) {
    Store(10);
    TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Before, kQuotaStepBytes);
    EXPECT_EQ(out.Before, 1048576000);
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{Names[0]});
    EXPECT_EQ(out.After, 9 * kTenth);
    EXPECT_FALSE(Stored(Names[0]));
    EXPECT_EQ(Rows().size(), 9u);

    AddFile("20250101_000000_1_2_.wav", kTenth - 1);
    out = Enforce();
    EXPECT_EQ(out.Before, kQuotaStepBytes - 1);
    EXPECT_TRUE(out.Deleted.empty());
    EXPECT_EQ(Rows().size(), 9u);
}

// The caller's bound of the sum: under the limit nothing is summed (the
// caller answers for it); at or over it the names are listed at once, and a
// sum under the limit after all deletes nothing.
TEST_F(StorageQuotaTest, ABoundOfTheSumSparesTheListing) {
    Store(10, kTenth, false);
    TQuotaOutcome out = Enforce(kQuotaStepBytes - 1);
    EXPECT_EQ(out.Before, 0);
    EXPECT_TRUE(out.Deleted.empty());
    std::filesystem::resize_file(Program.Path("files/" + Names[9]), kTenth - 1);
    out = Enforce(kQuotaStepBytes);
    EXPECT_EQ(out.Before, kQuotaStepBytes - 1);
    EXPECT_TRUE(out.Deleted.empty());
    EXPECT_EQ(Rows().size(), 10u);
    std::filesystem::resize_file(Program.Path("files/" + Names[9]), kTenth);
    out = Enforce(kQuotaStepBytes);
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{Names[0]});
}

// The recordings' dates decide, not their names or the folder's order: a
// registered file with an odd name but an old date goes first, then an
// unregistered one dated by its name; an unregistered file without a date
// in its name is dated by its time. The recording in the player stays, and
// the quota leaves no trace in DeletedFiles.
TEST_F(StorageQuotaTest, OldestByTheRecordingsDateAndNeverTheOneInThePlayer) {
    Store(12);
    AddFile("O'Brien.wav", kTenth);
    Exec("INSERT INTO Files VALUES (?, '1', '2', 0, ?);", {AnsiString("2023-12-31      23:59:59"), "O'Brien.wav"});
    AddFile("20240301_075900_1_2_.wav", kTenth);
    AddFile("stray.WAV", kTenth);
    fs::last_write_time(Program.Path("files/stray.WAV"),
                        fs::file_time_type::clock::now() + std::chrono::hours(24 * 365));
    AddFile("notes.txt", 5 * kQuotaStepBytes);  // not a recording: it counts for nothing
    InUse = Names[0];

    // 15 files of a tenth: down to 9 tenths, six go.
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Before, 15 * kTenth);
    EXPECT_EQ(out.Deleted, (std::vector<AnsiString>{"O'Brien.wav", "20240301_075900_1_2_.wav", Names[1], Names[2],
                                                    Names[3], Names[4]}));
    EXPECT_EQ(out.After, 9 * kTenth);
    EXPECT_TRUE(Stored(Names[0]));
    EXPECT_TRUE(Stored(Names[5]));
    EXPECT_TRUE(Stored("stray.WAV"));
    EXPECT_TRUE(Stored("notes.txt"));
    for (const AnsiString& gone : out.Deleted) EXPECT_FALSE(Stored(gone)) << gone;

    std::vector<std::string> expected(Names.begin(), Names.end());
    expected.erase(expected.begin() + 1, expected.begin() + 5);
    EXPECT_EQ(Rows(), expected);
    EXPECT_TRUE(Rows("DeletedFiles").empty());
}

// Deleting one large old file can bring the sum far below the limit: the
// deleting stops there.
TEST_F(StorageQuotaTest, OneLargeFileMayBeAllThatGoes) {
    Store(3);
    AddFile("20200101_000000_1_2_.wav", 3 * kQuotaStepBytes);
    Steps = 2;
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{"20200101_000000_1_2_.wav"});
    EXPECT_EQ(out.After, 3 * kTenth);
    EXPECT_EQ(Rows().size(), 3u);
}

// A quota below one step is no limit at all: the settings offer 1 to 64, and
// 0 would take every recording. The limit never overflows.
TEST_F(StorageQuotaTest, BelowOneStepNothingIsDeleted) {
    Store(12);
    for (int64_t steps : {int64_t(0), int64_t(-1), std::numeric_limits<int64_t>::min()}) {
        Steps = steps;
        EXPECT_TRUE(Enforce().Deleted.empty()) << steps;
    }
    EXPECT_EQ(Rows().size(), 12u);
    EXPECT_EQ(QuotaLimitBytes(64), 64 * int64_t(1048576000));
    EXPECT_EQ(QuotaLimitBytes(std::numeric_limits<int64_t>::max()), std::numeric_limits<int64_t>::max());

    fs::remove_all(Program.Path("files"));
    Steps = 1;
    EXPECT_TRUE(Enforce().Deleted.empty());
    EXPECT_EQ(Rows().size(), 12u);
}

// A file that cannot be deleted keeps its row and still counts: the next
// oldest go in its place.
TEST_F(StorageQuotaTest, AFileThatCannotBeDeletedKeepsItsRowAndCounts) {
    Store(12, kTenth, false);
    if (!SetImmutable(Program.Path("files/" + Names[0]), true))
        GTEST_SKIP() << "the file system cannot make a file undeletable";
    const TQuotaOutcome out = Enforce();
    SetImmutable(Program.Path("files/" + Names[0]), false);

    EXPECT_EQ(out.Deleted, (std::vector<AnsiString>{Names[1], Names[2], Names[3]}));
    EXPECT_EQ(out.After, 9 * kTenth);
    EXPECT_TRUE(Stored(Names[0]));
    EXPECT_EQ(Rows().front(), Names[0]);
    EXPECT_NE(std::find(Lines.begin(), Lines.end(), "Quota: cannot delete " + Names[0]), Lines.end());
}

// A row whose Data is no date does not date its file: the name does. Files
// of one date go by name.
TEST_F(StorageQuotaTest, ARowThatIsNoDateAndFilesOfOneDate) {
    Store(9);
    const std::string named = "20200101_000000_1_2_.wav";
    for (const std::string& name : {std::string("b.wav"), std::string("a.wav"), std::string("c.wav"), named})
        AddFile(name, kTenth);
    Exec("INSERT INTO Files VALUES (?, '1', '2', 0, ?);", {AnsiString("yesterday"), AnsiString(named)});
    for (const char* name : {"a.wav", "b.wav"})
        Exec("INSERT INTO Files VALUES (?, '1', '2', 0, ?);", {AnsiString("2020-01-01      00:00:00"), name});
    // A date with more after it is no date either: c.wav is dated by its time, today.
    Exec("INSERT INTO Files VALUES (?, '1', '2', 0, ?);", {AnsiString("2019-01-01      00:00:00 x"), "c.wav"});
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Deleted, (std::vector<AnsiString>{AnsiString(named), "a.wav", "b.wav", Names[0]}));
    EXPECT_TRUE(Stored("c.wav"));
    EXPECT_EQ(Rows().size(), 9u);
}

// The quota is read again after every file: turned off while the oldest go,
// it stops there.
TEST_F(StorageQuotaTest, AQuotaTurnedOffWhileFilesGoStopsTheDeleting) {
    Store(12);
    OnLine = [this](const std::string& line) {
        if (line.rfind("Quota: deleted ", 0) == 0) Steps = 0;
    };
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{Names[0]});
    EXPECT_EQ(Rows().size(), 11u);
}

// Stopped while files go, the quota deletes no more, and the rows of those
// already gone go with them.
TEST_F(StorageQuotaTest, StoppedWhileFilesGoDeletesNoMore) {
    Store(12);
    OnLine = [this](const std::string& line) {
        if (line.rfind("Quota: deleted ", 0) == 0) Cancel = true;
    };
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{Names[0]});
    EXPECT_EQ(Rows().size(), 11u);
    EXPECT_EQ(Rows().front(), Names[1]);
}

// A file that went between the listing and its turn counts as deleted: its
// row goes, and the next oldest are spared.
TEST_F(StorageQuotaTest, AFileAlreadyGoneCountsAsDeleted) {
    Store(10, kTenth, false);
    OnLine = [this](const std::string& line) {
        if (line.rfind("Quota: ", 0) == 0 && line.find(" bytes, limit ") != std::string::npos)
            fs::remove(Program.Path("files/" + Names[0]));
    };
    const TQuotaOutcome out = Enforce();
    EXPECT_EQ(out.Deleted, std::vector<AnsiString>{Names[0]});
    EXPECT_EQ(out.After, 9 * kTenth);
    EXPECT_TRUE(Stored(Names[1]));
    EXPECT_EQ(Rows().size(), 9u);
    EXPECT_EQ(Rows().front(), Names[1]);
}
