// Sync runs against the simulated exchange, without a window: what arrives
// in "files" and "data.db", what the exchange was asked, and what the run
// shows.
#include "SyncTestSupport.h"

#include "store/SqliteDb.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace synctest;

namespace {

std::string Name(int Day, int Index) {
    char text[64];
    std::snprintf(text, sizeof text, "202403%02d_%02d%02d00_0%d_a%d_.wav", Day, 8 + Index / 60, Index % 60, 100 + Index,
                  200 + Index);
    return text;
}

bool Contains(const std::vector<std::string>& Events, const std::vector<std::string>& InOrder) {
    auto at = Events.begin();
    for (const std::string& e : InOrder) {
        at = std::find(at, Events.end(), e);
        if (at == Events.end()) return false;
        ++at;
    }
    return true;
}

}  // namespace

// A first run brings every recording, byte for byte, with its row; the
// second asks again from the newest day and fetches nothing.
TEST_F(SyncTest, ColdSyncThenNothingNew) {
    std::vector<std::pair<std::string, std::string>> offered;
    for (int i = 0; i < 25; ++i) {
        const std::string name = Name(1 + i / 10, i);
        offered.emplace_back(name, Offer(name, 1625 * 3 + size_t(i) * 100));
    }
    Sim.SetSdState(0, 7580);
    // Each reply takes 30 ms or more, as on a real line: the list reloads at every tenth file.
    Sim.SetSlowReplies(30, 1 << 20);
    auto ui = std::make_shared<TRecordingUi>();
    std::vector<size_t> rowsAtReload;
    ui->WhenReloaded = [&] { rowsAtReload.push_back(FilesRows().size()); };
    {
        const std::unique_ptr<HTTPThread> run = Start(ui);
        ASSERT_TRUE(ui->WaitFinished());
    }
    Sim.SetSlowReplies(0);

    for (const auto& [name, bytes] : offered) EXPECT_EQ(Program.Read("files/" + name), bytes) << name;
    const std::vector<TFilesRow> rows = FilesRows();
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0].Filename, "20240301_080000_0100_a200_.wav");
    EXPECT_EQ(rows[0].Data, "2024-03-01      08:00:00");
    EXPECT_EQ(rows[0].AbA, "100");
    EXPECT_EQ(rows[0].AbB, "*200");
    EXPECT_EQ(rows[0].Czas, 3);
    EXPECT_EQ(rows[24].Czas, (1625 * 3 + 2400) / 1625);
    EXPECT_EQ(StoredFiles().size(), 25u);  // no ".part" left

    EXPECT_TRUE(Contains(ui->Events(), {"message:IDS_RECEIVING_LIST", "sd:0/7580/0", "link:IDS_RECEIVING...",
                                        "count:25", "step", "clear", "message:", "reload", "finished"}));
    EXPECT_EQ(ui->Count("step"), 25);
    // Files are counted from 1, and the last one ends the bytes at 100 %.
    const std::vector<std::string> events = ui->Events();
    EXPECT_NE(std::find_if(events.begin(), events.end(),
                           [](const std::string& e) { return e.rfind("progress:1/25/", 0) == 0; }),
              events.end());
    EXPECT_TRUE(ui->Has("progress:25/25/100"));
    for (const std::string& e : events) EXPECT_NE(e.rfind("progress:0/", 0), 0u) << e;
    // After the 10th and the 20th file, and at the end, each with the rows
    // of every file before it and of none after it.
    EXPECT_EQ(rowsAtReload, (std::vector<size_t>{10, 20, 25}));
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_EQ(ui->LastMessage(), "");
    for (const char* line :
         {"HTTPThread started", "SD stats", "818: KROK 1 i 2", "901: Krok 3", "920: Krok 4", "933: Krok 5",
          "945: Krok 6", "972: Pobieranie", "1226: finally", "1053: plik 20240301_080000_0100_a200_.wav",
          "DBThread started", "DBThread stoped", "Destruktor", "HTTPThread stoped"})
        EXPECT_TRUE(ui->HasLine(line)) << line;

    // Preload, nonce, SD, three pages, 25 files; counters 1 to 29, none refused.
    const std::vector<std::string> requests = Sim.Requests();
    ASSERT_EQ(requests.size(), 31u);
    EXPECT_EQ(requests[0], "GET /preload.cgi");
    EXPECT_EQ(requests[1], "GET /get_nonce.cgi");
    EXPECT_EQ(requests[3].find("&id="), std::string::npos);
    EXPECT_NE(requests[4].find("&id=10"), std::string::npos);
    EXPECT_EQ(Sim.Counters().Rejected, 0);
    EXPECT_EQ(Sim.AuthChecks().back().Counter, 29);
    std::vector<std::string> fetched = FetchedFiles();
    EXPECT_TRUE(std::is_sorted(fetched.begin(), fetched.end()));

    const auto again = Run();
    EXPECT_EQ(Sim.Counters().Record, 25);
    const std::vector<std::string> later = Sim.Requests();
    EXPECT_NE(later[34].find("/recordlist.cgi?"), std::string::npos);
    EXPECT_NE(later[34].find("&year=2024&month=03&day=03"), std::string::npos) << later[34];
    EXPECT_TRUE(again->Has("count:0"));
    EXPECT_FALSE(again->Has("reload"));
    EXPECT_EQ(FilesRows().size(), 25u);
}

// A recording the user deleted is never fetched again; one whose file went
// missing loses its row and comes again in the same run.
TEST_F(SyncTest, DeletedNeverFetchedMissingFetchedAgain) {
    const std::string kept = Name(1, 0), deleted = Name(1, 1), lost = Name(1, 2);
    Offer(kept, 4000);
    Offer(deleted, 4000);
    const std::string lostBytes = Offer(lost, 4000);
    Run();
    ASSERT_EQ(FilesRows().size(), 3u);

    Exec("DELETE FROM Files WHERE Filename='" + deleted + "'; INSERT INTO DeletedFiles VALUES('" + deleted + "');");
    std::filesystem::remove(Program.Path("files/" + deleted));
    std::filesystem::remove(Program.Path("files/" + lost));
    const auto ui = Run();

    EXPECT_EQ(FetchedFiles(), (std::vector<std::string>{kept, deleted, lost, lost}));
    EXPECT_EQ(Program.Read("files/" + lost), lostBytes);
    EXPECT_FALSE(Program.Exists("files/" + deleted));
    std::vector<TFilesRow> rows = FilesRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Filename, lost);
    EXPECT_TRUE(ui->HasLine("901: missing " + lost));
}

// The failures of the exchange each give their message and effect.
TEST_F(SyncTest, FailuresGiveTheirMessages) {
    Offer(Name(1, 0), 4000);

    Sim.SetPassword("other-password");
    auto ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_WRONG_PASSWORD");
    EXPECT_TRUE(ui->Has("reset"));
    EXPECT_TRUE(ui->Has("sd:reset"));
    Sim.SetPassword("47150392");

    Sim.SetBusy(true);
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_BUSY");
    EXPECT_TRUE(ui->Has("reset"));
    EXPECT_FALSE(ui->Has("sd:reset"));
    Sim.SetBusy(false);

    Sim.SetFirmwareVersion("1.9.8");
    const int64_t preloads = Sim.Counters().Preload;
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_OLDFIRMWARE");
    EXPECT_TRUE(ui->Has("reset"));
    EXPECT_EQ(Sim.Counters().Preload, preloads + 1);
    EXPECT_EQ(Sim.Counters().Nonce, 2);
    Sim.SetFirmwareVersion("2.1.0");

    // Nothing listens: three attempts, then "not the exchange".
    Sim.Stop();
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_CONNECT_ERROR_2");
    EXPECT_TRUE(ui->Has("reset"));
    const std::vector<std::string> lines = ui->Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("629: ", 0) == 0; }),
              3);
    EXPECT_TRUE(ui->HasLine("632: Exception get firmware,gracefully"));
    EXPECT_TRUE(FilesRows().empty());
}

// A body cut short on every attempt: nothing registered, nothing left in
// "files", the other files still come; the next run brings it, although a
// newer file has moved the newest stored day past it.
TEST_F(SyncTest, CutBodiesLeaveNothingAndComeNextRun) {
    const std::string cut = Name(1, 0), later = Name(2, 1);
    const std::string bytes = Offer(cut, 20000);
    Offer(later, 3000);
    Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 6, 1000);
    auto ui = Run();
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{later}));
    ASSERT_EQ(FilesRows().size(), 1u);
    EXPECT_EQ(FilesRows()[0].Filename, later);
    EXPECT_TRUE(ui->HasLine("Not downloaded: " + cut));
    EXPECT_EQ(Sim.Counters().Record, 7);

    ui = Run();
    EXPECT_EQ(Program.Read("files/" + cut), bytes);
    EXPECT_EQ(FilesRows().size(), 2u);
    EXPECT_NE(Sim.Requests()[Sim.Requests().size() - 2].find("&day=01"), std::string::npos);
}

// A body that ends where the device closes the connection is whole.
TEST_F(SyncTest, CloseDelimitedBodyIsWhole) {
    const std::string name = Name(1, 0);
    const std::string bytes = Offer(name, 5000);
    Sim.SetFraming(TSimRequest::Record, TBodyFraming::CloseDelimited);
    Run();
    EXPECT_EQ(Program.Read("files/" + name), bytes);
    EXPECT_EQ(FilesRows().size(), 1u);
}

// A file the device cannot give (404) does not stop the run: the others
// come, the message shows once at the end, the link stays on, and the next
// run asks for the file again.
TEST_F(SyncTest, OneMissingFileDoesNotStopTheRun) {
    const std::string missing = Name(1, 0);
    const std::string bytes = Offer(missing, 3000);
    for (int i = 1; i < 4; ++i) Offer(Name(2, i), 3000);
    Sim.SetMissing(missing);
    auto ui = Run();
    EXPECT_EQ(FilesRows().size(), 3u);
    EXPECT_EQ(ui->LastMessage(), "IDS_CANNOT_RECEIVE");
    EXPECT_EQ(ui->Count("message:IDS_CANNOT_RECEIVE"), 1);
    EXPECT_FALSE(ui->Has("reset"));

    Sim.SetMissing(missing, false);
    ui = Run();
    EXPECT_EQ(Program.Read("files/" + missing), bytes);
    EXPECT_EQ(FilesRows().size(), 4u);
    EXPECT_EQ(ui->LastMessage(), "");

    // Once it arrived, the list starts from the newest stored day again.
    Run();
    EXPECT_NE(Sim.Requests().back().find("&day=02"), std::string::npos) << Sim.Requests().back();

    // A download error (400) of one file does not stop the others either.
    const std::string refused = Name(3, 5), next = Name(3, 6);
    Offer(refused, 3000);
    Offer(next, 3000);
    Sim.SetFileStatus(refused, 400);
    ui = Run();
    EXPECT_TRUE(Program.Exists("files/" + next));
    EXPECT_FALSE(Program.Exists("files/" + refused));
    EXPECT_EQ(FilesRows().size(), 5u);
    EXPECT_EQ(ui->LastMessage(), "IDS_RECEIVE_ERROR");
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_FALSE(ui->Has("sd:reset"));
}

// A body cut once and then sent whole is stored whole, and the bytes of the
// broken attempt do not count towards the progress.
TEST_F(SyncTest, ABodyCutOnceComesWholeAndCountsOnce) {
    const std::string first = Name(1, 0), second = Name(1, 1);
    const std::string bytes = Offer(first, 20000);
    Offer(second, 20000);
    Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 1, 15000);
    const auto ui = Run();
    EXPECT_EQ(Sim.Counters().Record, 3);
    EXPECT_EQ(Program.Read("files/" + first), bytes);
    EXPECT_EQ(FilesRows().size(), 2u);
    EXPECT_FALSE(ui->HasLine("Not downloaded: " + first));
    int firstFileMost = -1;
    for (const std::string& e : ui->Events())
        if (e.rfind("progress:1/2/", 0) == 0) firstFileMost = std::max(firstFileMost, std::stoi(e.substr(13)));
    EXPECT_EQ(firstFileMost, 50);
    EXPECT_TRUE(ui->Has("progress:2/2/100"));
}

// An entry of no bytes is never asked for; an entry listed twice is fetched
// and registered once.
TEST_F(SyncTest, EntriesOfNoBytesOrListedTwice) {
    const std::string empty = Name(1, 0), twice = Name(1, 1);
    Offer(empty, 2000);
    const std::string bytes = Offer(twice, 2000);
    Sim.SetRawReplies(TSimRequest::RecordList,
                      {R"({"recordlist":{"id":0,"files":[{"n":")" + empty + R"(","s":0},{"n":")" + twice +
                       R"(","s":2000},{"n":")" + twice + R"(","s":2000}]}})"});
    const auto ui = Run();
    EXPECT_EQ(FetchedFiles(), std::vector<std::string>{twice});
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{twice});
    EXPECT_EQ(Program.Read("files/" + twice), bytes);
    ASSERT_EQ(FilesRows().size(), 1u);
    EXPECT_EQ(FilesRows()[0].Filename, twice);
    EXPECT_TRUE(ui->HasLine("Skipped, already stored: " + twice));
    EXPECT_EQ(ui->LastMessage(), "");
}

// A files folder that cannot be listed says nothing about the recordings:
// every row stays.
TEST_F(SyncTest, AFilesFolderThatCannotBeListedKeepsEveryRow) {
    for (int i = 0; i < 3; ++i) Offer(Name(1, i), 2000);
    Run();
    ASSERT_EQ(FilesRows().size(), 3u);
    std::filesystem::rename(Program.Path("files"), Program.Path("files.away"));
    const auto ui = Run();
    EXPECT_EQ(FilesRows().size(), 3u);
    EXPECT_TRUE(ui->HasLine("901: the files folder cannot be listed; no row is removed"));
    EXPECT_EQ(Sim.Counters().Record, 3);
    std::filesystem::rename(Program.Path("files.away"), Program.Path("files"));
}

// Cancelling a run in the middle of a stalled body ends it: no file, no row,
// no message, nothing left behind.
TEST_F(SyncTest, CancelInTheMiddleOfABody) {
    const std::string name = Name(1, 0);
    Offer(name, 50000);
    Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, -1, 20000);
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui);
    ASSERT_TRUE(ui->WaitForLog("972: Pobieranie"));
    for (int i = 0; i < 2000 && Sim.BytesServed() < 20000; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    run->Cancel();
    ASSERT_TRUE(ui->WaitFinished());
    EXPECT_FALSE(run->IsRunning());
    run.reset();
    EXPECT_TRUE(StoredFiles().empty());
    EXPECT_TRUE(FilesRows().empty());
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_FALSE(ui->Has("reload"));
    EXPECT_FALSE(ui->Has("message:IDS_INT"));
}

// A stop in the middle of the downloads, while another connection holds
// "data.db" (the list being filled again, say): the recordings that had
// arrived whole wait for the database and are registered; the one being
// fetched goes.
TEST_F(SyncTest, AStopKeepsWhatArrivedWhileTheDatabaseIsBusy) {
    Offer(Name(1, 0), 2000);
    Run();
    for (int i = 1; i <= 4; ++i) Offer(Name(2, i), 2000);
    SqliteDb other;
    other.Open(Program.Path("data.db"));
    other.ExecDml("BEGIN IMMEDIATE;");
    std::mutex mu;
    std::condition_variable cv;
    bool registering = false;
    SetSqlStatementObserver([&](const char* Sql) {
        if (std::string(Sql).rfind("INSERT INTO Files", 0) != 0) return;
        {
            std::lock_guard lk(mu);
            registering = true;
        }
        cv.notify_all();
    });
    std::atomic<HTTPThread*> running{nullptr};
    std::atomic<int> records{0};
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find("/record.cgi?") == std::string::npos || ++records != 4) return;
        Sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, 1, 500);
        running.load()->Cancel();
    });
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui);
    running = run.get();
    {
        std::unique_lock lk(mu);
        ASSERT_TRUE(cv.wait_for(lk, std::chrono::seconds(30), [&] { return registering; }));
    }
    // The other connection's work goes on for a while after the run has begun to wait.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    other.ExecDml("COMMIT;");
    ASSERT_TRUE(ui->WaitFinished());
    run.reset();
    Sim.SetRequestHook(nullptr);
    SetSqlStatementObserver(nullptr);
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{Name(1, 0), Name(2, 1), Name(2, 2), Name(2, 3)}));
    EXPECT_EQ(FilesRows().size(), 4u);
    EXPECT_EQ(ui->LastMessage(), "");
}

// Cancelling while the exchange has not yet answered the firmware question
// ends the run quietly: the user asked for it, so nothing is reported as a
// failure and the link is not reset.
TEST_F(SyncTest, CancelDuringTheFirmwareCheck) {
    Offer(Name(1, 0), 5000);
    Sim.SetFault(TSimRequest::Preload, TReplyFault::NoAnswer);
    auto ui = std::make_shared<TRecordingUi>();
    std::unique_ptr<HTTPThread> run = Start(ui);
    for (int i = 0; i < 2000 && Sim.Requests().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_FALSE(Sim.Requests().empty());
    run->Cancel();
    ASSERT_TRUE(ui->WaitFinished());
    run.reset();
    EXPECT_EQ(ui->LastMessage(), "");
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_FALSE(ui->Has("reload"));
    EXPECT_EQ(Sim.Requests().size(), 1u) << "nothing asked after the cancel";
    EXPECT_TRUE(StoredFiles().empty());
    for (const std::string& e : ui->Events()) EXPECT_EQ(e.rfind("message:IDS", 0), std::string::npos) << e;
}

// A run cut off by a crash leaves its ".part" file, an import its hidden
// copy: the next run removes them. One cut off between moving a file into
// place and registering it leaves a whole file without its row: the run
// says so, and the download of the same name replaces it and registers it once.
TEST_F(SyncTest, LeftoverPartFilesGoAndUnregisteredFilesAreFetchedAgain) {
    Program.Write("files/" + Name(1, 0) + ".part", "half");
    Program.Write("files/." + Name(1, 2) + ".Ab12Cd", "half a copy");
    Program.Write("files/.part", "not a download");  // the suffix alone names none
    const std::string bytes = Offer(Name(1, 1), 3000);
    Program.Write("files/" + Name(1, 1), bytes.substr(0, 1000) + "older");
    const auto ui = Run();
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{".part", Name(1, 1)}));
    EXPECT_EQ(Program.Read("files/" + Name(1, 1)), bytes);
    EXPECT_EQ(FilesRows().size(), 1u);
    EXPECT_TRUE(ui->HasLine("Removed 1 unfinished downloads"));
    EXPECT_TRUE(ui->HasLine("Removed the unfinished file " + Program.Path("files/." + Name(1, 2) + ".Ab12Cd")));
    // The file named by the suffix alone is counted with them, and kept.
    EXPECT_TRUE(ui->HasLine("901: 2 files without their row, fetched again when listed"));
}

// Names from the device are never paths and never SQL: nothing is written
// outside "files", quotes are stored as they are, and two entries with one
// file name give one file.
TEST_F(SyncTest, HostileNames) {
    const std::vector<std::string> hostile = {
        "../escape.wav", "a/b.wav", ".", "..", " ", std::string("ctl\x01.wav"), std::string(251, 'x') + ".wav",
        "x.wav.part"};
    for (const std::string& name : hostile) Offer(name, 2000);
    const std::string quote = "20240301_080000_1_2_O'Brien.wav";
    const std::string inject = "20240301_080001_1_2_x');DELETE FROM Files;--.wav";
    Offer(quote, 2000);
    Offer(inject, 2000);
    Offer(Name(1, 5), 2000);
    // The longest name that still leaves room for the download suffix.
    const std::string longest = std::string(246, 'x') + ".wav";
    Offer(longest, 2000);
    auto ui = Run();

    EXPECT_FALSE(std::filesystem::exists(Program.Path("escape.wav")));
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{quote, inject, Name(1, 5), longest}));
    const std::vector<TFilesRow> rows = FilesRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Filename, quote);
    EXPECT_EQ(rows[1].Filename, inject);
    EXPECT_EQ(rows[3].Filename, longest);
    EXPECT_EQ(ui->Count("step"), 12);
    EXPECT_TRUE(ui->HasLine("Skipped, no file name: a/b.wav"));

    // A backslash path keeps its last part; a second path to the same name is skipped.
    Sim.SetListPaths(true);
    Sim.AddRecording("20240302_090000_1_2_.wav", "first");
    ui = Run();
    EXPECT_EQ(Program.Read("files/20240302_090000_1_2_.wav"), "first");
    EXPECT_NE(FetchedFiles().back().find("ROZMOWY%5c2024%5c03%5c02%5c"), std::string::npos);
}

// A list whose id never ends is taken as ended; one that is no JSON fetches
// nothing and says so without switching the link off; one of another
// structure fails the run.
TEST_F(SyncTest, ListsThatNeverEndOrCannotBeRead) {
    Offer(Name(1, 0), 2000);
    Sim.SetEndlessList(true);
    auto ui = Run();
    EXPECT_EQ(FilesRows().size(), 1u);
    EXPECT_TRUE(ui->WaitForLog("849: the record list does not end"));
    Sim.SetEndlessList(false);

    Offer(Name(2, 1), 2000);
    Sim.SetRawReplies(TSimRequest::RecordList, {R"({"recordlist":{"id":0,"files":[{"n":"a)"});
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_CONNECT_ERROR_4");
    EXPECT_FALSE(ui->Has("reset"));
    EXPECT_FALSE(ui->HasLine("972: Pobieranie"));

    Sim.SetRawReplies(TSimRequest::RecordList, {R"({"recordlist":{"id":"5","files":[]}})"});
    ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_CONNECT_ERROR_4");
    EXPECT_TRUE(ui->Has("reset"));
    EXPECT_TRUE(ui->Has("sd:reset"));
    EXPECT_EQ(FilesRows().size(), 1u);
}

// An SD state that is no JSON shows nothing of the card and stops nothing.
TEST_F(SyncTest, AnSdStateThatIsNoJsonShowsNothing) {
    Offer(Name(1, 0), 2000);
    Sim.SetRawReplies(TSimRequest::SdData, {R"({"sd":{"state":0)"});
    const auto ui = Run();
    for (const std::string& e : ui->Events()) EXPECT_NE(e.rfind("sd:", 0), 0u) << e;
    EXPECT_EQ(FilesRows().size(), 1u);
    EXPECT_EQ(ui->LastMessage(), "");
}

// A nonce that would break the request line is not used.
TEST_F(SyncTest, NonceThatDoesNotBelongInAUrl) {
    Sim.SetRawReplies(TSimRequest::Nonce, {"0011223344556677 8899aabbccddeeff"});
    const auto ui = Run();
    EXPECT_EQ(ui->LastMessage(), "IDS_CONNECT_ERROR_4");
    EXPECT_EQ(Sim.Counters().SdData, 0);
}

// A device that lists newest first: the files still come oldest first, so a
// run cut short leaves only recordings the next list holds.
TEST_F(SyncTest, NewestFirstListFetchedOldestFirst) {
    for (int i = 0; i < 5; ++i) Offer(Name(1 + i, i), 2000);
    Sim.SetNewestFirst(true);
    Sim.SetPageSize(2);
    Run();
    const std::vector<std::string> fetched = FetchedFiles();
    ASSERT_EQ(fetched.size(), 5u);
    EXPECT_TRUE(std::is_sorted(fetched.begin(), fetched.end()));
}

// A stored Data text that is no date does not choose where the list starts.
TEST_F(SyncTest, MalformedStoredDateIsNotTheNewest) {
    Offer(Name(2, 0), 2000);
    Program.Write("files/imported.wav", "x");
    Exec(
        "INSERT INTO Files VALUES('zz-imported', '', '', 0, 'imported.wav');"
        "INSERT INTO Files VALUES('2024-03-01      10:00:00', '', '', 0, 'imported.wav');");
    Run();
    const std::vector<std::string> requests = Sim.Requests();
    EXPECT_NE(requests[3].find("&year=2024&month=03&day=01"), std::string::npos) << requests[3];
}

// A recording the exchange did not give (a 404, every attempt cut) is asked
// for again by the first run after a restart, although newer recordings
// have moved the newest stored day past it.
TEST_F(SyncTest, WhatTheExchangeOwesIsAskedForAfterARestart) {
    const std::string missing = Name(1, 0), cut = Name(2, 1), later = Name(3, 2);
    const std::string missingBytes = Offer(missing, 3000), cutBytes = Offer(cut, 20000);
    Offer(later, 3000);
    Sim.SetMissing(missing);
    Sim.SetRequestHook([&](const std::string& line) {
        if (line.find(cut) != std::string::npos) Sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 1, 1000);
    });
    Run();
    Sim.SetRequestHook(nullptr);
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{later});

    Sim.SetMissing(missing, false);
    // Nothing of the first run is kept in memory: the next one is as after a restart.
    Run();
    EXPECT_TRUE(Program.Read("files/" + missing) == missingBytes);
    EXPECT_TRUE(Program.Read("files/" + cut) == cutBytes);
    EXPECT_EQ(FilesRows().size(), 3u);
}

// What the exchange no longer lists is owed no more: the run after that
// lists from a later day again. One it lists and never gives is asked for
// in ten runs over a day, then given up in the same way; every newer
// recording comes meanwhile.
TEST_F(SyncTest, WhatTheExchangeNoLongerHasIsNotAskedForEver) {
    const std::string gone = Name(1, 0), never = Name(2, 1), later = Name(3, 2);
    Offer(gone, 3000);
    Offer(never, 3000);
    Offer(later, 3000);
    Sim.SetMissing(gone);
    Sim.SetMissing(never);
    // The day the last list was asked from; empty for no day.
    auto listDay = [&] {
        const std::vector<std::string> requests = Sim.Requests();
        for (auto it = requests.rbegin(); it != requests.rend(); ++it)
            if (it->find("/recordlist.cgi?") != std::string::npos) {
                const size_t at = it->find("&day=");
                return at == std::string::npos ? std::string() : it->substr(at + 5, 2);
            }
        return std::string("no list");
    };
    auto timesFetched = [&](const std::string& File) {
        const std::vector<std::string> fetched = FetchedFiles();
        return std::count(fetched.begin(), fetched.end(), File);
    };
    Run();
    EXPECT_EQ(StoredFiles(), std::vector<std::string>{later});

    Sim.RemoveRecording(gone);
    auto ui = Run();
    EXPECT_EQ(listDay(), "01");
    EXPECT_TRUE(ui->HasLine("Owed no more, not to be fetched: " + gone));
    EXPECT_EQ(timesFetched(gone), 1);

    // A day and more since it was first asked for in vain.
    Exec("UPDATE OwedFiles SET Since = Since - 2 * 86400;");
    for (int run = 3; run <= TOwedRecordings::kGiveUpRuns; ++run) {
        const std::string newer = Name(10 + run, run);
        Offer(newer, 3000);
        ui = Run();
        EXPECT_EQ(listDay(), "02") << run;
        EXPECT_TRUE(Program.Exists("files/" + newer)) << run;
    }
    EXPECT_TRUE(ui->HasLine("Owed no more, asked for in vain 10 times or more over a day: " + never));
    EXPECT_EQ(timesFetched(never), TOwedRecordings::kGiveUpRuns);
    Run();
    EXPECT_EQ(listDay(), "20");
    EXPECT_EQ(timesFetched(never), TOwedRecordings::kGiveUpRuns);
}

// A file that arrived but could not take its place is owed, and comes once
// its place is free. A list taken as ended before its last page says nothing
// of what the exchange no longer has: what it owes stays owed.
TEST_F(SyncTest, OwedStaysThroughAFailedPlaceAndACutShortList) {
    const std::string blocked = Name(2, 1), later = Name(3, 2);
    const std::string blockedBytes = Offer(blocked, 3000);
    Offer(later, 3000);
    Program.MakeDir("files/" + blocked + "/in-the-way");
    auto ui = Run();
    EXPECT_TRUE(ui->WaitForLog("Not stored: Cannot move " + Program.Path("files/" + blocked)));
    EXPECT_EQ(StoredFiles(), (std::vector<std::string>{blocked, later}));
    std::filesystem::remove_all(Program.Path("files/" + blocked));
    Run();
    EXPECT_TRUE(Program.Read("files/" + blocked) == blockedBytes);
    EXPECT_EQ(FilesRows().size(), 2u);

    const std::string missing = Name(4, 3), newest = Name(5, 4);
    const std::string missingBytes = Offer(missing, 3000);
    Offer(newest, 3000);
    Sim.SetMissing(missing);
    Run();
    // Gone from the list while the list never ends.
    Sim.RemoveRecording(missing);
    Sim.SetEndlessList(true);
    ui = Run();
    EXPECT_TRUE(ui->WaitForLog("849: the record list does not end"));
    Sim.SetEndlessList(false);
    Sim.SetMissing(missing, false);
    Sim.AddRecording(missing, missingBytes);
    Run();
    EXPECT_TRUE(Program.Read("files/" + missing) == missingBytes);
    EXPECT_EQ(FilesRows().size(), 4u);
}

// Two rows of one recording (an older program's, say) whose file is there:
// the recording stays in the list, and nothing is fetched again. Two rows
// of one whose file is gone both go.
TEST_F(SyncTest, TwoRowsOfOneRecordingStayWhileItsFileIsThere) {
    const std::string kept = Name(1, 0), gone = Name(1, 1);
    Offer(kept, 2000);
    Run();
    Exec("INSERT INTO Files SELECT * FROM Files;");
    Exec("INSERT INTO Files VALUES('2024-03-01      08:01:00', '101', '*201', 1, '" + gone + "');");
    Exec("INSERT INTO Files VALUES('2024-03-01      08:01:00', '101', '*201', 1, '" + gone + "');");
    const auto ui = Run();
    std::vector<std::string> names;
    for (const TFilesRow& row : FilesRows()) names.push_back(row.Filename);
    EXPECT_EQ(names, (std::vector<std::string>{kept, kept}));
    EXPECT_EQ(Sim.Counters().Record, 1);
    EXPECT_EQ(ui->Count("reload"), 0);
    int missingLines = 0;
    for (const std::string& line : ui->Lines()) missingLines += line == "901: missing " + gone ? 1 : 0;
    EXPECT_EQ(missingLines, 2);
}
