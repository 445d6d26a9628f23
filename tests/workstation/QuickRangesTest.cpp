// The quick ranges of the filter tab: Monday-based weeks, months with their
// own lengths (leap years too) and years, at chosen moments.
#include "rtl/DateTime.h"
#include "workstation/Unitfiltr.h"

#include <gtest/gtest.h>

namespace {

struct Range {
    AnsiString From, To;
};

Range At(int Index, TDateTime Now) {
    TDateTime from = 0, to = 0;
    EXPECT_TRUE(QuickRangeBounds(Index, Now, from, to));
    return {FilterBoundText(from, from), FilterBoundText(to, to)};
}

TDateTime Moment(int Y, int M, int D, int h = 13, int m = 27, int s = 20) {
    return EncodeDateTime(Word(Y), Word(M), Word(D), Word(h), Word(m), Word(s), 0);
}

AnsiString Bound(const char* Day, const char* Time) { return AnsiString(Day) + "      " + Time; }

}  // namespace

TEST(QuickRanges, WeeksStartOnMondayAcrossMonthAndYearEnds) {
    // This week, from its Monday to now.
    EXPECT_EQ(At(2, Moment(2021, 3, 1)).From, Bound("2021-03-01", "00:00:00"));  // a Monday
    EXPECT_EQ(At(2, Moment(2022, 3, 1)).From, Bound("2022-02-28", "00:00:00"));  // a Tuesday
    EXPECT_EQ(At(2, Moment(2021, 1, 3)).From, Bound("2020-12-28", "00:00:00"));  // a Sunday
    EXPECT_EQ(At(2, Moment(2021, 1, 3)).To, Bound("2021-01-03", "13:27:20"));
    // Last week, Monday to Sunday.
    const Range last = At(3, Moment(2022, 3, 2));
    EXPECT_EQ(last.From, Bound("2022-02-21", "00:00:00"));
    EXPECT_EQ(last.To, Bound("2022-02-27", "23:59:59"));
    const Range newYear = At(3, Moment(2021, 1, 1));  // a Friday
    EXPECT_EQ(newYear.From, Bound("2020-12-21", "00:00:00"));
    EXPECT_EQ(newYear.To, Bound("2020-12-27", "23:59:59"));
    const Range leap = At(3, Moment(2024, 3, 4));  // a Monday after a leap February
    EXPECT_EQ(leap.From, Bound("2024-02-26", "00:00:00"));
    EXPECT_EQ(leap.To, Bound("2024-03-03", "23:59:59"));
}

TEST(QuickRanges, DaysMonthsAndYears) {
    const Range today = At(0, Moment(2026, 12, 6));
    EXPECT_EQ(today.From, Bound("2026-12-06", "00:00:00"));
    EXPECT_EQ(today.To, Bound("2026-12-06", "23:59:59"));
    const Range yesterday = At(1, Moment(2024, 3, 1));
    EXPECT_EQ(yesterday.From, Bound("2024-02-29", "00:00:00"));
    EXPECT_EQ(yesterday.To, Bound("2024-02-29", "23:59:59"));
    EXPECT_EQ(At(1, Moment(2025, 1, 1)).From, Bound("2024-12-31", "00:00:00"));

    EXPECT_EQ(At(4, Moment(2026, 12, 6)).From, Bound("2026-12-01", "00:00:00"));
    EXPECT_EQ(At(4, Moment(2026, 12, 6)).To, Bound("2026-12-06", "13:27:20"));
    const Range december = At(5, Moment(2025, 1, 15));
    EXPECT_EQ(december.From, Bound("2024-12-01", "00:00:00"));
    EXPECT_EQ(december.To, Bound("2024-12-31", "23:59:59"));
    EXPECT_EQ(At(5, Moment(2024, 3, 31)).To, Bound("2024-02-29", "23:59:59"));
    EXPECT_EQ(At(5, Moment(2023, 3, 31)).To, Bound("2023-02-28", "23:59:59"));

    EXPECT_EQ(At(6, Moment(2026, 12, 6)).From, Bound("2026-01-01", "00:00:00"));
    const Range lastYear = At(7, Moment(2026, 1, 1, 0, 0, 0));
    EXPECT_EQ(lastYear.From, Bound("2025-01-01", "00:00:00"));
    EXPECT_EQ(lastYear.To, Bound("2025-12-31", "23:59:59"));

    TDateTime from = 0, to = 0;
    EXPECT_FALSE(QuickRangeBounds(-1, Moment(2026, 1, 1), from, to));
    EXPECT_FALSE(QuickRangeBounds(8, Moment(2026, 1, 1), from, to));
}

TEST(QuickRanges, AnEndOfDayBoundSortsAfterEveryRecordingOfThatDay) {
    TDateTime from = 0, to = 0;
    ASSERT_TRUE(QuickRangeBounds(0, Moment(2026, 12, 6), from, to));
    EXPECT_EQ(FilterBoundText(to, to), Bound("2026-12-06", "23:59:59"));
    EXPECT_GE(AnsiString("2026-12-06      23:59:59"), FilterBoundText(from, from));
    EXPECT_LE(AnsiString("2026-12-06      23:59:59"), FilterBoundText(to, to));
}
