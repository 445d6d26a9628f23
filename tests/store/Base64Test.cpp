#include "store/Base64File.h"

#include "ReferenceBase64.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::string ThroughFiles(const yorde::test::TTempFolder& dir, bool encode, std::string_view input) {
    dir.Write("in", input);
    const AnsiString in = dir.Path("in"), out = dir.Path("out");
    EXPECT_EQ(B64_OK, encode ? Base64EncodeFile(in, out) : Base64DecodeFile(in, out));
    return dir.Read("out");
}

TEST(Base64, EncodesInCrLfLinesOf72IncludingTheLast) {
    yorde::test::TTempFolder dir;
    std::mt19937 gen(7);
    for (std::size_t n : {0u, 1u, 2u, 3u, 54u, 55u, 22206u}) {
        std::string plain(n, '\0');
        for (char& c : plain) c = char(gen());
        const std::string encoded = Base64Encode(plain);
        EXPECT_EQ(ReferenceStoredBase64(plain), encoded) << n;
        EXPECT_EQ(encoded, ThroughFiles(dir, true, plain)) << n;
        EXPECT_EQ(plain, Base64Decode(encoded)) << n;
        EXPECT_EQ(plain, ThroughFiles(dir, false, encoded)) << n;
    }
    EXPECT_EQ("YQ==\r\n", Base64Encode("a"));
    EXPECT_EQ("YWI=\r\n", Base64Encode("ab"));
    EXPECT_EQ(74u, Base64Encode(std::string(54, 'x')).size());  // no empty line after a full one
}

TEST(Base64, DecoderSkipsBytesOutsideTheAlphabet) {
    yorde::test::TTempFolder dir;
    const std::pair<std::string, std::string> cases[] = {
        {"Y W\r\nJ\tj", "abc"},  // breaks and blanks anywhere
        {"=Y=W=J=j=", "abc"},    // padding anywhere
        {"YWJ", "ab"},           // no padding
        {"YQ", "a"},
        {"YWJjZ", "abc"},                   // a lone trailing character yields nothing
        {"Y*W!J\x7fj\xff", "abc"},          // stray bytes below "+" and above "z"
        {"YWJjZGVm\r\nZ2hp", "abcdefghi"},  // other line lengths
        {"\r\n", ""},
    };
    for (const auto& [text, plain] : cases) {
        EXPECT_EQ(plain, Base64Decode(text)) << text;
        EXPECT_EQ(plain, ThroughFiles(dir, false, text)) << text;
    }
}

TEST(Base64, FileRoutineReportsFilesItCannotOpenAndNamesEachCode) {
    yorde::test::TTempFolder dir;
    dir.Write("in", "abc");
    EXPECT_EQ(B64_FILE_ERROR, Base64EncodeFile(dir.Path("missing"), dir.Path("out")));
    EXPECT_FALSE(dir.Exists("out"));
    EXPECT_EQ(B64_FILE_ERROR, Base64DecodeFile(dir.Path("in"), dir.Path("no/such/out")));

    EXPECT_STREQ("b64:002:File Error Opening/Creating Files.", B64Message(B64_FILE_ERROR));
    EXPECT_STREQ("b64:003:File I/O Error -- Note: output file not removed.", B64Message(B64_FILE_IO_ERROR));
    EXPECT_STREQ("b64:004:linesize set to minimum.", B64Message(B64_LINE_SIZE_TO_MIN));
    for (int unknown : {-1, 0, 6, 1000}) EXPECT_STREQ("b64:000:Invalid Message Code.", B64Message(unknown)) << unknown;
}

TEST(Base64, TextOfOnlyTheAlphabetPaddingAndBreaksIsBase64) {
    std::mt19937 gen(11);
    std::string plain(3000, '\0');
    for (char& c : plain) c = char(gen());
    EXPECT_TRUE(IsBase64Text(Base64Encode(plain)));
    EXPECT_TRUE(IsBase64Text(Base64Encode("ab")));  // with padding
    EXPECT_TRUE(IsBase64Text("Y W\r\nJ\tj"));
    EXPECT_TRUE(IsBase64Text(""));
    // What the decoder would pass over, a damaged or foreign file holds.
    for (const std::string& text : std::vector<std::string>{"!!!!not base64!!!!", "YWJj*", "YWJj\x7f", "YW\xb3Jj",
                                                            std::string("YW\0Jj", 5), "YWJj-_", "[YWJj]"})
        EXPECT_FALSE(IsBase64Text(text)) << text;
}

}  // namespace
