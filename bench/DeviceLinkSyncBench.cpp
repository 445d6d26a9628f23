// Sync runs against the simulated exchange in a process of its own: a cold
// sync of 2 000 recordings next to curl fetching the same files over the same
// authenticated URLs, and the run every interval pays when nothing is new.
#include "DeviceLinkBenchSupport.h"
#include "SimRecordings.h"

#include "devicelink/DeviceProtocol.h"
#include "devicelink/DeviceText.h"
#include "net/HttpClient.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/SqliteTransaction.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace linkbench;

constexpr int kColdFiles = 2000;
constexpr int kRecordingMs = 10000;  // about 16 KB of GSM
constexpr int kSpreadMs = 5000;      // 8 to 24 KB
constexpr int kStored = 100000;
constexpr int kPerDay = 500;
const std::string kPassword = "bench-pass";

std::string TempParent() {
    const char* t = std::getenv("TMPDIR");
    return t && *t ? t : "/tmp";
}

// The folder for program folders: the disk, or memory (no flush costs).
std::string ProgramParent(int64_t InMemory) { return InMemory ? "/dev/shm" : TempParent(); }

// The exchange's 2 000 recordings, made once per process.
struct TColdDevice {
    std::string Dir;
    std::vector<std::pair<std::string, uint64_t>> Files;  // name, size
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

bool AllArrived(const std::string& Folder, const TColdDevice& Device) {
    for (const auto& [name, size] : Device.Files) {
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
        const bool whole = result.Message.empty() && AllArrived(folder + "files/", device);
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
void BM_ColdSyncCurl(benchmark::State& state) {
    TColdDevice& device = ColdDevice();
    if (!device.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    THttpClient http;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string folder = MakeProgramFolder(ProgramParent(state.range(0)));
        const AnsiString nonce = http.Get(device.Sim->Base + "/get_nonce.cgi");
        unsigned char nonceBytes[16], key[16];
        HexToBytes(nonce, nonceBytes, 16);
        DeviceKeyFromPassword(kPassword, key);
        int32_t counter = 1;
        {
            std::ofstream config(folder + "curl.cfg");
            for (const auto& file : device.Files) {
                char response[33];
                ComputeResponse(key, nonceBytes, counter, response);
                config << "url = \"" << RecordUrl(device.Sim->Base, nonce, response, file.first) << "\"\n"
                       << "output = \"" << folder << "files/" << file.first << "\"\n";
            }
        }
        state.ResumeTiming();
        const int status = RunProgram({"curl", "--silent", "--fail", "--config", folder + "curl.cfg"});
        state.PauseTiming();
        const bool whole = status == 0 && AllArrived(folder + "files/", device);
        RemoveFolder(folder);
        if (!whole) return state.SkipWithError("curl did not fetch every file");
        state.ResumeTiming();
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
    ->UseRealTime()
    ->Iterations(3);

// 100 000 stored recordings, files present, and an exchange whose newest day
// holds nothing the store lacks: the run every refresh interval pays for.
struct TIdleStore {
    std::string Folder;
    std::string DeviceDir;
    std::unique_ptr<TSimProcess> Sim;

    TIdleStore() {
        Folder = MakeProgramFolder(TempParent());
        DeviceDir = Folder + "device/2024/09/01";
        fs::create_directories(DeviceDir);
        SqliteDb db;
        db.Open(Folder + "data.db");
        SqliteTransaction transaction(db);
        SqliteStatement insert(db, "INSERT INTO Files VALUES (?, ?, ?, ?, ?);");
        const std::string payload(1625, 'x');
        for (int i = 0; i < kStored; ++i) {
            const int day = i / kPerDay;  // 200 days from 2024-02-14
            const int month = 2 + (13 + day) / 31, dom = 1 + (13 + day) % 31;
            char name[64], data[32];
            std::snprintf(name, sizeof name, "2024%02d%02d_%02d%02d%02d_10%d_0601%06d_.wav", month, dom,
                          8 + i % 500 / 60, i % 60, 0, i % 40, i);
            std::snprintf(data, sizeof data, "2024-%02d-%02d      %02d:%02d:00", month, dom, 8 + i % 500 / 60, i % 60);
            insert.Reset();
            insert.Bind(1, AnsiString(data)).Bind(2, AnsiString("10")).Bind(3, AnsiString("601")).Bind(4, int64_t(1));
            insert.Bind(5, AnsiString(name)).Exec();
            std::ofstream(Folder + "files/" + name, std::ios::binary) << "x";
            // The exchange holds the newest day: every one of them stored already.
            if (i >= kStored - kPerDay) std::ofstream(DeviceDir + "/" + name, std::ios::binary) << payload;
        }
        transaction.Commit();
        Sim = std::make_unique<TSimProcess>(
            std::vector<std::string>{"--dir", Folder + "device", "--password", kPassword, "--page-size", "50"});
    }
    ~TIdleStore() { RemoveFolder(Folder); }
};

// Arg: the storage quota in steps; 0 leaves the folder unsummed (the run
// before the quota existed), 64 sums it as every run of the program does.
void BM_IdleRun(benchmark::State& state) {
    static TIdleStore store;
    if (!store.Sim->Ok()) return state.SkipWithError("the simulator did not start");
    double cpu = 0;
    for (auto _ : state) {
        const double before = ProcessCpuMs();
        const TRunResult result = RunSync(store.Sim->Base, kPassword, store.Folder, state.range(0));
        cpu += ProcessCpuMs() - before;
        if (!result.Message.empty() || result.FilesStepped != 0)
            return state.SkipWithError(("the run fetched or failed: " + result.Message).c_str());
    }
    state.counters["cpu_ms_per_run"] = cpu / double(state.iterations());
}
BENCHMARK(BM_IdleRun)->Arg(0)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
