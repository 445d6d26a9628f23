// The device link: MD5 digests and downloading recordings from the
// simulated exchange through the project's HTTP client.
#include "Md5Hex.h"
#include "TempFolder.h"

#include "DeviceSim.h"
#include "SimRecordings.h"
#include "devicelink/Unitmd5.h"
#include "net/HttpClient.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kMd5Bytes = 100u << 20;
constexpr int kRecordings = 200;
constexpr int kRecordingMs = 60000;
const std::string kPassword = "bench-pass";

// 100 MiB of random bytes.
std::string Md5Data() {
    std::string data(kMd5Bytes, '\0');
    std::mt19937 rng(5);
    for (char& c : data) c = char(rng());
    return data;
}

void BM_Md5(benchmark::State& state) {
    const std::string data = Md5Data();
    unsigned char digest[16];
    for (auto _ : state) {
        MD5_CTX ctx;
        MD5Init(&ctx);
        MD5Update(&ctx, data.data(), uint32_t(data.size()));
        MD5Final(&ctx, digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}
BENCHMARK(BM_Md5)->Unit(benchmark::kMillisecond);

// The peer: the md5sum program over the same bytes in a file (in the page
// cache after the first round), its start-up included.
void BM_Md5sumProgram(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    const std::string command = "md5sum " + dir.Write("data", Md5Data()) + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("md5sum failed");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kMd5Bytes));
}
BENCHMARK(BM_Md5sumProgram)->Unit(benchmark::kMillisecond);

// One sync run's downloads: a nonce, then every recording over one kept-alive
// connection into a buffer the size of a recording.
void BM_DownloadRecordings(benchmark::State& state) {
    yorde::test::TTempFolder dir("yorde-bench");
    const size_t total = devicesim::GenerateRecordingFolder(dir.Dir(), kRecordings, kRecordingMs);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.Dir()))
        if (e.is_regular_file()) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());

    TDeviceSimulator sim;
    sim.SetFolder(dir.Dir());
    sim.SetPassword(kPassword);
    if (!sim.Start(0)) return state.SkipWithError("cannot start the simulator");
    const std::string base = "http://127.0.0.1:" + std::to_string(sim.Port());

    THttpClient client;
    std::string file;
    file.reserve(total / kRecordings + 4096);
    const THttpClient::TSink sink = [&file](const char* data, size_t size) { file.append(data, size); };
    size_t received = 0;
    for (auto _ : state) {
        yorde::test::TNonceSession session(client.Get(base + "/get_nonce.cgi"), kPassword);
        for (const std::string& name : names) {
            file.clear();
            client.Get(session.Url(base + "/record.cgi", "&file=" + name), sink);
            received += file.size();
        }
    }
    sim.Stop();
    if (received != total * size_t(state.iterations())) return state.SkipWithError("bytes lost");
    state.SetBytesProcessed(int64_t(received));
    state.counters["files/s"] =
        benchmark::Counter(double(state.iterations()) * kRecordings, benchmark::Counter::kIsRate);
    state.counters["file_bytes"] = double(total / kRecordings);
}
BENCHMARK(BM_DownloadRecordings)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
