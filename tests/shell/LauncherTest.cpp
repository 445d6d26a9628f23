#include "ShellTestUtil.h"
#include "shell/Launcher.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace {

std::string OwnFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/"; }

// Restores real launching even when an assertion fails.
struct HookGuard {
    explicit HookGuard(TLaunchHook hook) { SetLaunchHook(std::move(hook)); }
    ~HookGuard() { SetLaunchHook({}); }
};

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

// How /proc shows a socket or pipe: "socket:[inode]".
std::string Inode(const char* kind, int fd) {
    struct stat st {};
    fstat(fd, &st);
    return std::string(kind) + ":[" + std::to_string(st.st_ino) + "]";
}

}  // namespace

TEST(ShellLaunch, WindowsHelperNameFindsBinaryBesideProgram) {
    EXPECT_EQ(ResolveLaunchPath("restart.exe", "/opt/yorde/"), "/opt/yorde/restart");
    EXPECT_EQ(ResolveLaunchPath("Restart.EXE", "/opt/yorde"), "/opt/yorde/Restart");
    EXPECT_EQ(ResolveLaunchPath("restart", "/opt/yorde/"), "/opt/yorde/restart");
    // Names with a folder part are taken as given, ".exe" included.
    EXPECT_EQ(ResolveLaunchPath("/usr/bin/tool.exe", "/opt/yorde/"), "/usr/bin/tool.exe");
    EXPECT_EQ(ResolveLaunchPath("sub/tool", "/opt/yorde/"), "sub/tool");
}

TEST(ShellLaunch, HookRecordsInsteadOfStarting) {
    std::vector<TLaunchRequest> seen;
    HookGuard guard([&](const TLaunchRequest& r) {
        seen.push_back(r);
        return false;
    });
    EXPECT_FALSE(ShellStart("restart.exe", {"/opt/my programs/yorde/"}));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Program, OwnFolder() + "restart");
    EXPECT_EQ(seen[0].Args, std::vector<AnsiString>{"/opt/my programs/yorde/"});
    EXPECT_TRUE(seen[0].WorkDir.empty());
}

TEST(ShellLaunch, FailureToStartIsReported) {
    TTempFolder tmp("yorde shell");
    EXPECT_FALSE(ShellStart(tmp.Path("missing"), {}));
    WriteFile(tmp.Path("plain"), "not a program\n");
    EXPECT_FALSE(ShellStart(tmp.Path("plain"), {}));
    EXPECT_FALSE(ShellStart("/bin/sh", {"-c", "true"}, tmp.Path("no such folder")));
    EXPECT_FALSE(ShellStart("", {}));
}

// The started program gets the folder (spaces and all) as one argument, runs
// in the requested folder, and sees none of our open descriptors: a plain
// file, a pipe and a listening socket like the single-instance guard's.
TEST(ShellLaunch, PassesFolderAsOneArgumentAndLeaksNoDescriptor) {
    TTempFolder tmp("yorde shell");
    const std::string folder = tmp.Root();
    const std::string probeName = "descriptor-probe";
    Fd file{open(tmp.Path(probeName).c_str(), O_CREAT | O_WRONLY, 0600)};
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    Fd pipeRead{p[0]}, pipeWrite{p[1]};
    Fd sock{socket(AF_INET, SOCK_STREAM, 0)};
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(sock.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(sock.fd, 1), 0);
    ASSERT_GE(file.fd, 0);

    const char* script =
        "exec > \"$1/out.tmp\"; echo \"$#\"; echo \"$1\"; pwd; ls -l /proc/$$/fd; "
        "mv \"$1/out.tmp\" \"$1/out.txt\"";
    ASSERT_TRUE(ShellStart("/bin/sh", {"-c", script, "sh", folder}, tmp.Dir()));
    ASSERT_TRUE(WaitForFile(tmp.Path("out.txt")));

    std::istringstream out(ReadFile(tmp.Path("out.txt")));
    std::string argc, arg1, cwd;
    std::getline(out, argc);
    std::getline(out, arg1);
    std::getline(out, cwd);
    EXPECT_EQ(argc, "1");
    EXPECT_EQ(arg1, folder);
    EXPECT_EQ(cwd, tmp.Dir());
    std::string fds((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fds.find(probeName), std::string::npos) << fds;
    EXPECT_EQ(fds.find(Inode("socket", sock.fd)), std::string::npos) << fds;
    EXPECT_EQ(fds.find(Inode("pipe", pipeRead.fd)), std::string::npos) << fds;
}

// The caller may block or ignore signals (a GUI toolkit ignores SIGPIPE);
// the started program begins with none blocked or ignored. cp copies its
// own status, as the program sees it.
TEST(ShellLaunch, StartedProgramBeginsWithTheDefaultSignals) {
    TTempFolder tmp("yorde shell");
    sigset_t usr1, oldMask;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &usr1, &oldMask), 0);
    const auto oldPipe = signal(SIGPIPE, SIG_IGN);
    const bool started = ShellStart("/bin/cp", {"/proc/self/status", tmp.Path("status")});
    signal(SIGPIPE, oldPipe);
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    ASSERT_TRUE(started);

    // The copy is whole once its last line is there.
    std::string status;
    ASSERT_TRUE(WaitForFile(tmp.Path("status")));
    for (int i = 0; i < 1500 && status.find("nonvoluntary_ctxt_switches") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        status = ReadFile(tmp.Path("status"));
    }
    EXPECT_NE(status.find("SigBlk:\t0000000000000000\n"), std::string::npos) << status;
    EXPECT_NE(status.find("SigIgn:\t0000000000000000\n"), std::string::npos) << status;
}
