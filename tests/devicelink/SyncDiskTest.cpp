// What a sync run leaves on the disk: every recording durable before it is
// registered, and the room it keeps free.
#include "FileModes.h"
#include "SyncTestSupport.h"

#include "devicelink/PartFile.h"
#include "store/SqliteDb.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

using namespace synctest;

namespace {

constexpr int64_t kTenMiB = 10 << 20;

std::string Name(int Index) {
    char text[64];
    std::snprintf(text, sizeof text, "20240310_09%02d00_1_2_.wav", Index);
    return text;
}

std::string LastPart(const AnsiString& Path) { return Path.substr(Path.rfind('/') + 1); }

}  // namespace

// A recording's bytes are on the disk before it takes its place, and its
// place (the folder's entry) before its row is committed: a power cut never
// leaves a registered recording without its file.
TEST_F(SyncTest, EachRecordingIsOnTheDiskBeforeItsRow) {
    for (int i = 0; i < 12; ++i) Offer(Name(i), 3000 + size_t(i));
    std::mutex mu;
    std::vector<std::string> steps;
    auto note = [&](std::string Step) {
        std::lock_guard lk(mu);
        steps.push_back(std::move(Step));
    };
    SetPartFileObserver([&](const char* Step, const AnsiString& Name) { note(Step + (" " + LastPart(Name))); });
    SetSqlStatementObserver([&](const char* Sql) {
        const std::string text = Sql;
        if (text.rfind("INSERT INTO Files", 0) == 0) note("insert");
        if (text.rfind("COMMIT", 0) == 0) note("commit");
    });
    // Slow enough for a batch to be registered after the tenth file and the rest at the end.
    Sim.SetSlowReplies(30, 1 << 20);
    const auto ui = Run();
    SetPartFileObserver(nullptr);
    SetSqlStatementObserver(nullptr);
    ASSERT_EQ(FilesRows().size(), 12u);

    std::set<std::string> synced, renamed;
    int placed = 0, durable = 0, inserted = 0, committed = 0;
    for (const std::string& step : steps) {
        const std::string what = step.substr(0, step.find(' ')), name = step.substr(step.find(' ') + 1);
        if (what == "sync") {
            synced.insert(name);
        } else if (what == "rename") {
            EXPECT_TRUE(synced.count(name)) << name << " took its place before it was on the disk";
            renamed.insert(name);
            ++placed;
        } else if (what == "syncdir") {
            durable += placed;
            placed = 0;
        } else if (what == "insert") {
            EXPECT_GT(durable, 0) << "a row before its file's place was on the disk";
            --durable;
            ++inserted;
        } else if (what == "commit") {
            committed += inserted;
            inserted = 0;
        }
    }
    EXPECT_EQ(renamed.size(), 12u);
    EXPECT_EQ(committed, 12);
    EXPECT_EQ(ui->Count("reload"), 2);  // after the tenth file and at the end
}

// A list reload shows every file up to the one that asked for it and none
// after, also while registering lags behind the downloads.
TEST_F(SyncTest, AReloadShowsTheFilesUpToTheOneThatAskedForIt) {
    for (int i = 0; i < 12; ++i) Offer(Name(i), 3000 + size_t(i));
    auto ui = std::make_shared<TRecordingUi>();
    std::vector<size_t> rowsAtReload;
    ui->WhenReloaded = [&] { rowsAtReload.push_back(FilesRows().size()); };
    // The first flush waits until every file has arrived (ten seconds at most).
    std::atomic<bool> held{false};
    SetPartFileObserver([&](const char* Step, const AnsiString&) {
        if (std::string(Step) != "sync" || held.exchange(true)) return;
        ui->WaitForEvents("step", 12, std::chrono::seconds(10));
    });
    Sim.SetSlowReplies(30, 1 << 20);  // the tenth file asks for a reload
    {
        const std::unique_ptr<HTTPThread> run = Start(ui);
        ASSERT_TRUE(ui->WaitFinished());
    }
    SetPartFileObserver(nullptr);
    EXPECT_EQ(rowsAtReload, (std::vector<size_t>{10, 12}));
}

// A download is readable by all and never executable, less what the umask
// takes: the mode a copy from a card gets too.
TEST_F(SyncTest, ADownloadGetsTheModeOfAStoredRecording) {
    for (const mode_t mask : {mode_t(0), mode_t(027)}) {
        SCOPED_TRACE(mask);
        yorde::test::TUmaskScope scope(mask);
        const std::string name = Name(mask == 0 ? 0 : 1);
        Offer(name, 3000);
        ASSERT_EQ(Run()->LastMessage(), "");
        EXPECT_EQ(yorde::test::ModeOf(Program.Path("files/" + name)), 0644u & ~unsigned(mask));
    }
}

// Exactly 10 MiB free still downloads; a byte less stops the run before the
// next recording, or in the middle of one once 4 MiB of it have come, with
// its message and nothing half written kept.
TEST_F(SyncTest, DownloadsNeedTenMebibytesFree) {
    std::atomic<int64_t> free{kTenMiB};
    FreeSpace = [&](const AnsiString&) { return free.load(); };
    Offer(Name(0), 3000);
    Offer(Name(1), 3000);
    auto ui = Run();
    EXPECT_EQ(FilesRows().size(), 2u);
    EXPECT_EQ(ui->LastMessage(), "");

    Offer(Name(2), 3000);
    free = kTenMiB - 1;
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_NOSPACELEFT");
    EXPECT_EQ(FilesRows().size(), 2u);
    EXPECT_EQ(Sim.Counters().Record, 2);

    // Room for the small one and the start of the large one, then no more.
    Offer(Name(3), 6 << 20);
    std::atomic<int> asked{0};
    FreeSpace = [&](const AnsiString&) { return ++asked <= 2 ? kTenMiB : kTenMiB - 1; };
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_NOSPACELEFT");
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{Name(0), Name(1), Name(2)}));
    EXPECT_EQ(FilesRows().size(), 3u);
    EXPECT_EQ(Sim.Counters().Record, 4);
}

// While a batch waits to be registered (another connection holds data.db,
// the list being filled again, say), the next recordings go on arriving;
// once the database is free every one is registered.
TEST_F(SyncTest, DownloadsGoOnWhileABatchWaitsForTheDatabase) {
    constexpr int kFiles = 30;
    Run();  // data.db gets what a run adds to it once
    for (int i = 0; i < kFiles; ++i) Offer(Name(i), 3000);
    // Slow enough that a tenth file comes after the batch time.
    Sim.SetSlowReplies(30, 1 << 20);
    SqliteDb other;
    other.Open(Program.Path("data.db"));
    other.ExecDml("BEGIN IMMEDIATE;");
    std::mutex mu;
    std::condition_variable cv;
    int asked = 0;
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") == std::string::npos) return;
        std::lock_guard lk(mu);
        ++asked;
        cv.notify_all();
    });
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui);
    bool allAsked = false;
    {
        std::unique_lock lk(mu);
        allAsked = cv.wait_for(lk, std::chrono::seconds(20), [&] { return asked == kFiles; });
    }
    other.ExecDml("COMMIT;");
    ASSERT_TRUE(ui->WaitFinished());
    run.reset();
    Sim.SetRequestHook(nullptr);
    EXPECT_TRUE(allAsked) << "the downloads waited for the registration";
    EXPECT_EQ(FilesRows().size(), size_t(kFiles));
    EXPECT_EQ(StoredFiles().size(), size_t(kFiles));
    EXPECT_EQ(ui->LastMessage(), "");
}

// A registration that fails (here a row data.db refuses) ends the run with
// the database's failure: no file stays without its row nor a row without
// its file, nothing unfinished stays, and the next run brings the rest.
TEST_F(SyncTest, AFailedRegistrationEndsTheRunAndLeavesNoFileWithoutItsRow) {
    constexpr int kFiles = 40, kRefused = 15;
    for (int i = 0; i < kFiles; ++i) Offer(Name(i), 3000);
    Sim.SetSlowReplies(5, 1 << 20);
    Exec("CREATE TRIGGER Refuse BEFORE INSERT ON Files WHEN NEW.Filename = '" + Name(kRefused) +
         "' BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    auto ui = Run();
    EXPECT_TRUE(ui->WaitForLog("Database error: "));
    EXPECT_EQ(ui->LastMessage(), "");
    std::vector<std::string> rows;
    for (const TFilesRow& row : FilesRows()) rows.push_back(row.Filename);
    EXPECT_EQ(StoredFiles(), rows);
    EXPECT_LE(rows.size(), size_t(kRefused));
    EXPECT_FALSE(Program.Exists("files/" + Name(kRefused)));
    EXPECT_LT(Sim.Counters().Record, kFiles) << "the downloads went on after the failure";

    Exec("DROP TRIGGER Refuse;");
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_EQ(FilesRows().size(), size_t(kFiles));
    EXPECT_EQ(StoredFiles().size(), size_t(kFiles));
}
