#include "rtl/Convert.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(IntToStr, EveryIntegerTypeUpToItsExtremes) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(IntToStr(std::size_t(7)), "7");
}

TEST(IntToHex, WidthAndTwosComplement) {
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0xFFF, 4), "0FFF");
    EXPECT_EQ(IntToHex(0xFFFF, 4), "FFFF");
    EXPECT_EQ(IntToHex(0x12345, 2), "12345");
    EXPECT_EQ(IntToHex(-1, 1), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t(-2), 1), "FFFFFFFFFFFFFFFE");
}

TEST(StrToInt, AcceptedForms) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt("   42"), 42);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X10"), 16);
    EXPECT_EQ(StrToInt("-$10"), -16);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);  // hex uses the full 32 bits
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64("3000000000"), 3000000000LL);
}

TEST(StrToInt, RefusedForms) {
    for (const char* bad :
         {"",    " ",   "+",   "-",  "$",          "0x",          ".",          "..",  "1 ",  "12a", "1.0",
          "1e3", "--1", "+-1", "$G", "2147483648", "-2147483649", "$100000000", "\t1", "1\n", "0x 1"}) {
        int v = 12345;
        EXPECT_FALSE(TryStrToInt(bad, v)) << '"' << bad << '"';
        EXPECT_EQ(v, 12345) << "value touched for " << bad;
        EXPECT_EQ(StrToIntDef(bad, -9), -9) << bad;
    }
    std::int64_t w;
    EXPECT_FALSE(TryStrToInt64("9223372036854775808", w));
    EXPECT_FALSE(TryStrToInt64("99999999999999999999", w));
    EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

TEST(StrToInt, ErrorNamesTheText) {
    try {
        StrToInt("12a");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64(".."), EConvertError);
}

TEST(FloatToStr, GeneralFifteenDigits) {
    EXPECT_EQ(FloatToStr(1234567), "1234567");  // never %g's "1.23457e+06"
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(1.5e-300), "1.5E-300");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-HUGE_VAL), "-INF");
}

TEST(FloatToStr, UsesTheDecimalSeparator) {
    TFormatSettings s = DefaultFormatSettings();
    s.DecimalSeparator = ',';
    EXPECT_EQ(FloatToStr(2.25, s), "2,25");
    EXPECT_EQ(FloatToStr(2.25), "2.25");
}

TEST(FloatToStrF, EachFormatRoundsAndNeverShowsMinusZero) {
    EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2), "1234.50");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2), "0.00");  // no "-0.00"
    EXPECT_EQ(FloatToStrF(0.15, ffFixed, 15, 1), "0.2");
    EXPECT_EQ(FloatToStrF(9.995, ffFixed, 15, 2), "10.00");
    EXPECT_EQ(FloatToStrF(0.4, ffFixed, 15, 0), "0");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2),
              "1\xA0"
              "234\xA0"
              "567.89");
    EXPECT_EQ(FloatToStrF(123.0, ffExponent, 4, 2), "1.230E+02");
    EXPECT_EQ(FloatToStrF(-5, ffCurrency, 15, 2), "-5.00 z\xB3");
}

TEST(StrToFloat, ReadsWithTheSettings) {
    EXPECT_DOUBLE_EQ(StrToFloat("  -12.5e2 "), -1250);
    EXPECT_DOUBLE_EQ(StrToFloat(".5"), 0.5);
    EXPECT_DOUBLE_EQ(StrToFloat("5."), 5);
    EXPECT_DOUBLE_EQ(StrToFloat("1e-400"), 0);
    EXPECT_THROW(StrToFloat("1,5"), EConvertError);
    EXPECT_THROW(StrToFloat("1e999"), EConvertError);
    EXPECT_THROW(StrToFloat("."), EConvertError);
    EXPECT_THROW(StrToFloat("1e"), EConvertError);
    EXPECT_THROW(StrToFloat("1.5x"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToFloatDef("abc", 7.5), 7.5);

    TFormatSettings s = DefaultFormatSettings();
    s.DecimalSeparator = ',';
    EXPECT_DOUBLE_EQ(StrToFloat("1,5", s), 1.5);
    EXPECT_THROW(StrToFloat("1.5", s), EConvertError);
}

TEST(StrToFloat, RoundTripsFloatToStr) {
    for (double v : {0.1, 1234567.0, 1e20, -3.25e-7, 98765.4321}) EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v);
}

}  // namespace
