// Sync runs against the simulated exchange in a process of its own: a cold
// sync of 2 000 recordings next to curl fetching the same files over the same
// authenticated URLs, the run every interval pays when nothing is new over
// 100 000 and 1 000 000 stored recordings, next to find and sqlite3 doing
// parts of its work on the same folder, and 2 000 new recordings synced into
// those stores next to curl.
#include "DeviceLinkBenchSupport.h"
#include "SimRecordings.h"
#include "SimStore.h"

#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceText.h"
#include "net/HttpClient.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace linkbench;

constexpr int kColdFiles = 2000;
constexpr int kRecordingMs = 10000;  // about 16 KB of GSM
constexpr int kSpreadMs = 5000;      // 8 to 24 KB
constexpr int kPerDay = 500;
const std::string kPassword = "bench-pass";

std::string TempParent() {
    const char* t = std::getenv("TMPDIR");
    return t && *t ? t : "/tmp";
}

// The folder for program folders: the disk, or memory (no flush costs).
std::string ProgramParent(int64_t InMemory) { return InMemory ? "/dev/shm" : TempParent(); }

using TFileList = std::vector<std::pair<std::string, uint64_t>>;  // name, size

// The exchange's 2 000 recordings, made once per process.
struct TColdDevice {
    std::string Dir;
    TFileList Files;
    uint64_t Bytes = 0;
    std::unique_ptr<TSimProcess> Sim;

    TColdDevice() {
        Dir = MakeProgramFolder(TempParent()) + "device";
        Bytes = devicesim::GenerateRecordingFolder(Dir, kColdFiles, kRecordingMs, false, kSpreadMs);
        for (const auto& e : fs::recursive_directory_iterator(Dir))
            if (e.is_regular_file()) Files.emplace_back(e.path().filename().string(), e.file_size());
        std::sort(Files.begin(), Files.end());
        Sim = std::make_unique<TSimProcess>(
            std::vector<std::string>{"--dir", Dir, "--password", kPassword, "--page-size", "50"});
    }
    ~TColdDevice() { RemoveFolder(fs::path(Dir).parent_path().string()); }
};

TColdDevice& ColdDevice() {
    static TColdDevice device;
    return device;
}

double Fewest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double Most(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

// One run per repetition, reported with the fewest, the median and the most.
benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* Bench, int Times) {
    return Bench->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(Times)
        ->ComputeStatistics("min", Fewest)
        ->ComputeStatistics("max", Most);
}

bool AllArrived(const std::string& Folder, const TFileList& Files) {
    for (const auto& [name, size] : Files) {
        std::error_code ec;
        if (fs::file_size(Folder + name, ec) != size) return false;
    }
    return true;
}

// The client: one cold sync into an empty program folder.
void BM_ColdSync(benchmark::State& state) {
    TColdDevice& device = ColdDevice();
    if (!device.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = MakeProgramFolder(ProgramParent(state.range(0)));
        ResetPeakRss();
        state.ResumeTiming();
        const TRunResult result = RunSync(device.Sim->Base, kPassword, folder);
        state.PauseTiming();
        peak = std::max(peak, PeakRssMiB());
        const bool whole = result.Message.empty() && AllArrived(folder + "files/", device.Files);
        RemoveFolder(folder);
        if (!whole) return state.SkipWithError(("the sync failed: " + result.Message).c_str());
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(device.Bytes));
    state.counters["files/s"] =
        benchmark::Counter(double(state.iterations()) * kColdFiles, benchmark::Counter::kIsRate);
    state.counters["peak_rss_MiB"] = peak;
}
BENCHMARK(BM_ColdSync)
    ->ArgName("in_memory")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// The peer: curl fetching the same files, one after another over one
// connection, with URLs made the client's way (a fresh nonce, counters 1..n).
// Its config and files go into the program folder Folder; only curl's own
// run is timed (Ms). False when a file did not arrive whole.
bool FetchWithCurl(const std::string& Base, const TFileList& Files, const std::string& Folder, double& Ms) {
    THttpClient http;
    const AnsiString nonce = http.Get(Base + "/get_nonce.cgi");
    unsigned char nonceBytes[16], key[16];
    HexToBytes(nonce, nonceBytes, 16);
    DeviceKeyFromPassword(kPassword, key);
    int32_t counter = 1;
    {
        std::ofstream config(Folder + "curl.cfg");
        for (const auto& file : Files) {
            char response[33];
            ComputeResponse(key, nonceBytes, counter, response);
            config << "url = \"" << RecordUrl(Base, nonce, response, file.first) << "\"\n"
                   << "output = \"" << Folder << "files/" << file.first << "\"\n";
        }
    }
    const auto start = std::chrono::steady_clock::now();
    const int status = RunProgram({"curl", "--silent", "--fail", "--config", Folder + "curl.cfg"});
    Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return status == 0 && AllArrived(Folder + "files/", Files);
}

// The same into a fresh program folder below Parent, removed afterwards.
bool FetchWithCurlAndClean(const std::string& Base, const TFileList& Files, const std::string& Parent, double& Ms) {
    const std::string folder = MakeProgramFolder(Parent);
    const bool whole = FetchWithCurl(Base, Files, folder, Ms);
    RemoveFolder(folder);
    return whole;
}

// The client's and curl's times of a paired benchmark; "ratio" is the
// client's over curl's.
struct TPairTally {
    double Client = 0, Curl = 0;
    void Add(benchmark::State& State, double ClientMs, double CurlMs) {
        State.SetIterationTime(ClientMs / 1000.0);
        Client += ClientMs;
        Curl += CurlMs;
    }
    void Report(benchmark::State& State) const {
        State.counters["curl_ms"] = Curl / double(State.iterations());
        State.counters["ratio"] = Client / Curl;
    }
};

// One sync run into Folder; its wall-clock time in Ms.
TRunResult TimedSync(const std::string& Base, const std::string& Folder, double& Ms) {
    const auto start = std::chrono::steady_clock::now();
    TRunResult result = RunSync(Base, kPassword, Folder);
    Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void BM_ColdSyncCurl(benchmark::State& state) {
    TColdDevice& device = ColdDevice();
    if (!device.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    for (auto _ : state) {
        double ms = 0;
        if (!FetchWithCurlAndClean(device.Sim->Base, device.Files, ProgramParent(state.range(0)), ms))
            return state.SkipWithError("curl did not fetch every file");
        state.SetIterationTime(ms / 1000.0);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(device.Bytes));
    state.counters["files/s"] =
        benchmark::Counter(double(state.iterations()) * kColdFiles, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ColdSyncCurl)
    ->ArgName("in_memory")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The client and curl by turns on the same kind of folder, so that both
// meet the same load of the machine: each repetition is one cold sync and
// one curl fetch, and "ratio" is the client's time over curl's.
void BM_ColdSyncPair(benchmark::State& state) {
    TColdDevice& device = ColdDevice();
    if (!device.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    TPairTally tally;
    for (auto _ : state) {
        double curlMs = 0;
        if (!FetchWithCurlAndClean(device.Sim->Base, device.Files, ProgramParent(state.range(0)), curlMs))
            return state.SkipWithError("curl did not fetch every file");
        const std::string folder = MakeProgramFolder(ProgramParent(state.range(0)));
        double ms = 0;
        const TRunResult result = TimedSync(device.Sim->Base, folder, ms);
        const bool whole = result.Message.empty() && AllArrived(folder + "files/", device.Files);
        RemoveFolder(folder);
        if (!whole) return state.SkipWithError(("the sync failed: " + result.Message).c_str());
        tally.Add(state, ms, curlMs);
    }
    tally.Report(state);
}
BENCHMARK(BM_ColdSyncPair)->Apply([](auto* b) {
    Repeated(b->ArgName("in_memory")->Arg(0)->Arg(1), 7)->UseManualTime();
});

// A program folder from the store generator with Count recordings (500 a
// day, files present, rows in Files), and an exchange holding the newest 500
// of them: every list page names what is stored already. The run every
// refresh interval pays for; made on first use, removed at the end.
struct TIdleStore {
    std::string Folder;
    std::unique_ptr<TSimProcess> Sim;
    // A second exchange that holds the same and 2 000 newer recordings.
    std::unique_ptr<TSimProcess> NewSim;
    TFileList New;
    // What the syncs into the store and curl fetched, kept to the end: ext4
    // searches past freshly freed inodes on every file it makes (for up to
    // minutes), which a sync meets only right after thousands of deletions.
    std::string Kept;
    int Forgotten = 0;

    explicit TIdleStore(int Count) {
        Folder = MakeProgramFolder(TempParent());
        devicesim::TStoreOptions options;
        options.Count = Count;
        options.StepSeconds = 86400 / kPerDay;
        const std::vector<std::string> names = devicesim::WriteStoredRecordings(Folder, options);
        const std::string device = Folder + "device/", newer = Folder + "newer/";
        fs::create_directories(device);
        fs::create_directories(newer);
        Kept = Folder + "kept";
        fs::create_directories(Kept);
        for (size_t i = names.size() - std::min<size_t>(names.size(), kPerDay); i < names.size(); ++i) {
            fs::create_hard_link(Folder + "files/" + names[i], device + names[i]);
            fs::create_hard_link(Folder + "files/" + names[i], newer + names[i]);
        }
        // The calls that follow, as long as the cold sync's.
        for (int i = 0; i < kColdFiles; ++i) {
            const std::string name = devicesim::StoreCall(Count + i, options).Name;
            const std::string bytes = devicesim::EncipherRecording(
                devicesim::MakeGsmWav(kRecordingMs - kSpreadMs + (2 * kSpreadMs * i) / kColdFiles));
            std::ofstream(newer + name, std::ios::binary) << bytes;
            New.emplace_back(name, bytes.size());
        }
        Sim = std::make_unique<TSimProcess>(
            std::vector<std::string>{"--dir", device, "--password", kPassword, "--page-size", "50"});
        NewSim = std::make_unique<TSimProcess>(
            std::vector<std::string>{"--dir", newer, "--password", kPassword, "--page-size", "50"});
    }
    ~TIdleStore() { RemoveFolder(Folder); }

    // The store as it was before a sync brought the new recordings; their
    // files are moved aside.
    void Forget() {
        const std::string aside = Kept + "/" + std::to_string(++Forgotten) + "/";
        fs::create_directories(aside);
        SqliteDb db;
        db.Open(Folder + "data.db");
        SqliteTransaction transaction(db);
        SqliteStatement drop(db, "DELETE FROM Files WHERE Filename = ?;");
        for (const auto& [name, size] : New) {
            drop.Reset();
            drop.Bind(1, AnsiString(name)).Exec();
            std::error_code ec;
            fs::rename(Folder + "files/" + name, aside + name, ec);
        }
        transaction.Commit();
    }
};

TIdleStore& IdleStore(int Count) {
    static std::map<int, std::unique_ptr<TIdleStore>> stores;
    auto& store = stores[Count];
    if (!store) store = std::make_unique<TIdleStore>(Count);
    return *store;
}

// Args: stored recordings; the storage quota in steps (0 leaves the folder
// unsummed, 64 sums it as every run of the program does; 2 holds a million
// recordings of 1 686 bytes just under it, where the rows cannot tell and
// the files are looked at). The figure to read is cpu_ms: the client's
// whole process, every thread.
void BM_IdleRun(benchmark::State& state) {
    TIdleStore& store = IdleStore(int(state.range(0)));
    if (!store.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    double cpu = 0;
    for (auto _ : state) {
        const double before = ProcessCpuMs();
        const TRunResult result = RunSync(store.Sim->Base, kPassword, store.Folder, state.range(1));
        cpu += ProcessCpuMs() - before;
        if (!result.Message.empty() || result.FilesStepped != 0)
            return state.SkipWithError(("the run fetched or failed: " + result.Message).c_str());
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_IdleRun)->Apply([](auto* b) {
    Repeated(b->ArgNames({"stored", "quota"})->ArgsProduct({{100000, 1000000}, {0, 2, 64}}), 5)->UseRealTime();
});

// 2 000 new recordings into the stored ones, the client and curl by turns
// (curl into an empty folder in the store's): what a sync costs beyond
// the transfer at that size of store. cpu_ms is the client's whole process.
void BM_SyncIntoStore(benchmark::State& state) {
    TIdleStore& store = IdleStore(int(state.range(0)));
    if (!store.NewSim->Ok()) return state.SkipWithError("the simulator did not start");
    TPairTally tally;
    double cpu = 0;
    for (auto _ : state) {
        double curlMs = 0;
        if (!FetchWithCurl(store.NewSim->Base, store.New, MakeProgramFolder(store.Kept), curlMs))
            return state.SkipWithError("curl did not fetch every file");
        const double before = ProcessCpuMs();
        double ms = 0;
        const TRunResult result = TimedSync(store.NewSim->Base, store.Folder, ms);
        cpu += ProcessCpuMs() - before;
        const bool whole = result.Message.empty() && AllArrived(store.Folder + "files/", store.New);
        store.Forget();
        if (!whole) return state.SkipWithError(("the sync failed: " + result.Message).c_str());
        tally.Add(state, ms, curlMs);
    }
    tally.Report(state);
    state.counters["cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_SyncIntoStore)->Apply([](auto* b) {
    Repeated(b->ArgName("stored")->Arg(100000)->Arg(1000000), 5)->UseManualTime();
});

// The programs that do a part of the idle run's work on the same folder:
// 0 `find` listing "files" (the folder read), 1 `find` printing every
// recording's size (a status call per file, as the quota's sum did), 2 the
// sqlite3 program reading every name of Files (the check's query).
void BM_IdlePeer(benchmark::State& state) {
    TIdleStore& store = IdleStore(int(state.range(0)));
    const std::string files = store.Folder + "files";
    const std::vector<std::vector<std::string>> peers = {
        {"find", files, "-maxdepth", "1", "-type", "f"},
        {"find", files, "-maxdepth", "1", "-type", "f", "-name", "*.wav", "-printf", "%s\\n"},
        {"sqlite3", store.Folder + "data.db", "SELECT Filename FROM Files;"},
    };
    const std::vector<std::string>& argv = peers.at(size_t(state.range(1)));
    double cpu = 0;
    for (auto _ : state) {
        const double before = ChildrenCpuMs();
        if (RunProgram(argv, "/dev/null") != 0) return state.SkipWithError((argv[0] + " failed").c_str());
        cpu += ChildrenCpuMs() - before;
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_IdlePeer)->Apply([](auto* b) {
    Repeated(b->ArgNames({"stored", "peer"})->ArgsProduct({{100000, 1000000}, {0, 1, 2}}), 5)->UseRealTime();
});

}  // namespace
