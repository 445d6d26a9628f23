#include "devicelink/DeviceText.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceText, NonceBytesAndTheDevicesUrlEncoding) {
    EXPECT_EQ(ByteToHex(0x00), "00");
    EXPECT_EQ(ByteToHex(0xAB), "ab");
    EXPECT_EQ(ByteToHex(0x0F), "0f");

    EXPECT_EQ(UrlEncode("a-b c;d"), "a%2db%20c%3bd");
    EXPECT_EQ(UrlEncode("AZaz09._~!*()':"), "AZaz09._~!*()':");
    EXPECT_EQ(UrlEncode("20260102_1234.wav"), "20260102_1234.wav");
    EXPECT_EQ(UrlEncode("\xB3/#"), "%b3%2f%23");
    EXPECT_EQ(UrlEncode(AnsiString("ab\0cd", 5)), "ab");

    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    HexToBytes("0aFf7b", out, 3);
    EXPECT_EQ(out[0], 0x0A);
    EXPECT_EQ(out[1], 0xFF);
    EXPECT_EQ(out[2], 0x7B);
    EXPECT_EQ(out[3], 0xEE);
    // A pair is read up to its first non-hex character; the text's end stops reading.
    HexToBytes("1g2", out, 3);
    EXPECT_EQ(out[0], 0x01);
    EXPECT_EQ(out[1], 0x02);
    EXPECT_EQ(out[2], 0x00);
}

}  // namespace
