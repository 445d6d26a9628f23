#include "rtl/FileCopy.h"

#include "FileModes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

using namespace yorde::test;

TEST(FileCopy, CopyFileToCopiesBytesAndNeverOverwrites) {
    TTempFolder dir("yorde-copy");
    std::string src = dir.Path("src.wav"), dst = dir.Path("dst.wav");
    // Every byte value: content that no text handling may touch.
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += char(i);
    bytes += std::string(200000, 'z');
    WriteFile(src, bytes);

    EXPECT_TRUE(CopyFileTo(src, dst));
    EXPECT_EQ(ReadFile(dst), bytes);

    WriteFile(dst, "keep");
    EXPECT_FALSE(CopyFileTo(src, dst));
    EXPECT_EQ(ReadFile(dst), "keep");

    EXPECT_FALSE(CopyFileTo(dir.Path("missing"), dir.Path("other")));
    EXPECT_FALSE(CopyFileTo(src, dir.Path("no/such/folder")));

    // Nothing half-made or temporary is left beside the target.
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Root())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dst.wav", "src.wav"}));
}

// A copy never carries a setuid, setgid or sticky bit; one from an open file
// gets the mode it is given, whatever the source's, and says why it failed.
TEST(FileCopy, CopiesNeverCarrySpecialModeBits) {
    TTempFolder dir("yorde-copy");
    TUmaskScope mask(0);
    const std::string src = dir.Path("src.wav");
    WriteFile(src, "bytes");
    ASSERT_EQ(::chmod(src.c_str(), 07755), 0);
    EXPECT_TRUE(CopyFileTo(src, dir.Path("copy.wav")));
    EXPECT_EQ(ModeOf(dir.Path("copy.wav")), 0755u);

    const int fd = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 2, SEEK_SET), 2);
    EXPECT_EQ(CopyOpenFileTo(fd, dir.Path("open.wav"), 0644), 0);
    EXPECT_EQ(ReadFile(dir.Path("open.wav")), "tes");
    EXPECT_EQ(ModeOf(dir.Path("open.wav")), 0644u);
    EXPECT_EQ(CopyOpenFileTo(fd, dir.Path("open.wav"), 0644), EEXIST);
    EXPECT_EQ(CopyOpenFileTo(fd, dir.Path("no/such/folder"), 0644), ENOENT);
    ::close(fd);
}
