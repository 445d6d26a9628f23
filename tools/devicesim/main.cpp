// devicesim: the simulated exchange as a program, for trying the client by
// hand and for benchmarks. Runs until SIGINT or SIGTERM.
#include "DeviceSim.h"
#include "SimRecordings.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <mutex>
#include <string>

namespace {

const char kUsage[] =
    "usage: devicesim [--address A] [--port N] [--password P] [--dir FOLDER] [options]\n"
    "  --address A          IPv4 address to listen on (default 127.0.0.1)\n"
    "  --port N             port (default 8080, 0 = any free)\n"
    "  --password P         device password (default 12345678)\n"
    "  --dir FOLDER         recordings, kept as FOLDER/YYYY/MM/DD/name.wav\n"
    "  --generate N         first write N recordings into FOLDER\n"
    "  --seconds S          length of generated recordings (default 30)\n"
    "  --spread S           lengths vary by up to S seconds either way\n"
    "  --plain              generated recordings not enciphered\n"
    "  --firmware V         firmware version in the preload reply (default 2.1.0)\n"
    "  --wrong-password     every authenticated request gets 405\n"
    "  --busy               every authenticated request gets 423\n"
    "  --missing NAME       404 for that recording (repeatable)\n"
    "  --download-error     every recording request gets 400\n"
    "  --drop-after BYTES   cut recording bodies after BYTES and close\n"
    "  --drop-times N       only the next N of them (default all)\n"
    "  --stall-after BYTES  recording bodies stop after BYTES and the device goes silent\n"
    "  --chunk-delay MS     delay before each chunk of every reply\n"
    "  --chunk-size BYTES   chunk size for --chunk-delay (default 4096)\n"
    "  --malformed-json     SD and record-list replies cut short\n"
    "  --sd-state N         SD state, -1..4 (default 0: card installed)\n"
    "  --card-size MB       SD card size (default 7580)\n"
    "  --page-size N        files per record-list page (default 50)\n"
    "  --newest-first       record list newest first\n"
    "  --page-per-day       one record-list page per day\n"
    "  --list-paths         names listed as ROZMOWY\\YYYY\\MM\\DD\\name\n"
    "  --counter-window N   accept request counters up to N above the last (default 1)\n"
    "  --single-nonce       a new nonce ends the older ones\n"
    "  --max-upload BYTES   larger uploads get 403 (default 102400)\n"
    "  --upload-status N    uploads get status N instead of 200\n"
    "  --slots FOLDER       at the end, each slot's announcement as FOLDER/slotN.wav\n"
    "  --verbose            print every request line\n";

[[noreturn]] void Usage(const char* problem) {
    std::fprintf(stderr, "devicesim: %s\n%s", problem, kUsage);
    std::exit(2);
}

long Number(const char* text) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end) Usage((std::string("not a number: ") + text).c_str());
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    TDeviceSimulator sim;
    int port = 8080, generate = 0, seconds = 30, spread = 0;
    bool plain = false, verbose = false;
    std::string address = "127.0.0.1";
    long dropAfter = -1, dropTimes = -1, stallAfter = -1, chunkDelay = 0, chunkSize = 4096, sdState = 0,
         cardSize = 7580;
    std::string dir, slots;

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Usage((arg + " needs a value").c_str());
            return argv[++i];
        };
        if (arg == "--address")
            address = value();
        else if (arg == "--port")
            port = int(Number(value()));
        else if (arg == "--password")
            sim.SetPassword(value());
        else if (arg == "--dir")
            dir = value();
        else if (arg == "--generate")
            generate = int(Number(value()));
        else if (arg == "--seconds")
            seconds = int(Number(value()));
        else if (arg == "--spread")
            spread = int(Number(value()));
        else if (arg == "--plain")
            plain = true;
        else if (arg == "--firmware")
            sim.SetFirmwareVersion(value());
        else if (arg == "--wrong-password")
            sim.SetWrongPassword(true);
        else if (arg == "--busy")
            sim.SetBusy(true);
        else if (arg == "--missing")
            sim.SetMissing(value());
        else if (arg == "--download-error")
            sim.SetDownloadError(true);
        else if (arg == "--drop-after")
            dropAfter = Number(value());
        else if (arg == "--drop-times")
            dropTimes = Number(value());
        else if (arg == "--stall-after")
            stallAfter = Number(value());
        else if (arg == "--newest-first")
            sim.SetNewestFirst(true);
        else if (arg == "--page-per-day")
            sim.SetPagePerDay(true);
        else if (arg == "--list-paths")
            sim.SetListPaths(true);
        else if (arg == "--counter-window")
            sim.SetCounterWindow(int(Number(value())));
        else if (arg == "--single-nonce")
            sim.SetSingleNonce(true);
        else if (arg == "--chunk-delay")
            chunkDelay = Number(value());
        else if (arg == "--chunk-size")
            chunkSize = Number(value());
        else if (arg == "--malformed-json")
            sim.SetMalformedJson(true);
        else if (arg == "--sd-state")
            sdState = Number(value());
        else if (arg == "--card-size")
            cardSize = Number(value());
        else if (arg == "--page-size")
            sim.SetPageSize(int(Number(value())));
        else if (arg == "--max-upload")
            sim.SetMaxUploadBytes(size_t(Number(value())));
        else if (arg == "--upload-status")
            sim.SetUploadStatus(int(Number(value())));
        else if (arg == "--slots")
            slots = value();
        else if (arg == "--verbose")
            verbose = true;
        else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else
            Usage(("unknown option " + arg).c_str());
    }
    if (generate > 0 && dir.empty()) Usage("--generate needs --dir");
    if (chunkSize < 1) Usage("--chunk-size must be at least 1");

    try {
        if (generate > 0) {
            size_t bytes = devicesim::GenerateRecordingFolder(dir, generate, seconds * 1000, plain, spread * 1000);
            std::fprintf(stderr, "devicesim: wrote %d recordings, %zu bytes, into %s\n", generate, bytes, dir.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "devicesim: %s\n", e.what());
        return 1;
    }
    if (!dir.empty()) sim.SetFolder(dir);
    if (dropAfter >= 0) sim.SetDrop(TSimRequest::Record, dropAfter, int(dropTimes));
    if (stallAfter >= 0) sim.SetFault(TSimRequest::Record, TReplyFault::StallBody, -1, stallAfter);
    sim.SetSlowReplies(int(chunkDelay), size_t(chunkSize));
    sim.SetSdState(int(sdState), int(cardSize));
    std::mutex out;
    if (verbose)
        sim.SetRequestHook([&out](const std::string& line) {
            std::lock_guard lk(out);
            std::fprintf(stderr, "%s\n", line.c_str());
        });

    // Block the stop signals before the server threads exist, so only
    // sigwait below sees them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    if (!sim.Start(port, address)) {
        std::fprintf(stderr, "devicesim: cannot listen on %s:%d\n", address.c_str(), port);
        return 1;
    }
    std::printf("devicesim: %s (%zu recordings)\n", sim.BaseUrl().c_str(), sim.RecordingCount());
    std::fflush(stdout);

    int sig = 0;
    sigwait(&stop, &sig);
    sim.Stop();
    TSimCounters c = sim.Counters();
    TSimUpload up;
    std::printf(
        "devicesim: preload %lld, nonce %lld, sd %lld, list %lld, record %lld, upload %lld, "
        "rejected %lld, malformed %lld, other %lld\n",
        (long long)c.Preload, (long long)c.Nonce, (long long)c.SdData, (long long)c.RecordList, (long long)c.Record,
        (long long)c.Upload, (long long)c.Rejected, (long long)c.Malformed, (long long)c.Other);
    if (sim.LastUpload(up))
        std::printf("devicesim: last upload slot %s, %zu bytes, file \"%s\"\n", up.Slot.c_str(), up.File.size(),
                    up.FileName.c_str());
    for (int slot = 1; slot <= 8 && !slots.empty(); ++slot) {
        const std::string file = sim.Announcement(slot);
        if (file.empty()) continue;
        const std::string path = slots + "/slot" + std::to_string(slot) + ".wav";
        std::ofstream(path, std::ios::binary).write(file.data(), std::streamsize(file.size()));
        std::printf("devicesim: slot %d -> %s\n", slot, path.c_str());
    }
    return 0;
}
