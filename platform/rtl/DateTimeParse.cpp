// Reading dates and times in the format settings in force.
#include "rtl/DateTimeText.h"

#include "rtl/Exceptions.h"

namespace {

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(const AnsiString& shortDateFormat) {
    bool quoted = false;
    for (char c : shortDateFormat) {
        if (c == '\'' || c == '"') quoted = !quoted;
        if (quoted) continue;
        switch (c) {
        case 'y':
        case 'Y': return DateOrder::YMD;
        case 'm':
        case 'M': return DateOrder::MDY;
        case 'd':
        case 'D': return DateOrder::DMY;
        default: break;
        }
    }
    return DateOrder::DMY;
}

class Scanner {
public:
    Scanner(const AnsiString& s, const TFormatSettings& settings) : s_(s), set_(settings) {}

    bool AtEnd() {
        Blanks();
        return pos_ >= s_.size();
    }

    bool Date(TDateTime& value) {
        int n1, n2, n3 = 0;
        int len1, len2, len3 = 0;
        if (!Number(n1, len1) || !Char(set_.DateSeparator) || !Number(n2, len2)) return false;
        const bool three = Char(set_.DateSeparator);
        if (three && !Number(n3, len3)) return false;
        int year = -1, month, day, yearLen = 4, currentYear = 0;
        switch (OrderOf(set_.ShortDateFormat)) {
        case DateOrder::YMD:
            if (three)
                year = n1, yearLen = len1, month = n2, day = n3;
            else
                month = n1, day = n2;
            break;
        case DateOrder::MDY:
            month = n1, day = n2;
            if (three) year = n3, yearLen = len3;
            break;
        default:
            day = n1, month = n2;
            if (three) year = n3, yearLen = len3;
            break;
        }
        if (year < 0 || (year <= 99 && yearLen <= 2)) {
            ::Word y, m, d;
            DecodeDate(::Now(), y, m, d);
            currentYear = y;
        }
        if (year < 0)
            year = currentYear;
        else if (year <= 99 && yearLen <= 2) {
            const int window = set_.TwoDigitYearCenturyWindow;
            const int base = currentYear - window;
            year += base / 100 * 100;
            if (window > 0 && year < base) year += 100;
        }
        if (year > 9999 || month > 12 || day > 31) return false;
        return TryEncodeDate(::Word(year), ::Word(month), ::Word(day), value);
    }

    bool Time(TDateTime& value) {
        int hour, min = 0, sec = 0, msec = 0, len;
        if (!Number(hour, len)) return false;
        if (Char(set_.TimeSeparator)) {
            if (!Number(min, len)) return false;
            if (Char(set_.TimeSeparator)) {
                if (!Number(sec, len)) return false;
                if (Char(set_.DecimalSeparator) && !Number(msec, len)) return false;
            }
        }
        int base = -1;
        if (Keyword(set_.TimeAMString) || Keyword("AM"))
            base = 0;
        else if (Keyword(set_.TimePMString) || Keyword("PM"))
            base = 12;
        if (base >= 0) {
            if (hour == 0 || hour > 12) return false;
            hour = hour % 12 + base;
        }
        if (hour > 23 || min > 59 || sec > 59 || msec > 999) return false;
        return TryEncodeTime(::Word(hour), ::Word(min), ::Word(sec), ::Word(msec), value);
    }

private:
    void Blanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }

    bool Number(int& value, int& digits) {
        Blanks();
        value = 0;
        digits = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
            if (digits == 9) return false;
            value = value * 10 + (s_[pos_++] - '0');
            ++digits;
        }
        return digits > 0;
    }

    bool Char(char c) {
        Blanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool Keyword(const AnsiString& w) {
        Blanks();
        if (w.empty() || s_.size() - pos_ < w.size()) return false;
        for (std::size_t k = 0; k < w.size(); ++k) {
            char a = s_[pos_ + k], b = w[k];
            if (a >= 'a' && a <= 'z') a = char(a - 32);
            if (b >= 'a' && b <= 'z') b = char(b - 32);
            if (a != b) return false;
        }
        pos_ += w.size();
        return true;
    }

    const AnsiString& s_;
    const TFormatSettings& set_;
    std::size_t pos_ = 0;
};

TDateTime Combine(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

}  // namespace

bool TryStrToDate(const AnsiString& S, TDateTime& Value) { return TryStrToDate(S, Value, FormatSettings()); }
bool TryStrToTime(const AnsiString& S, TDateTime& Value) { return TryStrToTime(S, Value, FormatSettings()); }
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value) { return TryStrToDateTime(S, Value, FormatSettings()); }

bool TryStrToDate(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
    Scanner sc(S, Settings);
    TDateTime d;
    if (!sc.Date(d) || !sc.AtEnd()) return false;
    Value = d;
    return true;
}

bool TryStrToTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
    Scanner sc(S, Settings);
    TDateTime t;
    if (!sc.Time(t) || !sc.AtEnd()) return false;
    Value = t;
    return true;
}

bool TryStrToDateTime(const AnsiString& S, TDateTime& Value, const TFormatSettings& Settings) {
    Scanner sc(S, Settings);
    TDateTime date, time = 0;
    if (sc.Date(date) && (sc.AtEnd() || (sc.Time(time) && sc.AtEnd()))) {
        Value = Combine(date, time);
        return true;
    }
    return TryStrToTime(S, Value, Settings);
}

TDateTime StrToDate(const AnsiString& S) {
    TDateTime v;
    if (!TryStrToDate(S, v)) throw EConvertError("'" + S + "' is not a valid date");
    return v;
}

TDateTime StrToTime(const AnsiString& S) {
    TDateTime v;
    if (!TryStrToTime(S, v)) throw EConvertError("'" + S + "' is not a valid time");
    return v;
}

TDateTime StrToDateTime(const AnsiString& S) {
    TDateTime v;
    if (!TryStrToDateTime(S, v)) throw EConvertError("'" + S + "' is not a valid date and time");
    return v;
}

TDateTime StrToDateDef(const AnsiString& S, TDateTime Default) {
    TDateTime v;
    return TryStrToDate(S, v) ? v : Default;
}

TDateTime StrToTimeDef(const AnsiString& S, TDateTime Default) {
    TDateTime v;
    return TryStrToTime(S, v) ? v : Default;
}

TDateTime StrToDateTimeDef(const AnsiString& S, TDateTime Default) {
    TDateTime v;
    return TryStrToDateTime(S, v) ? v : Default;
}
