// The device link: MD5 digests and downloading recordings from the
// simulated exchange through the project's HTTP client.
#include "TempFolder.h"

#include "DeviceSim.h"
#include "SimRecordings.h"
#include "devicelink/Unitmd5.h"
#include "net/HttpClient.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kMd5Bytes = 100u << 20;
constexpr int kRecordings = 200;
constexpr int kRecordingMs = 60000;
const std::string kPassword = "bench-pass";

void BM_Md5(benchmark::State& state) {
    std::string data(kMd5Bytes, '\0');
    std::mt19937 rng(5);
    for (char& c : data) c = char(rng());
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

std::string Md5(const std::string& bytes) {
    MD5_CTX ctx;
    unsigned char d[16];
    MD5Init(&ctx);
    MD5Update(&ctx, bytes.data(), uint32_t(bytes.size()));
    MD5Final(&ctx, d);
    return std::string(reinterpret_cast<char*>(d), 16);
}

// The client's half of one nonce: every authenticated URL carries the next
// counter and MD5(MD5(password), nonce bytes, counter) in hex.
class DeviceSession {
public:
    DeviceSession(const std::string& nonceHex, const std::string& password) : nonce_(nonceHex), key_(Md5(password)) {
        for (size_t i = 0; i + 1 < nonceHex.size() && nonceBytes_.size() < 16; i += 2)
            nonceBytes_ += char(std::stoi(nonceHex.substr(i, 2), nullptr, 16));
    }
    std::string Url(const std::string& base, const std::string& path, const std::string& rest) {
        char hex[33];
        unsigned char d[16];
        const std::string counter = std::to_string(counter_++);
        MD5_CTX ctx;
        MD5Init(&ctx);
        MD5Update(&ctx, key_.data(), 16);
        MD5Update(&ctx, nonceBytes_.data(), 16);
        MD5Update(&ctx, counter.data(), uint32_t(counter.size()));
        MD5ToHex(MD5Final(&ctx, d), hex, sizeof hex);
        return base + path + "?nonce=" + nonce_ + "&response=" + hex + rest;
    }

private:
    std::string nonce_, key_, nonceBytes_;
    int counter_ = 1;
};

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
        DeviceSession session(client.Get(base + "/get_nonce.cgi"), kPassword);
        for (const std::string& name : names) {
            file.clear();
            client.Get(session.Url(base, "/record.cgi", "&file=" + name), sink);
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
