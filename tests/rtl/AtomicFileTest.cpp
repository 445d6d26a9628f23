#include "FileModes.h"
#include "TempFolder.h"

#include "rtl/AtomicFile.h"
#include "rtl/Exceptions.h"
#include "rtl/FileDescriptor.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <thread>
#include <vector>

using yorde::test::ModeOf;
using yorde::test::TTempFolder;
using yorde::test::TUmaskScope;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const TTempFolder& t) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(t.Root())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

}  // namespace

TEST(FileDescriptor, ClosesOnceAndHandsOverOnMove) {
    int raw = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(raw, 0);
    {
        TUniqueFd a(raw);
        TUniqueFd b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.Get(), raw);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    raw = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    TUniqueFd kept(raw);
    EXPECT_EQ(kept.Release(), raw);
    kept.Reset();  // released: nothing to close
    EXPECT_TRUE(IsOpen(raw));
    kept.Reset(raw);
    EXPECT_EQ(kept.Close(), 0);
    EXPECT_FALSE(IsOpen(raw));
    EXPECT_EQ(kept.Close(), 0);  // a second close touches nothing
}

TEST(FileDescriptor, WriteAllGoesOnAfterShortWritesAndReportsErrors) {
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    TUniqueFd reader(ends[0]), writer(ends[1]);
    // Far more than a pipe holds: the writer is cut short again and again.
    std::string bytes(1 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 251);
    std::string got;
    std::thread drain([&] {
        char buf[4096];
        ssize_t n;
        while ((n = ::read(reader.Get(), buf, sizeof buf)) > 0) got.append(buf, std::size_t(n));
    });
    EXPECT_TRUE(WriteAll(writer.Get(), bytes));
    writer.Close();
    drain.join();
    EXPECT_EQ(got, bytes);

    TUniqueFd readOnly(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    errno = 0;
    EXPECT_FALSE(WriteAll(readOnly.Get(), "x"));
    EXPECT_EQ(errno, EBADF);
    EXPECT_TRUE(WriteAll(readOnly.Get(), ""));  // nothing to write is no error
}

TEST(AtomicFile, ALinkInTheWayIsReplacedNotWrittenThrough) {
    TTempFolder t;
    t.Write("victim", "untouched");
    fs::create_symlink(t.Path("victim"), t.Path("planted"));
    WriteFileAtomically(t.Path("planted"), "mine", {.NewMode = 0600, .ReplaceLink = true});
    EXPECT_EQ(t.Read("victim"), "untouched");
    EXPECT_FALSE(fs::is_symlink(t.Path("planted")));
    EXPECT_EQ(t.Read("planted"), "mine");
    // Nor does the victim lend the new file its permissions.
    ::chmod(t.Path("victim").c_str(), 0644);
    fs::remove(t.Path("planted"));
    fs::create_symlink(t.Path("victim"), t.Path("planted"));
    WriteFileAtomically(t.Path("planted"), "again", {.NewMode = 0600, .ReplaceLink = true});
    EXPECT_EQ(ModeOf(t.Path("planted")), 0600u);
    EXPECT_EQ(ModeOf(t.Path("victim")), 0644u);
}

TEST(AtomicFile, ALinkChosenByTheUserKeepsPointingAtTheReplacedFile) {
    TTempFolder t;
    t.MakeDir("real");
    t.Write("real/config.cfg", "old");
    ::chmod(t.Path("real/config.cfg").c_str(), 0640);
    fs::create_symlink(t.Path("real/config.cfg"), t.Path("config.cfg"));
    WriteFileAtomically(t.Path("config.cfg"), "new");
    EXPECT_TRUE(fs::is_symlink(t.Path("config.cfg")));
    EXPECT_EQ(t.Read("real/config.cfg"), "new");
    EXPECT_EQ(ModeOf(t.Path("real/config.cfg")), 0640u);
    // No temporary file left beside the link or beside the file.
    EXPECT_EQ(Names(t), (std::vector<std::string>{"config.cfg", "real"}));
    EXPECT_EQ(fs::directory_iterator(t.Path("real"))->path().filename(), "config.cfg");

    // A link to nowhere has no file to replace: the link itself gives way.
    fs::create_symlink(t.Path("gone"), t.Path("dangling"));
    WriteFileAtomically(t.Path("dangling"), "made");
    EXPECT_FALSE(fs::is_symlink(t.Path("dangling")));
    EXPECT_EQ(t.Read("dangling"), "made");
}

TEST(AtomicFile, PermissionsOfNewAndReplacedFiles) {
    TUmaskScope mask(022);
    TTempFolder t;
    WriteFileAtomically(t.Path("shared"), "a");
    EXPECT_EQ(ModeOf(t.Path("shared")), 0644u);  // 0666 less the umask, as any new file
    WriteFileAtomically(t.Path("private"), "a", {.NewMode = 0600});
    EXPECT_EQ(ModeOf(t.Path("private")), 0600u);

    // A replaced file keeps its bits, unless the owner-only rule is asked for.
    t.Write("kept", "old");
    ::chmod(t.Path("kept").c_str(), 0604);
    WriteFileAtomically(t.Path("kept"), "new", {.NewMode = 0600});
    EXPECT_EQ(ModeOf(t.Path("kept")), 0604u);
    t.Write("narrowed", "old");
    ::chmod(t.Path("narrowed").c_str(), 0644);
    WriteFileAtomically(t.Path("narrowed"), "new", {.NewMode = 0600, .KeepMode = false});
    EXPECT_EQ(ModeOf(t.Path("narrowed")), 0600u);
    EXPECT_EQ(t.Read("narrowed"), "new");
}

TEST(AtomicFile, AFailedWriteLeavesTheOldContentAndNoTemporary) {
    TTempFolder t;
    t.Write("users.conf", "old users");
    // The file-size limit makes the write fail part-way, as a full disk would.
    struct sigaction ignore {
    }, saved{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &saved);
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    try {
        WriteFileAtomically(t.Path("users.conf"), std::string(100000, 'n'));
        ADD_FAILURE() << "a write past the limit succeeded";
    } catch (const EWriteError& e) {
        EXPECT_NE(e.Message.find("users.conf"), std::string::npos) << e.Message;
    }
    EXPECT_FALSE(TryWriteFileAtomically(t.Path("users.conf"), std::string(100000, 'n')));
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::sigaction(SIGXFSZ, &saved, nullptr);
    EXPECT_EQ(t.Read("users.conf"), "old users");
    EXPECT_EQ(Names(t), std::vector<std::string>{"users.conf"});
}

TEST(AtomicFile, NothingReachesTheTargetWithoutCommit) {
    TTempFolder t;
    t.Write("data", "old");
    {
        TAtomicFile out(t.Path("data"));
        ASSERT_GE(out.Fd(), 0);
        EXPECT_TRUE(out.Write("half of the new"));
        EXPECT_EQ(t.Read("data"), "old");
    }  // abandoned, as when an exception leaves the writer
    EXPECT_EQ(t.Read("data"), "old");
    EXPECT_EQ(Names(t), std::vector<std::string>{"data"});

    // A folder in the way: the rename fails, the folder and its content stay.
    t.Write("taken/inside", "kept");
    EXPECT_THROW(WriteFileAtomically(t.Path("taken"), "x"), EFCreateError);
    EXPECT_EQ(t.Read("taken/inside"), "kept");
    EXPECT_THROW(WriteFileAtomically(t.Path("no/such/file"), "x"), EFCreateError);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"data", "taken"}));
}

TEST(AtomicFile, NoReplaceNeverOverwritesAnything) {
    TTempFolder t;
    t.Write("copy.wav", "first");
    TAtomicFile again(t.Path("copy.wav"), {.NoReplace = true});
    EXPECT_FALSE(again.Write("second"));
    EXPECT_EQ(again.Commit(), EEXIST);
    EXPECT_TRUE(again.FailedCreating());
    EXPECT_EQ(t.Read("copy.wav"), "first");

    // Not even a link to nowhere.
    fs::create_symlink(t.Path("gone"), t.Path("link.wav"));
    EXPECT_FALSE(TryWriteFileAtomically(t.Path("link.wav"), "x", {.NoReplace = true}));
    EXPECT_FALSE(fs::exists(t.Path("gone")));

    EXPECT_TRUE(TryWriteFileAtomically(t.Path("fresh.wav"), "new", {.NoReplace = true}));
    EXPECT_EQ(t.Read("fresh.wav"), "new");
    EXPECT_EQ(Names(t), (std::vector<std::string>{"copy.wav", "fresh.wav", "link.wav"}));
}
