#include "net/NetUtils.h"

#include "TempFolder.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

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
