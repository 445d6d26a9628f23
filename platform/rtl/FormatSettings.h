#pragma once
// The process-wide format settings of the run-time library. Fixed Polish
// defaults, never taken from the machine's locale, so the program always
// reads back what it wrote. All texts are Windows-1250 bytes.
#include "rtl/AnsiString.h"

#include <array>

struct TFormatSettings {
    AnsiString CurrencyString;
    unsigned char CurrencyFormat = 3;  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    unsigned char CurrencyDecimals = 2;
    char ThousandSeparator = 0;
    char DecimalSeparator = 0;
    char DateSeparator = 0;
    AnsiString ShortDateFormat;
    AnsiString LongDateFormat;
    char TimeSeparator = 0;
    AnsiString TimeAMString;
    AnsiString TimePMString;
    AnsiString ShortTimeFormat;
    AnsiString LongTimeFormat;
    std::array<AnsiString, 12> ShortMonthNames;  // [0] = January
    std::array<AnsiString, 12> LongMonthNames;
    std::array<AnsiString, 7> ShortDayNames;  // [0] = Sunday
    std::array<AnsiString, 7> LongDayNames;
    int TwoDigitYearCenturyWindow = 50;
};

// The settings in force. Written at start-up (or by tests), read anywhere.
TFormatSettings& FormatSettings();

// A fresh copy of the defaults.
TFormatSettings DefaultFormatSettings();
// Puts the defaults back in force.
void ResetFormatSettings();
