// What the program promises about its secrets and the sound of the calls:
// the single-instance port is reachable from this machine only; the files
// that hold passwords or the list of calls, and the private temporary
// folder, are their owner's alone; deciphered sound exists only in that
// folder, only while a recording is open; and no password or key is ever
// written out in the clear, by the debug log or by any file.
#include "DeviceSim.h"
#include "DrivenProcess.h"
#include "MainWindowFixture.h"
#include "Md5Hex.h"
#include "SimRecordings.h"

#include "store/Recordings.h"
#include "workstation/Mainunit.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mainwindowtest;
using namespace reliability;
namespace fs = std::filesystem;

namespace {

// The local addresses of every listening TCP socket on Port, as
// /proc/net/tcp and tcp6 show them (hex, as there).
std::vector<std::string> ListeningAddresses(int Port) {
    char portHex[8];
    std::snprintf(portHex, sizeof portHex, "%04X", unsigned(Port));
    std::vector<std::string> found;
    for (const char* table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        std::ifstream in(table);
        std::string line;
        std::getline(in, line);  // the heading
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string slot, local, remote, state;
            fields >> slot >> local >> remote >> state;
            const size_t colon = local.rfind(':');
            if (state == "0A" && colon != std::string::npos && local.substr(colon + 1) == portHex)
                found.push_back(local.substr(0, colon));
        }
    }
    return found;
}

// The machine's IPv4 addresses that are not loopback ones.
std::vector<in_addr> OtherAddresses() {
    std::vector<in_addr> found;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return found;
    for (ifaddrs* i = list; i; i = i->ifa_next)
        if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET) {
            const in_addr a = reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr;
            if ((ntohl(a.s_addr) >> 24) != 127) found.push_back(a);
        }
    ::freeifaddrs(list);
    return found;
}

bool Connects(in_addr Address, int Port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr = Address;
    a.sin_port = htons(uint16_t(Port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

unsigned Mode(const std::string& Path) {
    struct stat st {};
    return ::stat(Path.c_str(), &st) == 0 ? unsigned(st.st_mode & 0777) : 0u;
}

// Every regular file below each root.
std::vector<std::string> FilesBelow(const std::vector<std::string>& Roots) {
    std::vector<std::string> files;
    for (const std::string& root : Roots)
        if (fs::exists(root))
            for (const fs::directory_entry& e : fs::recursive_directory_iterator(root))
                if (e.is_regular_file()) files.push_back(e.path().string());
    return files;
}

// The 64 bytes of Bytes, from Offset on, whose values differ the most: a
// piece that cannot turn up in another file by chance.
std::string Telltale(const std::string& Bytes, size_t Offset) {
    size_t best = Offset, bestCount = 0;
    for (size_t at = Offset; at + 64 <= Bytes.size(); at += 16) {
        std::string piece = Bytes.substr(at, 64);
        std::sort(piece.begin(), piece.end());
        const size_t count = size_t(std::unique(piece.begin(), piece.end()) - piece.begin());
        if (count > bestCount) {
            bestCount = count;
            best = at;
        }
    }
    return Bytes.substr(best, 64);
}

std::string Upper(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return Text;
}

class SingleInstancePort : public MainWindowTest {};

}  // namespace

// The guard's socket listens on 127.0.0.1 and nowhere else: no other
// machine can reach it, and it cannot be reached through this machine's
// other addresses either.
TEST_F(SingleInstancePort, ListensOnLoopbackOnly) {
    StoreAdmin();
    CreateMainWindow();
    const std::vector<std::string> listening = ListeningAddresses(port);
    ASSERT_FALSE(listening.empty()) << "nothing listens on the guard's port " << port;
    for (const std::string& address : listening) EXPECT_EQ(address, "0100007F");
    for (const in_addr& other : OtherAddresses())
        EXPECT_FALSE(Connects(other, port)) << "reached through " << inet_ntoa(other);
}

// A user's whole day, short of an upload: the program starts, the user logs
// in, a sync brings the recordings, one is opened to be played, and the
// program is closed. While it runs, the deciphered copy lies in the private
// temporary folder, readable by its owner alone; afterwards no deciphered
// sound is left anywhere, the stored files are the owner's alone, and no
// password or key stands in the clear in the debug log or in any file.
TEST(Secrets, NothingInTheClearAndPlainSoundOnlyWhilePlaying) {
    const std::string devicePassword = "Dev1ce-Pass!";
    TDeviceSimulator sim;
    sim.SetPassword(devicePassword);
    std::vector<std::string> plainSound;
    for (int i = 0; i < 3; ++i) {
        const std::string wav = devicesim::MakeGsmWav(3000 + 500 * i);
        plainSound.push_back(Telltale(wav, RecordingHeaderSize));
        sim.AddRecording(devicesim::RecordingName(2024, 7, 1, 9, i, 0, "101", "202"),
                         devicesim::EncipherRecording(wav));
    }
    std::string address, base;
    ASSERT_TRUE(StartDevice(sim, address, base));

    yorde::test::TTempFolder scratch("yorde-secrets");
    const std::string program = scratch.MakeDir("program");
    const std::string runtime = scratch.MakeDir("runtime");
    fs::permissions(runtime, fs::perms::owner_all);
    PrepareProgramFolder(program, address, devicePassword);
    const std::string log = scratch.Path("debug.log");
    TDrivenProcess run;
    // No TEMP: the program makes its private folder in the runtime folder.
    run.Start(program, log, base, {"--play", "--exit-after-sync"}, {{"TEMP", ""}, {"XDG_RUNTIME_DIR", runtime}});
    ASSERT_EQ(run.Wait(120), 0);
    sim.Stop();
    const std::vector<std::string> lines = ReadLines(log);
    ASSERT_TRUE(HasLine(lines, "driver: sync ended"));

    const std::string privateTemp = runtime + "/yorde";
    const std::string opened = "driver: opened " + privateTemp + "/tmp.wav 600 700";
    std::string driverSaid;
    for (const std::string& line : lines)
        if (line.rfind("driver: ", 0) == 0) driverSaid += "\n  " + line;
    EXPECT_TRUE(HasLine(lines, opened)) << "the deciphered copy, owner-only in the private folder; the driver said:"
                                        << driverSaid;
    EXPECT_EQ(Mode(privateTemp), 0700u);
    EXPECT_FALSE(fs::exists(privateTemp + "/tmp.wav")) << "the deciphered copy goes at exit";
    for (const char* name : {"users.conf", "config.cfg", "data.db"})
        EXPECT_EQ(Mode(program + "/" + name), 0600u) << name;

    const std::vector<std::string> secrets = {AdminPassword, devicePassword, yorde::test::Md5Hex(devicePassword),
                                              Upper(yorde::test::Md5Hex(devicePassword)), RecordingKey};
    std::vector<std::string> written = FilesBelow({program, runtime});
    written.insert(written.end(), {log, log + ".out"});
    EXPECT_GE(written.size(), 8u);
    for (const std::string& path : written) {
        const std::string bytes = yorde::test::ReadFile(path);
        for (const std::string& secret : secrets)
            EXPECT_EQ(bytes.find(secret), std::string::npos) << "\"" << secret << "\" in " << path;
        for (const std::string& sound : plainSound)
            EXPECT_EQ(bytes.find(sound), std::string::npos) << "deciphered sound in " << path;
    }
}
