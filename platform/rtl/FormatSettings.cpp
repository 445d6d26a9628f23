#include "rtl/FormatSettings.h"

#include "rtl/CodePages.h"

namespace {

AnsiString Cp1250(const char* utf8) { return Utf8ToCodePage(utf8, 1250); }

template <std::size_t N>
void Fill(std::array<AnsiString, N>& target, const char* const (&names)[N]) {
    for (std::size_t i = 0; i < N; ++i) target[i] = Cp1250(names[i]);
}

}  // namespace

TFormatSettings DefaultFormatSettings() {
    static const char* const shortMonths[12] = {"sty", "lut", "mar", "kwi", "maj", "cze",
                                                "lip", "sie", "wrz", "paź", "lis", "gru"};
    static const char* const longMonths[12] = {"styczeń",  "luty",        "marzec",   "kwiecień",
                                               "maj",      "czerwiec",    "lipiec",   "sierpień",
                                               "wrzesień", "październik", "listopad", "grudzień"};
    static const char* const shortDays[7] = {"N", "Pn", "Wt", "Śr", "Cz", "Pt", "So"};
    static const char* const longDays[7] = {"niedziela", "poniedziałek", "wtorek", "środa",
                                            "czwartek",  "piątek",       "sobota"};
    TFormatSettings s;
    s.CurrencyString = Cp1250("zł");
    s.CurrencyFormat = 3;
    s.CurrencyDecimals = 2;
    s.ThousandSeparator = char(0xA0);
    s.DecimalSeparator = '.';
    s.DateSeparator = '-';
    s.ShortDateFormat = "yyyy-mm-dd";
    s.LongDateFormat = "d mmmm yyyy";
    s.TimeSeparator = ':';
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
    s.ShortTimeFormat = "hh:nn";
    s.LongTimeFormat = "hh:nn:ss";
    Fill(s.ShortMonthNames, shortMonths);
    Fill(s.LongMonthNames, longMonths);
    Fill(s.ShortDayNames, shortDays);
    Fill(s.LongDayNames, longDays);
    s.TwoDigitYearCenturyWindow = 50;
    return s;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = DefaultFormatSettings();
    return settings;
}

void ResetFormatSettings() { FormatSettings() = DefaultFormatSettings(); }
