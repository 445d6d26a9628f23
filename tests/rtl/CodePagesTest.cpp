#include "rtl/CodePages.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <cerrno>
#include <memory>

namespace {

AnsiString AllBytes() {
    AnsiString s;
    for (int b = 0; b < 256; ++b) s += char(b);
    return s;
}

// The system converter's view of one byte: its UTF-8, or nothing when it
// rejects the byte.
bool IconvDecodes(const char* codePage, unsigned char byte, std::string& utf8) {
    const iconv_t cd = iconv_open("UTF-8", codePage);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    const std::unique_ptr<void, int (*)(iconv_t)> guard(cd, &iconv_close);
    char in = char(byte);
    char out[8];
    char* src = &in;
    char* dst = out;
    std::size_t inLeft = 1, outLeft = sizeof out;
    if (iconv(cd, &src, &inLeft, &dst, &outLeft) == std::size_t(-1)) return false;
    utf8.assign(out, dst);
    return true;
}

class CodePagesTest : public ::testing::TestWithParam<int> {};

TEST_P(CodePagesTest, EveryByteSurvivesTheRoundTrip) {
    const AnsiString bytes = AllBytes();
    const std::string utf8 = CodePageToUtf8(bytes, GetParam());
    EXPECT_EQ(Utf8ToCodePage(utf8, GetParam()), bytes);
}

TEST_P(CodePagesTest, TablesAgreeWithTheSystemConverter) {
    const std::string name = "CP" + std::to_string(GetParam());
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const std::string ours = CodePageToUtf8(std::string_view(&byte, 1), GetParam());
        std::string theirs;
        if (IconvDecodes(name.c_str(), static_cast<unsigned char>(b), theirs)) {
            EXPECT_EQ(ours, theirs) << name << " byte " << b;
        } else {
            // Undefined there: the byte's own value as a character.
            ++undefined;
            EXPECT_EQ(ours, std::string({char(0xC0 | (b >> 6)), char(0x80 | (b & 0x3F))})) << name << " byte " << b;
        }
    }
    EXPECT_LE(undefined, 5);
}

INSTANTIATE_TEST_SUITE_P(OwnTables, CodePagesTest, ::testing::Values(1250, 1251, 1252));

TEST(CodePages, PolishAndRussianSamples) {
    const std::string pl = "Zażółć gęślą jaźń ŻÓŁĆ";
    const AnsiString pl1250 = Utf8ToCodePage(pl, 1250);
    EXPECT_EQ(pl1250, "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF\xD3\xA3\xC6");
    EXPECT_EQ(CodePageToUtf8(pl1250, 1250), pl);

    const std::string ru = "Привет, мир! Ёё";
    const AnsiString ru1251 = Utf8ToCodePage(ru, 1251);
    EXPECT_EQ(ru1251, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0! \xA8\xB8");
    EXPECT_EQ(CodePageToUtf8(ru1251, 1251), ru);
    // The same bytes read with the other table: Polish turns Cyrillic.
    EXPECT_NE(CodePageToUtf8(pl1250, 1251), pl);
}

TEST(CodePages, WhatACodePageCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(Utf8ToCodePage("żółw Ж €5 日", 1250),
              "\xBF\xF3\xB3w ? \x80"
              "5 ?");
    EXPECT_EQ(Utf8ToCodePage("ż", 1251), "?");
    EXPECT_EQ(Utf8ToCodePage("a\xFF"
                             "b\xC3",
                             1250),
              "a?b?");                                       // malformed UTF-8
    EXPECT_EQ(Utf8ToCodePage("\xED\xA0\x80", 1250), "???");  // an encoded surrogate
    // U+0081 stands for the undefined byte 0x81 of 1250, not of 1251.
    EXPECT_EQ(Utf8ToCodePage("\xC2\x81", 1250), "\x81");
    EXPECT_EQ(Utf8ToCodePage("\xC2\x81", 1251), "?");
}

TEST(CodePages, RareCodePagesGoThroughTheSystemConverter) {
    EXPECT_EQ(CodePageToUtf8("\x9C", 852), "ť");
    EXPECT_EQ(Utf8ToCodePage("ť", 852), "\x9C");
    EXPECT_EQ(CodePageToUtf8("\x82\xA0", 932), "あ");
    EXPECT_EQ(Utf8ToCodePage("あ", 932), "\x82\xA0");
    // A byte the converter rejects keeps its value, and the rest follows.
    EXPECT_EQ(CodePageToUtf8("a\x81"
                             "b",
                             1253),
              "a\xC2\x81"
              "b");
    EXPECT_EQ(Utf8ToCodePage("a\xC2\x81"
                             "b",
                             1253),
              "a\x81"
              "b");
    EXPECT_EQ(Utf8ToCodePage("ж", 1253), "?");
    // A lead byte at the very end of a text.
    EXPECT_EQ(CodePageToUtf8("x\x82", 932), "x\xC2\x82");
    EXPECT_TRUE(IsCodePageSupported(10000));
    EXPECT_FALSE(IsCodePageSupported(12345));
}

TEST(CodePages, CharsetsToCodePages) {
    EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET), 1250);
    EXPECT_EQ(CharsetToCodePage(EASTEUROPE_CHARSET), 1250);
    EXPECT_EQ(CharsetToCodePage(RUSSIAN_CHARSET), 1251);
    EXPECT_EQ(CharsetToCodePage(ANSI_CHARSET), 1252);
    EXPECT_EQ(CharsetToCodePage(OEM_CHARSET), 852);
    EXPECT_EQ(CharsetToCodePage(MAC_CHARSET), 10000);
    EXPECT_EQ(CharsetToCodePage(SHIFTJIS_CHARSET), 932);
    EXPECT_EQ(CharsetToCodePage(THAI_CHARSET), 874);
    SetACP(1251);
    EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET), 1251);
    SetACP(1250);
    for (int charset : {0, 1, 2, 77, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238, 255})
        EXPECT_TRUE(IsCodePageSupported(CharsetToCodePage(charset))) << charset;
}

TEST(CodePages, CaseTablesPairLettersBothWays) {
    for (int cp : {1250, 1251, 1252}) {
        const TCaseTable& t = CaseTableFor(cp);
        for (int b = 0; b < 256; ++b) {
            const unsigned char up = t.Upper[b], low = t.Lower[b];
            if (up != b) {
                EXPECT_EQ(t.Lower[up], b) << cp << " byte " << b;
            }
            if (low != b) {
                EXPECT_EQ(t.Upper[low], b) << cp << " byte " << b;
            }
        }
    }
    EXPECT_EQ(CaseTableFor(1250).Upper[0xB3], 0xA3);  // ł -> Ł
    EXPECT_EQ(CaseTableFor(1250).Upper[0xDF], 0xDF);  // ß has no capital here
    EXPECT_EQ(CaseTableFor(1251).Lower[0xA8], 0xB8);  // Ё -> ё
    EXPECT_EQ(CaseTableFor(1252).Upper[0xFF], 0x9F);  // ÿ -> Ÿ
}

}  // namespace
