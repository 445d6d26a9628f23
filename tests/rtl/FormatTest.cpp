#include "rtl/Exceptions.h"
#include "rtl/Format.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Format, IntegersAndWidths) {
    EXPECT_EQ(Format("%d|%5d|%-5d|%.3d|%.3d", {42, 42, 42, 7, -7}), "42|   42|42   |007|-007");
    EXPECT_EQ(Format("%2d", {5}), " 5");  // the width pads with blanks only
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%u", {std::int64_t(-1)}), "18446744073709551615");
    EXPECT_EQ(Format("%x|%X|%.4x", {255, 255, 10}), "FF|FF|000A");
    EXPECT_EQ(Format("%x", {-1}), "FFFFFFFF");
    EXPECT_EQ(Format("%d", {std::uint64_t(18446744073709551615ULL)}), "18446744073709551615");
    EXPECT_EQ(Format("%*d|%-*d|", {4, 1, 3, 2}), "   1|2  |");
}

TEST(Format, TextsAndCharactersTakeWidthPrecisionAndEmbeddedNuls) {
    const AnsiString name = "Jan";
    EXPECT_EQ(Format("%s=%s", {"a", name}), "a=Jan");
    EXPECT_EQ(Format("[%6s][%-6s][%.2s]", {"abc", "abc", "abc"}), "[   abc][abc   ][ab]");
    EXPECT_EQ(Format("%s   %c", {"x", 'y'}), "x   y");
    EXPECT_EQ(Format("%c", {65}), "A");
    EXPECT_EQ(Format("%s", {'q'}), "q");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
    const AnsiString withNul("a\0b", 3);
    EXPECT_EQ(Format("%s", {withNul}).size(), 3u);
}

TEST(Format, IndexSpecifiers) {
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b", "c"}), "b a b");
    EXPECT_EQ(Format("%0:s-%0:s", {"x"}), "x-x");
}

TEST(Format, FloatsRoundHalvesAwayFromZeroAndUseTheLocaleSeparators) {
    EXPECT_EQ(Format("%f|%.1f|%.0f", {3.14159, 2.25, 2.5}), "3.14|2.3|3");  // halves round away from zero
    EXPECT_EQ(Format("%e", {1.0}), "1.00000000000000E+000");
    EXPECT_EQ(Format("%.3e", {-12345.678}), "-1.23E+004");
    EXPECT_EQ(Format("%g", {0.5}), "0.5");
    EXPECT_EQ(Format("%n", {1234567.891}),
              "1\xA0"
              "234\xA0"
              "567.89");
    EXPECT_EQ(Format("%m", {12.5}), "12.50 z\xB3");
    EXPECT_EQ(Format("%8.2f", {1.5}), "    1.50");
    EXPECT_EQ(Format("%.f|%.s|", {2.5, "abc"}), "3||");  // a dot without digits is precision 0
}

TEST(Format, MismatchesRaise) {
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {5}), EConvertError);
    EXPECT_THROW(Format("%f", {5}), EConvertError);
    EXPECT_THROW(Format("%d", {1.5}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%5", {1}), EConvertError);
    EXPECT_THROW(Format("%k", {1}), EConvertError);
    EXPECT_THROW(Format("%*d", {"x", 1}), EConvertError);
    EXPECT_THROW(Format("%1000000d", {1}), EConvertError);  // no width runs away with the memory
    EXPECT_EQ(Format("%100000d", {1}).size(), 100000u);
    try {
        Format("%d", {});
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "No argument for format '%d'");
    }
}

TEST(Sprintf, PrintfSemantics) {
    EXPECT_EQ(Sprintf("%02d:%02d:%02d", 1, 2, 3), "01:02:03");
    EXPECT_EQ(Sprintf("%sfiles/%s", "/opt/y/", "a.wav"), "/opt/y/files/a.wav");
    EXPECT_EQ(Sprintf("%02lld", 5LL), "05");
    EXPECT_EQ(Sprintf("%.2f", 1.5), "1.50");
    const AnsiString longText(1000, 'x');
    EXPECT_EQ(Sprintf("<%s>", longText.c_str()), "<" + longText + ">");
}

}  // namespace
