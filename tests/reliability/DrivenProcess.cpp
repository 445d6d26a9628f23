#include "DrivenProcess.h"

#include "FreePort.h"
#include "StoredAdministrator.h"

#include "DeviceSim.h"
#include "classes/Strings.h"
#include "rtl/Folders.h"
#include "rtl/Paths.h"
#include "store/Settings.h"
#include "store/SqliteDb.h"
#include "store/SqliteStatement.h"
#include "store/Users.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace reliability {

void PrepareProgramFolder(const std::string& Folder, const std::string& Address, const std::string& DevicePassword) {
    std::filesystem::create_directories(Folder);
    yorde::test::StoreAdministrator(AdminPassword.c_str(), Folder);

    TConfigSnapshot settings;
    settings.DateFrom = "2024-01-01      00:00:00";
    settings.DateTo = "2024-12-31      23:59:59";
    settings.RefreshPosition = RefreshPositionMax;
    settings.BufferPosition = BufferPositionMax;
    settings.Address = Address;
    settings.Password = DevicePassword;
    settings.Left = settings.Top = 10;
    TStringList lines;
    BuildConfigLines(lines, settings);
    SaveConfigList(IncludeTrailingPathDelimiter(AnsiString(Folder)), lines);
}

TDrivenProcess::~TDrivenProcess() {
    if (pid_ > 0) {
        Kill();
        Wait(60);
    }
}

void TDrivenProcess::Start(const std::string& Folder, const std::string& LogFile, const std::string& Base,
                           const std::vector<std::string>& Extra, const std::map<std::string, std::string>& Env) {
    std::vector<std::string> args = {YORDE_DRIVEN_PROGRAM,
                                     "--program",
                                     Folder,
                                     "--user",
                                     AdminName,
                                     "--password",
                                     AdminPassword,
                                     "--log",
                                     LogFile,
                                     "--port",
                                     std::to_string(yorde::test::FreeLoopbackPort())};
    if (!Base.empty()) args.insert(args.end(), {"--base", Base});
    args.insert(args.end(), Extra.begin(), Extra.end());

    std::map<std::string, std::string> env = {{"QT_QPA_PLATFORM", "offscreen"}, {"SDL_AUDIODRIVER", "dummy"}};
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const size_t eq = entry.find('=');
        if (eq != std::string::npos) env.emplace(entry.substr(0, eq), entry.substr(eq + 1));
    }
    for (const auto& [name, value] : Env) env[name] = value;

    std::vector<std::string> envText;
    for (const auto& [name, value] : env)
        if (!value.empty()) envText.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    // What Qt and the program print goes beside the log, not into the test's output.
    const std::string output = LogFile + ".out";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int rc = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + args[0]);
    }
}

bool TDrivenProcess::Running() {
    if (pid_ <= 0) return false;
    const pid_t r = ::waitpid(pid_, &status_, WNOHANG);
    if (r == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void TDrivenProcess::Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
}

int TDrivenProcess::Wait(int Seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    while (Running()) {
        if (std::chrono::steady_clock::now() >= until) {
            Kill();
            ::waitpid(pid_, &status_, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

std::vector<std::string> ReadLines(const std::string& Path) {
    std::vector<std::string> lines;
    std::ifstream in(Path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool HasLine(const std::vector<std::string>& Lines, const std::string& Line) {
    for (const std::string& l : Lines)
        if (l == Line) return true;
    return false;
}

bool HasLineStarting(const std::vector<std::string>& Lines, const std::string& Prefix) {
    for (const std::string& l : Lines)
        if (l.rfind(Prefix, 0) == 0) return true;
    return false;
}

}  // namespace reliability

namespace reliability {

namespace {

// Whether port 80 of Ip can be bound at the moment.
bool PortFree(const std::string& Ip) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(80);
    ::inet_pton(AF_INET, Ip.c_str(), &a.sin_addr);
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    const bool free = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return free;
}

}  // namespace

bool StartDevice(TDeviceSimulator& Sim, std::string& Address, std::string& Base) {
    if (::geteuid() == 0) {
        // Tests running at the same moment each start from an address of their own.
        for (int k = 0; k < 190; ++k) {
            const std::string ip = "127.0.0." + std::to_string(50 + (::getpid() + k) % 190);
            if (!PortFree(ip)) continue;
            // One start per simulator: this is the one.
            if (!Sim.Start(80, ip)) return false;
            Address = "http://" + ip;
            Base.clear();
            return true;
        }
    }
    if (!Sim.Start(0)) return false;
    Address = "http://127.0.0.2";
    Base = Sim.BaseUrl();
    return true;
}

std::vector<std::string> StoreProblems(const std::string& Folder, const std::map<std::string, std::string>& Expected) {
    namespace fs = std::filesystem;
    std::vector<std::string> problems;
    std::map<std::string, int> inFiles;
    for (const fs::directory_entry& e : fs::directory_iterator(Folder + "/files")) {
        const std::string name = e.path().filename().string();
        if (!Expected.count(name)) problems.push_back("in files, not served: " + name);
    }
    for (const auto& [name, bytes] : Expected) {
        const std::string path = Folder + "/files/" + name;
        if (!fs::exists(path))
            problems.push_back("missing from files: " + name);
        else if (yorde::test::ReadFile(path) != bytes)
            problems.push_back("bytes differ: " + name);
    }
    try {
        SqliteDb db;
        db.Open(Folder + "/data.db");
        SqliteStatement check(db, "PRAGMA integrity_check;");
        const std::string verdict = check.Step() ? std::string(check.ColumnText(0)) : std::string("no answer");
        if (verdict != "ok") problems.push_back("integrity_check: " + verdict);
        SqliteStatement rows(db, "SELECT Filename, count(*) FROM Files GROUP BY Filename;");
        std::map<std::string, int64_t> registered;
        while (rows.Step()) registered[std::string(rows.ColumnText(0))] = rows.ColumnInt64(1);
        for (const auto& [name, count] : registered) {
            if (!Expected.count(name)) problems.push_back("registered, not served: " + name);
            if (count != 1) problems.push_back("registered " + std::to_string(count) + " times: " + name);
        }
        for (const auto& [name, bytes] : Expected)
            if (!registered.count(name)) problems.push_back("not registered: " + name);
    } catch (const SqliteException& e) {
        problems.push_back(std::string("data.db: ") + e.Message());
    }
    return problems;
}

}  // namespace reliability
