#include "rtl/CodePages.h"
#include "rtl/StrUtils.h"

#include <gtest/gtest.h>

namespace {

AnsiString Pl(const char* utf8) { return Utf8ToCodePage(utf8, 1250); }

class AnsiCodePage : public ::testing::Test {
protected:
    void TearDown() override { SetACP(1250); }
};

TEST(StrUtils, PositionsAreOneBasedAndClamped) {
    EXPECT_EQ(Pos("c", "abcabc"), 3);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosEx("c", "abcabc", 4), 6);
    EXPECT_EQ(PosEx("c", "abc", 9), 0);

    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");
}

TEST(StrUtils, InsertAndDeleteClampLikeTheLibrary) {
    AnsiString s = "abc";
    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYbc");
    s = "abc";
    Insert("Z", s, 99);  // past the end appends
    EXPECT_EQ(s, "abcZ");
    s = "abc";
    Insert("Z", s, -5);  // below 1 inserts at the front
    EXPECT_EQ(s, "Zabc");

    s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, "ad");
    Delete(s, 0, 1);
    Delete(s, 5, 1);
    EXPECT_EQ(s, "ad");
}

TEST(StrUtils, TrimStopsAtHighBytes) {
    EXPECT_EQ(Trim(" \t\r\nab c\x01 "), "ab c");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a \n"), "  a");
    // 0xA0 (no-break space in 1250) and letters are above ' ' and stay.
    const AnsiString s = "\xA0" + Pl("ą") + "\xA0";
    EXPECT_EQ(Trim(s), s);
}

TEST_F(AnsiCodePage, PlainCaseRoutinesTouchAsciiOnly) {
    EXPECT_EQ(UpperCase("abc" + Pl("ąż")), "ABC" + Pl("ąż"));
    EXPECT_EQ(LowerCase("ABC" + Pl("ĄŻ")), "abc" + Pl("ĄŻ"));
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText(Pl("ą"), Pl("Ą")));
    // Folding to capitals puts '_' after the letters.
    EXPECT_GT(CompareText("_", "a"), 0);
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_GT(CompareStr("\xB9", "z"), 0);  // bytes compare unsigned
}

TEST_F(AnsiCodePage, AnsiCaseFollowsTheCodePage) {
    EXPECT_EQ(AnsiUpperCase(Pl("zażółć gęślą jaźń")), Pl("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
    EXPECT_EQ(AnsiLowerCase(Pl("ŁÓDŹ Święte")), Pl("łódź święte"));
    EXPECT_TRUE(AnsiSameText(Pl("Łódź"), Pl("łÓDŹ")));
    EXPECT_EQ(AnsiCompareText(Pl("żaba"), Pl("ŻABA")), 0);
    EXPECT_NE(AnsiCompareStr(Pl("żaba"), Pl("ŻABA")), 0);
    EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);

    SetACP(1251);
    const AnsiString ru = Utf8ToCodePage("привет ёжик", 1251);
    EXPECT_EQ(AnsiUpperCase(ru), Utf8ToCodePage("ПРИВЕТ ЁЖИК", 1251));
}

TEST(StrUtils, StringReplaceFlags) {
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", TReplaceFlags()), "a+b-c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", TReplaceFlags() << rfReplaceAll), "a+b+c");
    EXPECT_EQ(StringReplace("xAxa", "a", "_", {rfReplaceAll, rfIgnoreCase}), "x_x_");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", {rfReplaceAll}), "aaaaaa");  // no rescanning
    EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
    EXPECT_EQ(StringReplace(Pl("Żaba żaba"), Pl("ŻABA"), "x", {rfReplaceAll, rfIgnoreCase}), "x x");
}

TEST(StrUtils, QuotedStrDoublesQuotes) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
}

TEST(StrUtils, LastDelimiter) {
    EXPECT_EQ(LastDelimiter("\\:", "C:\\a\\b.wav"), 5);
    EXPECT_EQ(LastDelimiter("/", "abc"), 0);
}

}  // namespace
