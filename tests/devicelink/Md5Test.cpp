#include "Md5Hex.h"

#include "devicelink/Unitmd5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using yorde::test::FinishedMd5Hex;
using yorde::test::Md5Hex;

std::string Pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = char((i * 7 + 3) & 0xff);
    return s;
}

TEST(Md5, Rfc1321TestSuite) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("1234567890123456789012345678901234567890"
                     "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Lengths around the point where the padding needs a second block.
TEST(Md5, FinalBlockBoundaries) {
    EXPECT_EQ(Md5Hex(Pattern(55)), "52c0e574e1198de5fe3f8f11440dcb1b");
    EXPECT_EQ(Md5Hex(Pattern(56)), "46c9907fc908ee68b1e7b8e71286a518");
    EXPECT_EQ(Md5Hex(Pattern(63)), "a62f6d59e837867693f042f5b8f5a236");
    EXPECT_EQ(Md5Hex(Pattern(64)), "7160b8fb5e9e4023d549c3971fbaeead");
    EXPECT_EQ(Md5Hex(Pattern(65)), "70bd662e7aefbda85a0f7244167b7897");
    EXPECT_EQ(Md5Hex(Pattern(128)), "10b2da1a82f16d99a81a7203fe9f02cb");
    EXPECT_EQ(Md5Hex(Pattern(129)), "03fefbbcebe2959cf2270241aafe0250");
}

TEST(Md5, SplitUpdatesGiveTheSameDigest) {
    const std::string message = Pattern(1000);
    const std::vector<std::vector<uint32_t>> splits = {{0, 1, 63, 64, 65, 128}, {64, 64, 64}, {1, 1, 126}, {65, 0, 63},
                                                       {128, 128, 1},           {7}};
    for (const auto& pieces : splits) {
        MD5_CTX ctx;
        MD5Init(&ctx);
        size_t pos = 0;
        for (size_t i = 0; pos < message.size(); ++i) {
            uint32_t n = uint32_t(std::min<size_t>(pieces[i % pieces.size()], message.size() - pos));
            MD5Update(&ctx, message.data() + pos, n);
            pos += n;
        }
        EXPECT_EQ(FinishedMd5Hex(ctx), "10046f077f2082ac19676b8079f1cb1a") << "first piece " << pieces[0];
    }

    MD5_CTX ctx;
    MD5Init(&ctx);
    const std::string chunk(1000, 'a');
    for (int i = 0; i < 1000; ++i) MD5Update(&ctx, chunk.data(), uint32_t(chunk.size()));
    EXPECT_EQ(FinishedMd5Hex(ctx), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, ToHexWritesOnlyWhatFits) {
    unsigned char digest[16];
    for (int i = 0; i < 16; ++i) digest[i] = uint8_t(0xa0 + i);
    auto render = [&](size_t size) {
        std::string buf(40, '#');
        MD5ToHex(digest, buf.data(), size);
        return buf;
    };
    EXPECT_EQ(render(33), std::string("a0a1a2a3a4a5a6a7a8a9aaabacadaeaf") + '\0' + "#######");
    EXPECT_EQ(render(32), "a0a1a2a3a4a5a6a7a8a9aaabacadaeaf########");
    EXPECT_EQ(render(5), std::string("a0a1") + '\0' + std::string(35, '#'));
    EXPECT_EQ(render(4), "a0a1" + std::string(36, '#'));
    EXPECT_EQ(render(1), std::string(1, '\0') + std::string(39, '#'));
    EXPECT_EQ(render(0), std::string(40, '#'));
}

// The device's challenge response: MD5 over MD5(password), the 16 nonce
// bytes and the request counter in decimal. Expected value computed
// independently with Python's hashlib.
TEST(Md5, DeviceResponseWorkedExample) {
    const std::string password = "abc";
    const unsigned char nonce[16] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
                                     0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0xff};
    unsigned char key[16];
    MD5_CTX ctx;
    MD5Init(&ctx);
    MD5Update(&ctx, password.data(), uint32_t(password.size()));
    MD5Final(&ctx, key);

    auto response = [&](const std::string& counter) {
        MD5_CTX c;
        MD5Init(&c);
        MD5Update(&c, key, 16);
        MD5Update(&c, nonce, 16);
        MD5Update(&c, counter.data(), uint32_t(counter.size()));
        return FinishedMd5Hex(c);
    };
    EXPECT_EQ(response("12"), "812f227f9637befd1d801e33664d941b");
    EXPECT_EQ(response("1"), "d53b512cf76b2d337689b7c976d9cf18");
}

}  // namespace
