#pragma once
// Date-time text: the class library's format letters and its lenient
// reading, both driven by the format settings in force.
//
// FormatDateTime letters (case-insensitive): y yy yyyy, m mm mmm mmmm
// (minutes right after an hour), d dd ddd dddd ddddd dddddd, h hh, n nn,
// s ss, z zzz, t tt, c, am/pm a/p ampm (12-hour clock), "/" the date
// separator, ":" the time separator, '...' and "..." literal text.
#include "rtl/AnsiString.h"
#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"

AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value);
AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value, const TFormatSettings& Settings);

AnsiString DateToStr(TDateTime Value);      // ShortDateFormat
AnsiString TimeToStr(TDateTime Value);      // LongTimeFormat
AnsiString DateTimeToStr(TDateTime Value);  // both; no time at midnight
AnsiString DateToStr(TDateTime Value, const TFormatSettings& Settings);
AnsiString TimeToStr(TDateTime Value, const TFormatSettings& Settings);
AnsiString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings);

// Reading follows the settings' field order (from ShortDateFormat) and
// separators; blanks around the parts, including any run between date and
// time, are skipped. Two-digit years fall in the century window.
bool TryStrToDate(const AnsiString& S, TDateTime& Value);
bool TryStrToTime(const AnsiString& S, TDateTime& Value);
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value);
bool TryStrToDate(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings);
TDateTime StrToDate(const AnsiString& S);  // EConvertError
TDateTime StrToTime(const AnsiString& S);
TDateTime StrToDateTime(const AnsiString& S);
TDateTime StrToDateDef(const AnsiString& S, TDateTime Default);
TDateTime StrToTimeDef(const AnsiString& S, TDateTime Default);
TDateTime StrToDateTimeDef(const AnsiString& S, TDateTime Default);
