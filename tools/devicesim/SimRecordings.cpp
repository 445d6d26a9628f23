#include "SimRecordings.h"

#include "store/Recordings.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace devicesim {

namespace {

// libsndfile writes into this through its virtual I/O and seeks back to
// patch the header sizes when closed.
struct TMemFile {
    std::string Data;
    sf_count_t Pos = 0;
};

sf_count_t MemLength(void* user) { return sf_count_t(static_cast<TMemFile*>(user)->Data.size()); }

sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
    auto* f = static_cast<TMemFile*>(user);
    sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->Pos : sf_count_t(f->Data.size());
    if (base + offset < 0) return -1;
    f->Pos = base + offset;
    return f->Pos;
}

sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
    auto* f = static_cast<TMemFile*>(user);
    sf_count_t left = sf_count_t(f->Data.size()) - f->Pos;
    sf_count_t n = std::max<sf_count_t>(0, std::min(count, left));
    std::memcpy(ptr, f->Data.data() + f->Pos, size_t(n));
    f->Pos += n;
    return n;
}

sf_count_t MemWrite(const void* ptr, sf_count_t count, void* user) {
    auto* f = static_cast<TMemFile*>(user);
    if (size_t(f->Pos + count) > f->Data.size()) f->Data.resize(size_t(f->Pos + count));
    std::memcpy(f->Data.data() + f->Pos, ptr, size_t(count));
    f->Pos += count;
    return count;
}

sf_count_t MemTell(void* user) { return static_cast<TMemFile*>(user)->Pos; }

struct TSndCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

}  // namespace

std::string MakeGsmWav(int milliseconds) {
    TMemFile mem;
    SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_GSM610;
    {
        std::unique_ptr<SNDFILE, TSndCloser> sf(sf_open_virtual(&io, SFM_WRITE, &info, &mem));
        if (!sf) throw std::runtime_error(std::string("libsndfile: ") + sf_strerror(nullptr));
        const long frames = std::max(0L, long(milliseconds) * 8);
        std::vector<short> chunk(1600);
        for (long done = 0; done < frames;) {
            long n = std::min<long>(long(chunk.size()), frames - done);
            for (long k = 0; k < n; ++k)
                chunk[size_t(k)] = short(6000.0 * std::sin(2.0 * M_PI * 440.0 * double(done + k) / 8000.0));
            if (sf_write_short(sf.get(), chunk.data(), n) != n)
                throw std::runtime_error(std::string("libsndfile: ") + sf_strerror(sf.get()));
            done += n;
        }
    }
    return mem.Data;
}

std::string EncipherRecording(std::string wav) {
    CryptRecording(wav);
    return wav;
}

std::string RecordingName(int year, int month, int day, int hour, int minute, int second, const std::string& calling,
                          const std::string& called) {
    auto number = [](std::string n) {
        std::replace(n.begin(), n.end(), '*', 'a');
        return n;
    };
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d_%02d%02d%02d", year % 10000, month % 100, day % 100, hour % 100,
                  minute % 100, second % 100);
    return std::string(stamp) + "_" + number(calling) + "_" + number(called) + "_.wav";
}

size_t GenerateRecordingFolder(const std::string& root, int count, int milliseconds, bool plain, int spreadMs) {
    using namespace std::chrono;
    namespace fs = std::filesystem;
    // Seventeen lengths at the most, each encoded once.
    constexpr int kLengths = 17;
    std::vector<std::string> contents;
    for (int k = 0; k < (spreadMs > 0 ? kLengths : 1); ++k) {
        const int ms = spreadMs > 0 ? milliseconds - spreadMs + 2 * spreadMs * k / (kLengths - 1) : milliseconds;
        const std::string wav = MakeGsmWav(std::max(0, ms));
        contents.push_back(plain ? wav : EncipherRecording(wav));
    }
    const sys_seconds start = sys_days{year{2024} / March / 1} + hours{8};
    size_t total = 0;
    for (int i = 0; i < count; ++i) {
        const sys_seconds t = start + minutes{7} * i;
        const year_month_day ymd{floor<days>(t)};
        const hh_mm_ss<seconds> hms{t - floor<days>(t)};
        const int y = int(ymd.year()), mo = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
        char folder[16];
        std::snprintf(folder, sizeof folder, "%04d/%02d/%02d", y % 10000, mo % 100, d % 100);
        const fs::path dir = fs::path(root) / folder;
        fs::create_directories(dir);
        const std::string name =
            RecordingName(y, mo, d, int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count()),
                          std::to_string(101 + i % 40), "0" + std::to_string(601000000 + i));
        // Lengths in a shuffled but fixed order, so that neighbours differ.
        const std::string& bytes = contents[size_t(i * 7) % contents.size()];
        std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
        total += bytes.size();
    }
    return total;
}

}  // namespace devicesim
