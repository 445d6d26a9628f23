// Escape decoding of looked-up texts and the word routines that cut entries.
#include "localization/LxTextRoutines.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodeEscapes, SimpleEscapesAndWhatStaysLiteral) {
    EXPECT_EQ(DecodeEscapes("Line one\\nline two"), "Line one\nline two");
    EXPECT_EQ(DecodeEscapes("a\\\\b"), "a\\b");
    EXPECT_EQ(DecodeEscapes("\\q"), "\\q");
    EXPECT_EQ(DecodeEscapes("ends\\"), "ends\\");
    EXPECT_EQ(DecodeEscapes("\\t\\r\\a\\b\\f\\v\\?\\\"\\'"), "\t\r\a\b\f\v?\"'");
}

TEST(DecodeEscapes, OctalAndHexadecimal) {
    EXPECT_EQ(DecodeEscapes("\\101"), "A");
    EXPECT_EQ(DecodeEscapes("\\7"), "\a");
    EXPECT_EQ(DecodeEscapes("\\1018"), "A8");  // at most three octal digits
    EXPECT_EQ(DecodeEscapes("\\1011"), "A1");  // a fourth octal digit is a character of its own
    EXPECT_EQ(DecodeEscapes("\\0000"), std::string("\0"
                                                   "0",
                                                   2));
    EXPECT_EQ(DecodeEscapes("\\12x"), "\nx");   // fewer digits end at the first other character
    EXPECT_EQ(DecodeEscapes("a\\101"), "aA");   // digits running to the end of the text
    EXPECT_EQ(DecodeEscapes("\\777"), "\xFF");  // modulo 256
    EXPECT_EQ(DecodeEscapes("\\x41"), "A");
    EXPECT_EQ(DecodeEscapes("\\x4"), "\x04");
    EXPECT_EQ(DecodeEscapes("\\x414"), "A4");  // at most two hex digits
    EXPECT_EQ(DecodeEscapes("\\x"), "\\x");
    EXPECT_EQ(DecodeEscapes("\\xg\\n"), "\\xg\n");  // not a hex digit: the rest reads as usual
}

TEST(WordRoutines, FieldsBetweenSingleDelimiters) {
    const AnsiString d = "\1";
    const AnsiString entry = "key\1a\1\1c\1";
    EXPECT_EQ(WordPosition(1, entry, d), 1);
    EXPECT_EQ(WordPosition(3, entry, d), 7);  // the empty word between two delimiters
    EXPECT_EQ(ExtractWord(3, entry, d), "");
    EXPECT_EQ(ExtractWord(4, entry, d), "c");
    EXPECT_EQ(WordPosition(5, entry, d), 10);  // after the closing delimiter: present, empty
    EXPECT_EQ(WordPosition(6, entry, d), 0);   // absent, never a valid position
    // A one-character last word without closing delimiter is a word.
    EXPECT_EQ(ExtractWord(2, "K\1a", d), "a");
    EXPECT_EQ(ExtractWord(3, "Grid.Cols[2].Title", ".[]"), "2");
    EXPECT_EQ(CountDelimiters("a\1b\1c", d), 2);
}

TEST(WordRoutines, NoWordBeforeTheFirst) {
    for (int n : {0, -1}) {
        EXPECT_EQ(WordPosition(n, "a\1b", "\1"), 0) << n;
        EXPECT_EQ(ExtractWord(n, "a\1b", "\1"), "") << n;
    }
    EXPECT_EQ(WordPosition(1, "", "\1"), 1);  // an empty text holds one empty word
    EXPECT_EQ(WordPosition(2, "", "\1"), 0);
}

TEST(WordRoutines, IndexesAreNineDigitsAtMost) {
    int v = -1;
    EXPECT_TRUE(ParseIndex("123456789", v));
    EXPECT_EQ(v, 123456789);
    EXPECT_TRUE(ParseIndex("007", v));
    EXPECT_EQ(v, 7);
    for (const char* bad : {"", "1234567890", "9999999999", "-1", "+1", " 1", "1 ", "1a", "0x1"})
        EXPECT_FALSE(ParseIndex(bad, v)) << bad;
}

TEST(WordRoutines, ReplaceStrDoesNotRescanItsReplacement) {
    EXPECT_EQ(ReplaceStr("aXbXc", "X", "XX", true), "aXXbXXc");
    EXPECT_EQ(ReplaceStr("aXbXc", "X", "-", false), "a-bXc");
    EXPECT_EQ(ReplaceStr("abc", "B", "-", true), "abc");
}

}  // namespace
