// FormatDateTime and the texts built on it.
#include "rtl/DateTimeText.h"

#include <cctype>
#include <cstdio>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

bool StartsWithNoCase(const AnsiString& s, std::size_t at, const char* word) {
    for (std::size_t k = 0; word[k]; ++k)
        if (at + k >= s.size() || Upper(s[at + k]) != word[k]) return false;
    return true;
}

AnsiString Num(int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

class DateTimeWriter {
public:
    DateTimeWriter(TDateTime value, const TFormatSettings& settings) : value_(value), s_(settings) {
        DecodeDate(value, year_, month_, day_);
        DecodeTime(value, hour_, min_, sec_, msec_);
    }

    AnsiString Write(const AnsiString& format) {
        Append(format.empty() ? AnsiString("c") : format, 0);
        return out_;
    }

private:
    void Append(const AnsiString& f, int level) {
        char last = ' ';
        std::size_t i = 0;
        while (i < f.size()) {
            const char c = f[i];
            char token = Upper(c);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && last == 'H') token = 'N';
                last = token;
            }
            const auto count = [&] {
                std::size_t n = 1;
                while (i + n < f.size() && Upper(f[i + n]) == Upper(c)) ++n;
                i += n;
                return int(n);
            };
            switch (token) {
            case 'Y': {
                const int n = count();
                out_ += n <= 2 ? Num(year_ % 100, 2) : Num(year_, 4);
                break;
            }
            case 'M': {
                const int n = count();
                if (n == 1)
                    out_ += Num(month_, 1);
                else if (n == 2)
                    out_ += Num(month_, 2);
                else if (month_ >= 1)
                    out_ += n == 3 ? s_.ShortMonthNames[month_ - 1] : s_.LongMonthNames[month_ - 1];
                break;
            }
            case 'D': {
                const int n = count();
                const int dow = DayOfWeek(value_) - 1;
                if (n == 1)
                    out_ += Num(day_, 1);
                else if (n == 2)
                    out_ += Num(day_, 2);
                else if (n == 3)
                    out_ += s_.ShortDayNames[dow];
                else if (n == 4)
                    out_ += s_.LongDayNames[dow];
                else
                    Nested(n == 5 ? s_.ShortDateFormat : s_.LongDateFormat, level);
                break;
            }
            case 'H': {
                const int n = count();
                const bool twelve = TwelveHourClockAhead(f, i);
                int h = hour_;
                if (twelve) h = h % 12 == 0 ? 12 : h % 12;
                out_ += Num(h, n == 1 ? 1 : 2);
                break;
            }
            case 'N': {
                const int n = count();
                out_ += Num(min_, n == 1 ? 1 : 2);
                break;
            }
            case 'S': {
                const int n = count();
                out_ += Num(sec_, n == 1 ? 1 : 2);
                break;
            }
            case 'Z': {
                const int n = count();
                out_ += Num(msec_, n == 1 ? 1 : 3);
                break;
            }
            case 'T': {
                const int n = count();
                Nested(n == 1 ? s_.ShortTimeFormat : s_.LongTimeFormat, level);
                break;
            }
            case 'C': {
                count();
                Nested(s_.ShortDateFormat, level);
                if (hour_ || min_ || sec_ || msec_) {
                    out_ += ' ';
                    Nested(s_.LongTimeFormat, level);
                }
                break;
            }
            case 'A': AmPm(f, i); break;
            case '/':
                out_ += s_.DateSeparator;
                ++i;
                break;
            case ':':
                out_ += s_.TimeSeparator;
                ++i;
                break;
            case '\'':
            case '"': {
                const std::size_t end = f.find(c, i + 1);
                out_.append(f, i + 1, end == AnsiString::npos ? AnsiString::npos : end - i - 1);
                i = end == AnsiString::npos ? f.size() : end + 1;
                break;
            }
            default:
                out_ += c;
                ++i;
                break;
            }
        }
    }

    // Formats named by the settings may name others, but only so deep.
    void Nested(const AnsiString& f, int level) {
        if (level < 2) Append(f, level + 1);
    }

    // An hour is on the 12-hour clock when an am/pm marker follows before
    // the next hour; i is just past the hour letters.
    static bool TwelveHourClockAhead(const AnsiString& f, std::size_t i) {
        bool quoted = false;
        for (; i < f.size(); ++i) {
            const char c = Upper(f[i]);
            if (c == '\'' || c == '"') quoted = !quoted;
            if (quoted) continue;
            if (c == 'A')
                return StartsWithNoCase(f, i, "AM/PM") || StartsWithNoCase(f, i, "A/P") ||
                       StartsWithNoCase(f, i, "AMPM");
            if (c == 'H') return false;
        }
        return false;
    }

    void AmPm(const AnsiString& f, std::size_t& i) {
        const bool pm = hour_ >= 12;
        if (StartsWithNoCase(f, i, "AM/PM")) {
            out_.append(f, pm ? i + 3 : i, 2);
            i += 5;
        } else if (StartsWithNoCase(f, i, "A/P")) {
            out_ += f[pm ? i + 2 : i];
            i += 3;
        } else if (StartsWithNoCase(f, i, "AMPM")) {
            out_ += pm ? s_.TimePMString : s_.TimeAMString;
            i += 4;
        } else {
            out_ += f[i++];
        }
    }

    TDateTime value_;
    const TFormatSettings& s_;
    Word year_, month_, day_, hour_, min_, sec_, msec_;
    AnsiString out_;
};

}  // namespace

AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value) {
    return FormatDateTime(Format, Value, FormatSettings());
}

AnsiString FormatDateTime(const AnsiString& Format, TDateTime Value, const TFormatSettings& Settings) {
    return DateTimeWriter(Value, Settings).Write(Format);
}

AnsiString DateToStr(TDateTime Value) { return DateToStr(Value, FormatSettings()); }
AnsiString TimeToStr(TDateTime Value) { return TimeToStr(Value, FormatSettings()); }
AnsiString DateTimeToStr(TDateTime Value) { return DateTimeToStr(Value, FormatSettings()); }

AnsiString DateToStr(TDateTime Value, const TFormatSettings& Settings) {
    return FormatDateTime("ddddd", Value, Settings);
}

AnsiString TimeToStr(TDateTime Value, const TFormatSettings& Settings) { return FormatDateTime("tt", Value, Settings); }

AnsiString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings) {
    return FormatDateTime("c", Value, Settings);
}
