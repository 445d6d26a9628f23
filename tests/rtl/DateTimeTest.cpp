#include "rtl/DateTime.h"
#include "rtl/DateTimeText.h"
#include "rtl/Exceptions.h"

#include "TimeZoneScope.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class DateTimeTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResetNowProvider();
        ResetFormatSettings();
    }
    static TDateTime At(Word y, Word m, Word d, Word h = 0, Word n = 0, Word s = 0, Word ms = 0) {
        return EncodeDateTime(y, m, d, h, n, s, ms);
    }
    static AnsiString Ymd(TDateTime v) { return FormatDateTime("yyyy-mm-dd", v); }
};

TEST_F(DateTimeTest, DatesCountDaysFrom30December1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2024, 3, 5), 45356);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
}

TEST_F(DateTimeTest, DecodeRoundTripsEveryDayOfTheCalendarEdges) {
    for (Word y : {Word(1), Word(1600), Word(1899), Word(1900), Word(2000), Word(2024), Word(2100), Word(9999)})
        for (Word m = 1; m <= 12; ++m)
            for (Word d = 1; d <= DaysInAMonth(y, m); ++d) {
                Word yy, mm, dd;
                DecodeDate(EncodeDate(y, m, d), yy, mm, dd);
                ASSERT_EQ(yy * 10000 + mm * 100 + dd, y * 10000 + m * 100 + d);
            }
}

TEST_F(DateTimeTest, TimesBeforeTheEpochCountTheFractionForward) {
    Word y, m, d, h, n, s, ms;
    DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
    EXPECT_EQ(h, 6);
    // Milliseconds that round up to the next day carry into the date.
    DecodeDateTime(EncodeDate(2024, 3, 5) + 0.9999999999, y, m, d, h, n, s, ms);
    EXPECT_EQ(d, 6);
    EXPECT_EQ(h, 0);
}

TEST_F(DateTimeTest, InvalidPartsRaise) {
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_NO_THROW(EncodeTime(23, 59, 59, 999));
    TDateTime v = 7;
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, v));
    EXPECT_EQ(v, 7);
}

TEST_F(DateTimeTest, LeapYearsMonthLengthsAndBothWeekdayNumberings) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    const TDateTime tuesday = At(2024, 3, 5, 13);
    EXPECT_EQ(DayOfWeek(tuesday), 3);     // Sunday = 1
    EXPECT_EQ(DayOfTheWeek(tuesday), 2);  // Monday = 1
    EXPECT_EQ(DayOfTheWeek(At(2024, 3, 10)), 7);
    EXPECT_EQ(DayOfWeek(At(2024, 3, 10)), 1);
}

TEST_F(DateTimeTest, IncMonthClampsTheDay) {
    EXPECT_EQ(Ymd(IncMonth(At(2024, 1, 31))), "2024-02-29");
    EXPECT_EQ(Ymd(IncMonth(At(2023, 1, 31))), "2023-02-28");
    EXPECT_EQ(Ymd(IncMonth(At(2024, 2, 29), 12)), "2025-02-28");
    EXPECT_EQ(Ymd(IncMonth(At(2024, 3, 31), -1)), "2024-02-29");
    EXPECT_EQ(Ymd(IncMonth(At(2024, 1, 15), -13)), "2022-12-15");
    EXPECT_EQ(FormatDateTime("hh:nn", IncMonth(At(2024, 1, 31, 10, 30))), "10:30");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", IncMonth(At(1850, 1, 31, 10, 30))), "1850-02-28 10:30");
    EXPECT_EQ(Ymd(IncMonth(At(1, 3, 15), -5)), "0001-01-15");  // the calendar's ends hold
    EXPECT_EQ(Ymd(IncMonth(At(9999, 11, 15), 5)), "9999-12-15");
    EXPECT_EQ(Ymd(IncDay(At(2024, 12, 31))), "2025-01-01");
}

TEST_F(DateTimeTest, NowComesFromTheClockInForce) {
    const TDateTime fixed = At(2030, 6, 15, 12, 34, 56, 789);
    SetNowProvider([fixed] { return fixed; });
    EXPECT_EQ(Now(), fixed);
    EXPECT_EQ(Date(), EncodeDate(2030, 6, 15));
    EXPECT_EQ(FormatDateTime("hh:nn:ss.zzz", Time()), "12:34:56.789");
    EXPECT_LT(Time(), 1);
    ResetNowProvider();
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST_F(DateTimeTest, EveryFormatLetterAndQuotedLiteral) {
    const TDateTime v = At(2024, 3, 5, 14, 7, 9, 45);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", v), "2024-03-05 14:07:09");
    EXPECT_EQ(FormatDateTime("yy/m/d h:n:s z zzz", v), "24-3-5 14:7:9 45 045");
    EXPECT_EQ(FormatDateTime("hh:mm", v), "14:07");  // m after an hour is minutes
    EXPECT_EQ(FormatDateTime("mmddyyhhnnsszzz", v), "030524140709045");
    EXPECT_EQ(FormatDateTime("h:nn am/pm|hh AM/PM|h a/p|h ampm", v), "2:07 pm|02 PM|2 p|2 PM");
    EXPECT_EQ(FormatDateTime("'yyyy' \"mm\" yyyy", v), "yyyy mm 2024");
    EXPECT_EQ(FormatDateTime("c", v), "2024-03-05 14:07:09");
    EXPECT_EQ(FormatDateTime("c", At(2024, 3, 5)), "2024-03-05");
    EXPECT_EQ(FormatDateTime("ddddd t tt", v), "2024-03-05 14:07 14:07:09");
    EXPECT_EQ(FormatDateTime("h am/pm", At(2024, 3, 5, 0)), "12 am");
}

TEST_F(DateTimeTest, NamesAndSeparatorsComeFromTheSettings) {
    const TDateTime v = At(2024, 3, 5);
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", v), "Wt wtorek mar marzec");
    EXPECT_EQ(FormatDateTime("dddd", At(2024, 3, 6)), "\x9Croda");  // "środa" in 1250
    FormatSettings().DateSeparator = '.';
    FormatSettings().TimeSeparator = '_';
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", v), "2024.03.05 00_00");
    EXPECT_EQ(DateToStr(v), "05.03.2024");
    ResetFormatSettings();
    EXPECT_EQ(DateTimeToStr(v + 0.5), "2024-03-05 12:00:00");
    EXPECT_EQ(TimeToStr(0.5), "12:00:00");
}

TEST_F(DateTimeTest, StrToDateTimeSkipsBlankRuns) {
    const TDateTime expected = At(2024, 3, 5, 10, 11, 12);
    EXPECT_EQ(StrToDateTime("2024-03-05 10:11:12"), expected);
    EXPECT_EQ(StrToDateTime("2024-03-05      10:11:12"), expected);
    EXPECT_EQ(StrToDateTime("  2024-3-5 10:11:12  "), expected);
    EXPECT_EQ(StrToDateTime("2024-03-05\t10:11:12\t"), expected);  // tabs are blanks too
    EXPECT_EQ(StrToDateTime("2024-03-05"), At(2024, 3, 5));
    EXPECT_EQ(StrToDateTime("2024-03-05 10:11"), At(2024, 3, 5, 10, 11));
    EXPECT_EQ(StrToDateTime("2024-03-05 10:11:12.5"), At(2024, 3, 5, 10, 11, 12, 5));
    EXPECT_EQ(StrToDateTime("10:11:12"), EncodeTime(10, 11, 12, 0));
    EXPECT_EQ(StrToDateTime("2024-03-05 2:11 PM"), At(2024, 3, 5, 14, 11));
}

TEST_F(DateTimeTest, EachTimeFieldStopsAtItsLastValue) {
    EXPECT_EQ(StrToTime("23:59:59.999"), EncodeTime(23, 59, 59, 999));
    EXPECT_EQ(StrToTime("0:00:00.0"), 0);
    TDateTime v = 42;
    for (const char* bad : {"24:00", "10:60", "10:00:60", "10:00:00.1000", "1000000000:00", "4294967297:00"}) {
        EXPECT_FALSE(TryStrToTime(bad, v)) << bad;
    }
    EXPECT_EQ(v, 42);
}

TEST_F(DateTimeTest, StrToDateTimeRefusals) {
    for (const char* bad :
         {"", "2024-02-30 10:00:00", "2024-03-05 25:00:00", "2024-03-05 10:61", "2024/03/05 10:00",
          "2024-03-05 10:11:12 junk", "2024-03-05T10:11:12", "abc", "2024-03-05 13:00 PM", "67560-03-05"}) {
        TDateTime v = 42;
        EXPECT_FALSE(TryStrToDateTime(bad, v)) << bad;
        EXPECT_EQ(v, 42) << bad;
    }
    EXPECT_THROW(StrToDateTime("x"), EConvertError);
    EXPECT_EQ(StrToDateTimeDef("x", 3.5), 3.5);
    EXPECT_THROW(StrToDate("2024-03-05 10:00"), EConvertError);
    EXPECT_THROW(StrToTime("2024-03-05"), EConvertError);
}

TEST_F(DateTimeTest, ReadingFollowsTheFieldOrder) {
    SetNowProvider([] { return EncodeDate(2024, 6, 1); });
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().DateSeparator = '.';
    EXPECT_EQ(StrToDate("05.03.2024"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("5.3"), EncodeDate(2024, 3, 5));  // current year
    EXPECT_EQ(StrToDate("05.03.24"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("05.03.80"), EncodeDate(1980, 3, 5));  // century window
    FormatSettings().ShortDateFormat = "m/d/yyyy";
    FormatSettings().DateSeparator = '/';
    EXPECT_EQ(StrToDate("3/5/2024"), EncodeDate(2024, 3, 5));
    FormatSettings().ShortDateFormat = "yyyy-mm-dd";
    FormatSettings().DateSeparator = '-';
    EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
    EXPECT_EQ(StrToDate("3-5"), EncodeDate(2024, 3, 5));  // month and day of the current year
    FormatSettings().ShortDateFormat = "'d'yyyy-mm-dd";   // a quoted letter gives no order
    EXPECT_EQ(StrToDate("2024-03-05"), EncodeDate(2024, 3, 5));
}

TEST_F(DateTimeTest, TwelveOClockWithAmOrPm) {
    EXPECT_EQ(StrToTime("12:30 PM"), EncodeTime(12, 30, 0, 0));
    EXPECT_EQ(StrToTime("12:30 AM"), EncodeTime(0, 30, 0, 0));
    EXPECT_EQ(StrToTime("12 AM"), 0);
    EXPECT_EQ(StrToTime("12 pm"), 0.5);
    EXPECT_EQ(StrToTime("11:59:59 PM"), EncodeTime(23, 59, 59, 0));
    EXPECT_EQ(StrToTime("1 AM"), EncodeTime(1, 0, 0, 0));
    EXPECT_EQ(StrToDateTime("2024-03-05 12:00 AM"), At(2024, 3, 5));
    // No hour 0 or 13 on a 12-hour clock.
    TDateTime v = 42;
    for (const char* bad : {"0 AM", "0:30 PM", "13 AM", "12:60 PM", "PM"}) {
        EXPECT_FALSE(TryStrToTime(bad, v)) << bad;
    }
    EXPECT_EQ(v, 42);
    // The format settings' own markers count too.
    FormatSettings().TimeAMString = "rano";
    FormatSettings().TimePMString = "po";
    EXPECT_EQ(StrToTime("12:15 po"), EncodeTime(12, 15, 0, 0));
    EXPECT_EQ(StrToTime("12:15 rano"), EncodeTime(0, 15, 0, 0));
    // A 24-hour locale has no markers: nothing is taken for one.
    FormatSettings().TimeAMString = "";
    FormatSettings().TimePMString = "";
    EXPECT_EQ(StrToTime("13:15"), EncodeTime(13, 15, 0, 0));
    EXPECT_EQ(StrToTime("1:15 PM"), EncodeTime(13, 15, 0, 0));
}

TEST_F(DateTimeTest, DatesBeforeTheEpochKeepTheirTimeOfDay) {
    // Before 1899-12-30 the days count down but the time still counts forward.
    const TDateTime v = StrToDateTime("1899-12-29 06:00:00");
    EXPECT_DOUBLE_EQ(v, -1.25);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", v), "1899-12-29 06:00:00");
    EXPECT_DOUBLE_EQ(At(1899, 12, 29, 6), -1.25);
    EXPECT_DOUBLE_EQ(StrToDateTime("1899-12-30 06:00:00"), 0.25);  // the epoch itself counts up
    EXPECT_DOUBLE_EQ(StrToDateTime("1899-12-31 18:00:00"), 1.75);
    EXPECT_DOUBLE_EQ(StrToDateTime("1800-01-01 00:00:00"), EncodeDate(1800, 1, 1));
    EXPECT_EQ(StrToDateTime(DateTimeToStr(At(1850, 7, 1, 23, 59, 59))), At(1850, 7, 1, 23, 59, 59));
}

TEST_F(DateTimeTest, TwoDigitYearsFallInTheWindowBeforeTheCurrentYear) {
    SetNowProvider([] { return EncodeDate(2024, 6, 1); });
    FormatSettings().ShortDateFormat = "dd.mm.yyyy";
    FormatSettings().DateSeparator = '.';
    // Window 50: the hundred years from 1974 on.
    EXPECT_EQ(StrToDate("05.03.74"), EncodeDate(1974, 3, 5));  // the base year itself
    EXPECT_EQ(StrToDate("05.03.73"), EncodeDate(2073, 3, 5));
    EXPECT_EQ(StrToDate("05.03.00"), EncodeDate(2000, 3, 5));
    EXPECT_EQ(StrToDate("05.03.99"), EncodeDate(1999, 3, 5));
    FormatSettings().TwoDigitYearCenturyWindow = 10;  // from 2014 on
    EXPECT_EQ(StrToDate("05.03.14"), EncodeDate(2014, 3, 5));
    EXPECT_EQ(StrToDate("05.03.13"), EncodeDate(2113, 3, 5));
    // Window 0: always the current century.
    FormatSettings().TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(StrToDate("05.03.99"), EncodeDate(2099, 3, 5));
    EXPECT_EQ(StrToDate("05.03.01"), EncodeDate(2001, 3, 5));
    // Written with more digits, a year is taken as it stands.
    FormatSettings().TwoDigitYearCenturyWindow = 50;
    EXPECT_EQ(StrToDate("05.03.073"), EncodeDate(73, 3, 5));
    EXPECT_EQ(StrToDate("05.03.0099"), EncodeDate(99, 3, 5));
}

TEST_F(DateTimeTest, WrittenTextReadsBack) {
    const TDateTime v = At(2031, 12, 31, 23, 59, 58);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v);
    EXPECT_EQ(StrToDateTime(FormatDateTime("yyyy-mm-dd hh:nn:ss", v)), v);
}

TEST_F(DateTimeTest, FileDatesGoInTwoSecondStepsFrom1980) {
    const TDateTime v = At(2024, 3, 5, 10, 11, 12);
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(v)), v);
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(v + EncodeTime(0, 0, 1, 0))), v);  // two-second steps
    EXPECT_EQ(DateTimeToFileDate(At(1979, 12, 31)), 0);
    EXPECT_EQ(FileDateToDateTime(DateTimeToFileDate(At(2107, 12, 31, 23, 59, 58))), At(2107, 12, 31, 23, 59, 58));
    EXPECT_EQ(DateTimeToFileDate(At(2108, 1, 1)), 0);  // past the last year the field holds
}

// Local times convert by the rules of their own day: in summer an hour
// more is ahead of UTC than in winter; the way back gives the same time.
TEST_F(DateTimeTest, LocalTimesConvertWithTheDaylightSavingOfTheirDay) {
    yorde::test::TimeZoneScope warsaw("CET-1CEST,M3.5.0,M10.5.0/3");
    const std::time_t july = 1782862200;     // 2026-06-30 23:30:00 UTC
    const std::time_t january = 1768433400;  // 2026-01-14 23:30:00 UTC
    EXPECT_EQ(LocalDateTimeToUnix(At(2026, 7, 1, 1, 30)), july);
    EXPECT_EQ(LocalDateTimeToUnix(At(2026, 1, 15, 0, 30)), january);
    EXPECT_EQ(UnixToLocalDateTime(july), At(2026, 7, 1, 1, 30));
    EXPECT_EQ(UnixToLocalDateTime(january), At(2026, 1, 15, 0, 30));
    // Either side of the change in spring (02:00 becomes 03:00 on 29 March).
    EXPECT_EQ(LocalDateTimeToUnix(At(2026, 3, 29, 3, 0)) - LocalDateTimeToUnix(At(2026, 3, 29, 1, 0)), 3600);
}

// A clock that counts leap seconds shows 23:59:60 once in a while: it reads as 23:59:59.
TEST_F(DateTimeTest, ALeapSecondReadsAsTheLastSecondOfItsMinute) {
    if (!std::ifstream("/usr/share/zoneinfo/right/UTC")) GTEST_SKIP() << "no leap-second time zone here";
    yorde::test::TimeZoneScope leap("right/UTC");
    const std::time_t leapSecond = 1483228826;  // 2016-12-31 23:59:60 on such a clock
    EXPECT_EQ(UnixToLocalDateTime(leapSecond), At(2016, 12, 31, 23, 59, 59));
    EXPECT_EQ(UnixToLocalDateTime(leapSecond + 1), At(2017, 1, 1));
}

}  // namespace
