// The order of fsync and rename in a replacement, seen by wrapping the two
// calls for this test program: a power cut must leave the old file or the
// whole new one, never a renamed but empty file.
#include "TempFolder.h"

#include "rtl/AtomicFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <atomic>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::atomic<std::vector<std::string>*> g_calls{nullptr};

std::string LastPart(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PathOf(int fd) {
    char link[64], target[PATH_MAX] = {};
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, std::size_t(n)) : std::string();
}

// Collects the calls made while it lives.
class CallLog {
public:
    CallLog() { g_calls.store(&calls_); }
    ~CallLog() { g_calls.store(nullptr); }
    const std::vector<std::string>& Calls() const { return calls_; }

private:
    std::vector<std::string> calls_;
};

}  // namespace

extern "C" int fsync(int fd) {
    if (auto* calls = g_calls.load()) calls->push_back("sync " + LastPart(PathOf(fd)));
    return int(::syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) noexcept {
    if (auto* calls = g_calls.load()) calls->push_back("rename to " + LastPart(to));
    return ::renameat(AT_FDCWD, from, AT_FDCWD, to);
}

TEST(AtomicFileSync, TheBytesReachTheDiskBeforeTheRenameAndTheFolderAfterIt) {
    yorde::test::TTempFolder t;
    const std::string folder = LastPart(t.Dir());
    std::vector<std::string> calls;
    {
        CallLog log;
        WriteFileAtomically(t.Path("users.conf"), "new users");
        calls = log.Calls();
    }
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].rfind("sync .users.conf.", 0), 0u) << calls[0];  // the temporary file
    EXPECT_EQ(calls[1], "rename to users.conf");
    EXPECT_EQ(calls[2], "sync " + folder);
    EXPECT_EQ(t.Read("users.conf"), "new users");

    // Asked not to sync (a file that is cheap to lose): only the rename.
    {
        CallLog log;
        WriteFileAtomically(t.Path("cache"), "x", {.Sync = false});
        calls = log.Calls();
    }
    EXPECT_EQ(calls, std::vector<std::string>{"rename to cache"});
}
