#include "Launcher.h"

#include "rtl/FileDescriptor.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <mutex>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::mutex hookMutex;
TLaunchHook launchHook;

bool EndsWithExe(const AnsiString& s) {
    if (s.size() < 4) return false;
    const char* e = s.c_str() + s.size() - 4;
    return e[0] == '.' && (e[1] | 0x20) == 'e' && (e[2] | 0x20) == 'x' && (e[3] | 0x20) == 'e';
}

// Folder of our own executable, with a trailing separator.
AnsiString OwnFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return AnsiString();
    AnsiString folder = exe.parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// Every descriptor from 3 up becomes close-on-exec. Runs in the forked child,
// so only system calls here.
void CloseOnExecFrom3(int maxFd) {
#ifdef SYS_close_range
    // CLOSE_RANGE_CLOEXEC (4): marks instead of closing, so the error pipe
    // survives until exec.
    if (syscall(SYS_close_range, 3u, ~0u, 4u) == 0) return;
#endif
    for (int fd = 3; fd < maxFd; ++fd) {
        int flags = fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC)) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

// Hands errno to the parent through the error pipe; runs in the forked child.
void ReportErrno(int pipeFd) {
    const int err = errno;
    (void)WriteAll(pipeFd, std::string_view(reinterpret_cast<const char*>(&err), sizeof err));
}

// Double fork: the intermediate child starts a new session and exits at once,
// so the program is adopted by init (or the subreaper) and never becomes our
// zombie. The grandchild reports a failed exec through a close-on-exec pipe;
// end of file on the pipe means the exec succeeded.
bool SpawnDetached(const TLaunchRequest& req) {
    std::vector<char*> argv;
    argv.reserve(req.Args.size() + 2);
    argv.push_back(const_cast<char*>(req.Program.c_str()));
    for (const auto& a : req.Args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const char* path = req.Program.c_str();
    const char* dir = req.WorkDir.empty() ? nullptr : req.WorkDir.c_str();

    struct rlimit rl {};
    int maxFd = 1024;
    if (getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY)
        maxFd = static_cast<int>(rl.rlim_cur > 65536 ? 65536 : rl.rlim_cur);

    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0) return false;

    pid_t child = fork();
    if (child < 0) {
        close(errPipe[0]);
        close(errPipe[1]);
        return false;
    }
    if (child == 0) {
        close(errPipe[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild < 0) {
            ReportErrno(errPipe[1]);
            _exit(127);
        }
        if (grandchild > 0) _exit(0);

        // The caller may block or ignore signals (a GUI toolkit often
        // ignores SIGPIPE); the new program starts with the defaults.
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int sig = 1; sig < NSIG; ++sig) signal(sig, SIG_DFL);

        CloseOnExecFrom3(maxFd);
        if (dir && chdir(dir) != 0) {
            ReportErrno(errPipe[1]);
            _exit(127);
        }
        execve(path, argv.data(), environ);
        ReportErrno(errPipe[1]);
        _exit(127);
    }

    close(errPipe[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t got;
    do {
        got = read(errPipe[0], &err, sizeof err);
    } while (got < 0 && errno == EINTR);
    close(errPipe[0]);
    if (got > 0) {
        errno = err;
        return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

AnsiString ResolveLaunchPath(const AnsiString& program, const AnsiString& programFolder) {
    if (program.find('/') != AnsiString::npos) return program;
    AnsiString name = EndsWithExe(program) ? program.substr(0, program.size() - 4) : program;
    AnsiString folder = programFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name;
}

TLaunchHook SetLaunchHook(TLaunchHook hook) {
    std::lock_guard lock(hookMutex);
    std::swap(launchHook, hook);
    return hook;
}

bool ShellStart(const AnsiString& program, const std::vector<AnsiString>& args, const AnsiString& workDir) {
    if (program.empty()) return false;
    const bool bareName = program.find('/') == AnsiString::npos;
    TLaunchRequest req{ResolveLaunchPath(program, bareName ? OwnFolder() : AnsiString()), args, workDir};
    TLaunchHook hook;
    {
        std::lock_guard lock(hookMutex);
        hook = launchHook;
    }
    return hook ? hook(req) : SpawnDetached(req);
}
