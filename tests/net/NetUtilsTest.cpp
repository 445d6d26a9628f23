#include "net/NetUtils.h"

#include "FileModes.h"
#include "TempFolder.h"
#include "TestServers.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

using namespace yorde::test;

TEST(NetUtils, IsValidIPTakesOnlyFourDecimalFields) {
    for (const char* ok : {"0.0.0.0", "255.255.255.255", "192.168.1.10", "010.001.000.099", "1.2.3.4"})
        EXPECT_TRUE(IsValidIP(ok)) << ok;
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.4:80", " 1.2.3.4", "1.2.3.4 ", "1. 2.3.4", "256.1.1.1",
                            "1.2.3.300", "+1.2.3.4", "1.2.3.-4", "0x1.2.3.4", "$1.2.3.4", "1..3.4", "1.2.3.4.",
                            ".1.2.3", "0001.2.3.4", "a.b.c.d", "1.2.3.4/8"})
        EXPECT_FALSE(IsValidIP(bad)) << bad;
}

TEST(NetUtils, FileSizeByNameRaisesWhenItCannotRead) {
    TTempFolder dir("yorde-net");
    WriteFile(dir.Path("f"), std::string(12345, 'x'));
    WriteFile(dir.Path("empty"), "");
    EXPECT_EQ(FileSizeByName(dir.Path("f")), 12345);
    EXPECT_EQ(FileSizeByName(dir.Path("empty")), 0);
    EXPECT_THROW(FileSizeByName(dir.Path("missing")), EFOpenError);
    EXPECT_THROW(FileSizeByName(dir.Root()), EFOpenError);
}

TEST(NetUtils, CopyFileToCopiesBytesAndNeverOverwrites) {
    TTempFolder dir("yorde-net");
    std::string src = dir.Path("src.wav"), dst = dir.Path("dst.wav");
    std::string bytes = AllByteValues() + std::string(200000, 'z');
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
TEST(NetUtils, CopiesNeverCarrySpecialModeBits) {
    TTempFolder dir("yorde-net");
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
