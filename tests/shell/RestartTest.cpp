#include "ShellTestUtil.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

#ifdef YORDE_RESTART_EXE

namespace {

struct Fd {
    int fd = -1;
    ~Fd() { Reset(); }
    void Reset() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

// A loopback listener on a port the system picks; never the real 50505.
int ListenOnFreePort(Fd& sock) {
    sock.fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(sock.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(sock.fd, 1) != 0) return -1;
    socklen_t len = sizeof addr;
    getsockname(sock.fd, reinterpret_cast<sockaddr*>(&addr), &len);
    return ntohs(addr.sin_port);
}

pid_t StartRestart(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(YORDE_RESTART_EXE)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, YORDE_RESTART_EXE, nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

int ExitCode(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// The program to be restarted: it leaves a marker beside itself.
void InstallProgram(const TTempFolder& folder, const std::string& name) {
    std::string path = folder.Path(name);
    WriteFile(path, "#!/bin/sh\necho started > \"$(dirname \"$0\")/marker\"\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace

// A first instance holds the port; the helper waits for it to exit and then
// starts the program from the folder.
TEST(RestartHelper, StartsProgramAfterOldInstanceExits) {
    TTempFolder folder("yorde restart");
    InstallProgram(folder, "yorde-test");

    Fd sock;
    int port = ListenOnFreePort(sock);
    ASSERT_GT(port, 0);
    int release[2];
    ASSERT_EQ(pipe2(release, O_CLOEXEC), 0);
    Fd releaseRead{release[0]}, releaseWrite{release[1]};

    pid_t oldInstance = fork();
    ASSERT_GE(oldInstance, 0);
    if (oldInstance == 0) {
        // Holds the listening socket until told to exit.
        releaseWrite.Reset();
        char c;
        while (read(releaseRead.fd, &c, 1) < 0 && errno == EINTR) {
        }
        _exit(0);
    }
    sock.Reset();  // only the old instance holds the port now
    releaseRead.Reset();

    pid_t helper = StartRestart(
        {"--port", std::to_string(port), "--timeout-ms", "60000", "--program", "yorde-test", folder.Root()});
    ASSERT_GT(helper, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("marker"))) << "started while the old instance still ran";
    EXPECT_EQ(waitpid(helper, nullptr, WNOHANG), 0) << "the helper should still be waiting";

    releaseWrite.Reset();
    EXPECT_EQ(ExitCode(oldInstance), 0);
    EXPECT_TRUE(WaitForFile(folder.Path("marker")));
    EXPECT_EQ(ExitCode(helper), 0);
    EXPECT_EQ(ReadFile(folder.Path("marker")), "started\n");
}

TEST(RestartHelper, GivesUpWhenThePortStaysTaken) {
    TTempFolder folder("yorde restart");
    InstallProgram(folder, "yorde-test");
    Fd sock;
    int port = ListenOnFreePort(sock);
    ASSERT_GT(port, 0);
    pid_t helper =
        StartRestart({"--port", std::to_string(port), "--timeout-ms", "200", "--program", "yorde-test", folder.Dir()});
    ASSERT_GT(helper, 0);
    EXPECT_NE(ExitCode(helper), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("marker")));
}

TEST(RestartHelper, RefusesMissingFolderProgramOrArguments) {
    TTempFolder folder("yorde restart");
    auto run = [](const std::vector<std::string>& args) { return ExitCode(StartRestart(args)); };
    EXPECT_NE(run({"--timeout-ms", "0", folder.Path("gone")}), 0);
    EXPECT_NE(run({"--timeout-ms", "0", "--program", "absent", folder.Dir()}), 0);
    EXPECT_NE(run({}), 0);
    EXPECT_NE(run({"--port", "0", folder.Dir()}), 0);
    EXPECT_NE(run({"--program", "../escape", folder.Dir()}), 0);
}

#endif
