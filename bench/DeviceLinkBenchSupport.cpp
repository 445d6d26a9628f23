#include "DeviceLinkBenchSupport.h"

#include "devicelink/SyncRun.h"
#include "store/LocalDatabases.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <stdexcept>

extern char** environ;

namespace linkbench {

namespace {

pid_t Spawn(const std::vector<std::string>& Argv, posix_spawn_file_actions_t* Actions) {
    std::vector<char*> argv;
    for (const std::string& a : Argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], Actions, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// Counts what a run shows and waits for its end.
class TCountingUi : public TSyncUi {
public:
    void Log(const AnsiString&) override {}
    void ShowMessage(const AnsiString& Key) override {
        std::lock_guard lk(Mu);
        Result.Message = Key;
    }
    void ShowFileMessage(const AnsiString& Key, const AnsiString&) override { ShowMessage(Key); }
    void ShowLinkStatus(const AnsiString&, const AnsiString&) override {}
    void ShowProgress(int64_t, int64_t, int) override {}
    void SetFileCount(int64_t) override {}
    void StepFile() override {
        std::lock_guard lk(Mu);
        ++Result.FilesStepped;
    }
    void ClearProgress() override {}
    void ShowSdState(const TSdReply&) override {}
    void ResetSdState() override {}
    void ResetToConnect() override {}
    void ReloadList() override {}
    void RunFinished() override {
        {
            std::lock_guard lk(Mu);
            Result.Finished = true;
        }
        Cv.notify_all();
    }
    TRunResult Wait() {
        std::unique_lock lk(Mu);
        Cv.wait(lk, [&] { return Result.Finished; });
        return Result;
    }

private:
    std::mutex Mu;
    std::condition_variable Cv;
    TRunResult Result;
};

}  // namespace

TSimProcess::TSimProcess(const std::vector<std::string>& Args) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> argv = {YORDE_DEVICESIM, "--port", "0"};
    argv.insert(argv.end(), Args.begin(), Args.end());
    Pid = Spawn(argv, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // "devicesim: http://127.0.0.1:PORT (N recordings)"
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    const size_t at = line.find("http://");
    if (Pid > 0 && at != std::string::npos) Base = line.substr(at, line.find(' ', at) - at);
}

TSimProcess::~TSimProcess() {
    if (Pid <= 0) return;
    ::kill(Pid, SIGTERM);
    int status = 0;
    ::waitpid(Pid, &status, 0);
}

std::string MakeProgramFolder(const std::string& Parent) {
    std::string pattern = Parent + "/yorde-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
    const std::string folder = pattern + "/";
    std::filesystem::create_directory(folder + "files");
    if (PrepareLocalDatabases(folder).ExitCode != DB_READY) throw std::runtime_error("no databases in " + folder);
    return folder;
}

void RemoveFolder(const std::string& Folder) {
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
}

TRunResult RunSync(const std::string& Base, const std::string& Password, const std::string& Folder,
                   int64_t QuotaSteps) {
    auto ui = std::make_shared<TCountingUi>();
    HTTPThread run(TSyncSettings{Base, Password, Folder, [QuotaSteps] { return QuotaSteps; }, {}, {}}, ui);
    return ui->Wait();
}

void ResetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

double PeakRssMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

namespace {

double CpuMs(int Who) {
    rusage u{};
    ::getrusage(Who, &u);
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

}  // namespace

double ProcessCpuMs() { return CpuMs(RUSAGE_SELF); }
double ChildrenCpuMs() { return CpuMs(RUSAGE_CHILDREN); }

int RunProgram(const std::vector<std::string>& Argv, const std::string& Output) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!Output.empty())
        posix_spawn_file_actions_addopen(&actions, 1, Output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const pid_t pid = Spawn(Argv, &actions);
    posix_spawn_file_actions_destroy(&actions);
    if (pid <= 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace linkbench
