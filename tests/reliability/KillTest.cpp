// The program killed (SIGKILL) at random moments of a sync against the
// simulated exchange, started again and left to finish its run: nothing
// may be lost, doubled, half written or left behind, and the debug log of
// the second start says what it found and put right.
#include "DeviceSim.h"
#include "DrivenProcess.h"
#include "SimRecordings.h"

#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

using namespace reliability;
namespace fs = std::filesystem;

namespace {

constexpr int kKills = 20;
constexpr int kRecordings = 24;
const std::string kDevicePassword = "73920415";

// What a kill left in the folder, looked at before the program starts again.
struct TLeftBehind {
    int Parts = 0;         // ".part" files in "files"
    int Unregistered = 0;  // whole files in "files" without their row
    bool Journal = false;  // a change of data.db cut off, to be rolled back
};

TLeftBehind LookAt(const std::string& Folder, const yorde::test::TTempFolder& Scratch) {
    TLeftBehind left;
    std::set<std::string> present;
    if (fs::exists(Folder + "/files"))
        for (const fs::directory_entry& e : fs::directory_iterator(Folder + "/files")) {
            const std::string name = e.path().filename().string();
            if (name.ends_with(".part"))
                ++left.Parts;
            else
                present.insert(name);
        }
    const bool journal = fs::exists(Folder + "/data.db-journal") && fs::file_size(Folder + "/data.db-journal") > 0;
    if (!fs::exists(Folder + "/data.db")) return left;
    // On a copy: opening the folder's own data.db would do the recovery the
    // program is to be seen doing.
    const std::string copy = Scratch.MakeDir("look");
    fs::remove_all(copy);
    fs::create_directories(copy);
    fs::copy_file(Folder + "/data.db", copy + "/data.db");
    if (journal) fs::copy_file(Folder + "/data.db-journal", copy + "/data.db-journal");
    try {
        SqliteDb db;
        db.Open(copy + "/data.db");
        SqliteStatement rows(db, "SELECT Filename FROM Files;");
        std::set<std::string> registered;
        while (rows.Step()) registered.insert(std::string(rows.ColumnText(0)));
        for (const std::string& name : present) left.Unregistered += registered.count(name) ? 0 : 1;
        // SQLite rolls a cut-off change back, and removes its journal, at
        // the first read; a journal it leaves held nothing to roll back.
        left.Journal = journal && !fs::exists(copy + "/data.db-journal");
    } catch (const SqliteException&) {
        // A data.db killed before its tables: nothing is registered yet.
        left.Unregistered = int(present.size());
    }
    return left;
}

unsigned Seed() {
    const char* text = std::getenv("YORDE_FUZZ_SEED");
    return text ? unsigned(std::strtoul(text, nullptr, 10)) : 20240305u;
}

}  // namespace

TEST(KillDuringSync, TwentyKillsLoseNothingAndTheLogSaysWhatWasRecovered) {
    const unsigned seed = Seed();
    std::mt19937 random(seed);
    RecordProperty("seed", std::to_string(seed));

    TDeviceSimulator sim;
    sim.SetPassword(kDevicePassword);
    std::map<std::string, std::string> served;
    int64_t total = 0;
    for (int i = 0; i < kRecordings; ++i) {
        const std::string name = devicesim::RecordingName(2024, 3, 1 + i / 8, 8 + i % 8, i, 0, "10" + std::to_string(i),
                                                          "2" + std::to_string(i));
        std::string bytes = devicesim::EncipherRecording(devicesim::MakeGsmWav(1000 + int(random() % 9) * 1000));
        total += int64_t(bytes.size());
        sim.AddRecording(name, bytes);
        served[name] = std::move(bytes);
    }
    // A line of modest speed: the run takes a second or two, so a kill
    // lands in every phase of it.
    sim.SetSlowReplies(3, 2048);
    std::string address, base;
    ASSERT_TRUE(StartDevice(sim, address, base));

    yorde::test::TTempFolder scratch("yorde-kill");
    int survived = 0, partsRecovered = 0, unregisteredRecovered = 0, journals = 0, beforeDownload = 0;
    for (int k = 0; k < kKills; ++k) {
        SCOPED_TRACE("kill " + std::to_string(k + 1) + " of " + std::to_string(kKills) + ", seed " +
                     std::to_string(seed));
        const std::string folder = scratch.MakeDir("program" + std::to_string(k));
        PrepareProgramFolder(folder, address, kDevicePassword);
        const std::string temp = scratch.MakeDir("temp" + std::to_string(k));
        const std::map<std::string, std::string> env = {{"TEMP", temp}};

        // The moment: an eighth of them somewhere in the start, the login
        // or the list; an eighth after the last byte, in the registration
        // or the end of the run; the rest after a random share of the bytes.
        const int64_t servedBefore = sim.BytesServed();
        const unsigned kind = random() % 8;
        const bool early = kind == 0, late = kind == 1;
        const int64_t threshold = early ? 0 : late ? total : int64_t(random() % uint64_t(total));
        const int delayMs = early ? int(random() % 700) : late ? int(random() % 40) : 0;

        const std::string firstLog = scratch.Path("first" + std::to_string(k) + ".log");
        TDrivenProcess first;
        first.Start(folder, firstLog, base, {}, env);
        for (int i = 0; i < 20000 && first.Running() && sim.BytesServed() - servedBefore < threshold; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ASSERT_TRUE(first.Running()) << "the program ended by itself";
        first.Kill();
        first.Wait(60);
        if (!HasLine(ReadLines(firstLog), "972: Pobieranie")) ++beforeDownload;

        const TLeftBehind left = LookAt(folder, scratch);
        const std::string secondLog = scratch.Path("second" + std::to_string(k) + ".log");
        TDrivenProcess second;
        second.Start(folder, secondLog, base, {"--exit-after-sync"}, env);
        const int code = second.Wait(120);
        const std::vector<std::string> log = ReadLines(secondLog);
        EXPECT_EQ(code, 0) << "the second start did not end cleanly";
        EXPECT_TRUE(HasLine(log, "driver: sync ended"));
        for (const std::string& line : log)
            EXPECT_FALSE(line.starts_with("driver: message") || line.starts_with("Database error")) << line;

        const std::vector<std::string> problems = StoreProblems(folder, served);
        for (const std::string& p : problems) ADD_FAILURE() << p;
        bool recoveryTold = true;
        if (left.Parts > 0 && !HasLine(log, "Removed " + std::to_string(left.Parts) + " unfinished downloads")) {
            ADD_FAILURE() << left.Parts << " .part files, and the log does not say they were removed";
            recoveryTold = false;
        }
        if (left.Unregistered > 0 &&
            !HasLineStarting(log, "901: " + std::to_string(left.Unregistered) + " files without their row")) {
            ADD_FAILURE() << left.Unregistered << " unregistered files, and the log does not say so";
            recoveryTold = false;
        }
        if (left.Journal && !HasLineStarting(log, "data.db: an interrupted change was rolled back")) {
            ADD_FAILURE() << "a rollback journal, and the log does not say it was used";
            recoveryTold = false;
        }
        EXPECT_FALSE(fs::exists(folder + "/tmp.db")) << "tmp.db is removed at exit";
        partsRecovered += left.Parts;
        unregisteredRecovered += left.Unregistered;
        journals += left.Journal ? 1 : 0;
        if (code == 0 && problems.empty() && recoveryTold) ++survived;
        fs::remove_all(folder);
    }
    sim.Stop();
    std::printf(
        "kills survived: %d of %d (seed %u); killed before the download %d times; recovered: %d .part "
        "files, %d unregistered files, %d rollback journals\n",
        survived, kKills, seed, beforeDownload, partsRecovered, unregisteredRecovered, journals);
    EXPECT_EQ(survived, kKills);
}
