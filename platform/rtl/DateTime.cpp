#include "rtl/DateTime.h"

#include "rtl/Exceptions.h"

#include <time.h>
#include <cmath>
#include <mutex>

namespace {

// Days from 0001-01-01 to 1899-12-30.
constexpr std::int64_t DateDelta = 693594;
constexpr std::int64_t MSecsPerDayInt = 86400000;

std::mutex g_clockMutex;
std::function<TDateTime()> g_nowProvider;

TDateTime SystemNow() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return UnixToLocalDateTime(ts.tv_sec, int(ts.tv_nsec / 1000000));
}

const Word kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Day count since 0001-01-01 (that day = 1) and milliseconds of the day.
struct TimeStamp {
    std::int64_t date;
    std::int64_t time;
};

TimeStamp ToTimeStamp(TDateTime value) {
    const std::int64_t ms = std::llround(value * MSecsPerDayInt);
    return {DateDelta + ms / MSecsPerDayInt, std::llabs(ms) % MSecsPerDayInt};
}

}  // namespace

TDateTime Now() {
    std::function<TDateTime()> provider;
    {
        std::lock_guard lock(g_clockMutex);
        provider = g_nowProvider;
    }
    return provider ? provider() : SystemNow();
}

TDateTime Date() { return DateOf(Now()); }
TDateTime Time() { return TimeOf(Now()); }

void SetNowProvider(std::function<TDateTime()> provider) {
    std::lock_guard lock(g_clockMutex);
    g_nowProvider = std::move(provider);
}

void ResetNowProvider() { SetNowProvider(nullptr); }

bool IsLeapYear(Word Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

Word DaysInAMonth(Word Year, Word Month) {
    if (Month < 1 || Month > 12) return 0;
    return kMonthDays[IsLeapYear(Year)][Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Value) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
    std::int64_t days = Day;
    for (int m = 1; m < Month; ++m) days += DaysInAMonth(Year, Word(m));
    const std::int64_t y = Year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    Value = double(days - DateDelta);
    return true;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Value) {
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
    Value = double((Hour * 3600000 + Min * 60000 + Sec * 1000 + MSec)) / MSecsPerDayInt;
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
    TDateTime v;
    if (!TryEncodeDate(Year, Month, Day, v)) throw EConvertError("Invalid argument to date encode");
    return v;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
    TDateTime v;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, v)) throw EConvertError("Invalid argument to time encode");
    return v;
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec) {
    const TDateTime d = EncodeDate(Year, Month, Day);
    const TDateTime t = EncodeTime(Hour, Min, Sec, MSec);
    return d < 0 ? d - t : d + t;
}

void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day) {
    std::int64_t t = ToTimeStamp(Value).date;
    if (t <= 0) {
        Year = Month = Day = 0;
        return;
    }
    --t;  // days since 0001-01-01
    std::int64_t y = 1;
    const std::int64_t d400 = 146097, d100 = 36524, d4 = 1461;
    y += 400 * (t / d400);
    t %= d400;
    std::int64_t c = t / d100;
    if (c == 4) c = 3;  // the last day of a 400-year cycle
    y += 100 * c;
    t -= c * d100;
    y += 4 * (t / d4);
    t %= d4;
    std::int64_t i = t / 365;
    if (i == 4) i = 3;
    y += i;
    t -= i * 365;
    Year = Word(y);
    Month = 1;
    while (t >= DaysInAMonth(Year, Month)) t -= DaysInAMonth(Year, Month++);
    Day = Word(t + 1);
}

void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    std::int64_t ms = ToTimeStamp(Value).time;
    Hour = Word(ms / 3600000);
    ms %= 3600000;
    Min = Word(ms / 60000);
    ms %= 60000;
    Sec = Word(ms / 1000);
    MSec = Word(ms % 1000);
}

void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime Value) { return int(ToTimeStamp(Value).date % 7) + 1; }

Word DayOfTheWeek(TDateTime Value) { return Word((ToTimeStamp(Value).date - 1) % 7 + 1); }

TDateTime IncMonth(TDateTime Value, int NumberOfMonths) {
    Word y, m, d;
    DecodeDate(Value, y, m, d);
    std::int64_t months = std::int64_t(y) * 12 + (m - 1) + NumberOfMonths;
    if (months < 12) months = 12;                          // clamp to year 1
    if (months > 9999 * 12 + 11) months = 9999 * 12 + 11;  // and to 9999
    const Word ny = Word(months / 12);
    const Word nm = Word(months % 12 + 1);
    const Word nd = d > DaysInAMonth(ny, nm) ? DaysInAMonth(ny, nm) : d;
    const TDateTime date = EncodeDate(ny, nm, nd);
    const double time = std::fabs(Value - std::trunc(Value));
    return date < 0 ? date - time : date + time;
}

TDateTime IncDay(TDateTime Value, int NumberOfDays) { return Value + NumberOfDays; }
TDateTime DateOf(TDateTime Value) { return std::trunc(Value); }
TDateTime TimeOf(TDateTime Value) { return Value - std::trunc(Value); }

TDateTime UnixToLocalDateTime(std::time_t value, int milliseconds) {
    tm local{};
    localtime_r(&value, &local);
    return EncodeDateTime(Word(local.tm_year + 1900), Word(local.tm_mon + 1), Word(local.tm_mday), Word(local.tm_hour),
                          Word(local.tm_min), Word(local.tm_sec > 59 ? 59 : local.tm_sec), Word(milliseconds));
}

std::time_t LocalDateTimeToUnix(TDateTime value) {
    Word y, mo, d, h, mi, s, ms;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    tm local{};
    local.tm_year = y - 1900;
    local.tm_mon = mo - 1;
    local.tm_mday = d;
    local.tm_hour = h;
    local.tm_min = mi;
    local.tm_sec = s;
    local.tm_isdst = -1;
    return mktime(&local);
}

int DateTimeToFileDate(TDateTime Value) {
    Word y, mo, d, h, mi, s, ms;
    DecodeDateTime(Value, y, mo, d, h, mi, s, ms);
    if (y < 1980 || y > 2107) return 0;
    return int((unsigned(y - 1980) << 25) | (unsigned(mo) << 21) | (unsigned(d) << 16) | (unsigned(h) << 11) |
               (unsigned(mi) << 5) | unsigned(s / 2));
}

TDateTime FileDateToDateTime(int FileDate) {
    const unsigned v = unsigned(FileDate);
    TDateTime date, time;
    if (!TryEncodeDate(Word((v >> 25) + 1980), Word((v >> 21) & 15), Word((v >> 16) & 31), date) ||
        !TryEncodeTime(Word((v >> 11) & 31), Word((v >> 5) & 63), Word((v & 31) * 2), 0, time))
        throw EConvertError("Invalid argument to date encode");
    return date + time;
}
