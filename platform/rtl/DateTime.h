#pragma once
// TDateTime: days since 1899-12-30 with the time of day as the fraction.
// Before that day the whole part counts back and the fraction still adds
// time (-1.25 is 1899-12-29 06:00).
#include <cstdint>
#include <ctime>
#include <functional>

using TDateTime = double;
using Word = std::uint16_t;

constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24 * 60 * 60 * 1000.0;

// Local time with milliseconds, from the clock in force.
TDateTime Now();
TDateTime Date();  // today, midnight
TDateTime Time();  // time of day only

// Replaces the clock (tests); Now/Date/Time ask the provider.
void SetNowProvider(std::function<TDateTime()> provider);
void ResetNowProvider();

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Value);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Value);
TDateTime EncodeDate(Word Year, Word Month, Word Day);           // EConvertError
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);  // EConvertError
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec);
void DecodeDate(TDateTime Value, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Value, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec, Word& MSec);

int DayOfWeek(TDateTime Value);      // 1 = Sunday .. 7 = Saturday
Word DayOfTheWeek(TDateTime Value);  // 1 = Monday .. 7 = Sunday

// Months later (or earlier); the day is clamped to the target month.
TDateTime IncMonth(TDateTime Value, int NumberOfMonths = 1);
TDateTime IncDay(TDateTime Value, int NumberOfDays = 1);
TDateTime DateOf(TDateTime Value);
TDateTime TimeOf(TDateTime Value);

// Calendar values of a time_t in local time, and back.
TDateTime UnixToLocalDateTime(std::time_t value, int milliseconds = 0);
std::time_t LocalDateTimeToUnix(TDateTime value);

// The packed file date of the file routines (local time, two-second
// steps, 1980..2107; 0 outside that range).
int DateTimeToFileDate(TDateTime Value);
TDateTime FileDateToDateTime(int FileDate);
