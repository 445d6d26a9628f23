#include "store/Settings.h"

#include "classes/Strings.h"
#include "rtl/SysUtils.h"

#include <algorithm>

namespace {

// Dates are read and written in one fixed layout whatever the format
// settings in force, so the program always reads back what it wrote.
const TFormatSettings& ConfigFormat() {
    static const TFormatSettings settings = [] {
        TFormatSettings s = DefaultFormatSettings();
        s.DateSeparator = '-';
        s.ShortDateFormat = "yyyy-mm-dd";
        s.TimeSeparator = ':';
        s.LongTimeFormat = "hh:nn:ss";
        return s;
    }();
    return settings;
}

AnsiString LineOr(const AnsiString& text, const char* ifEmpty) { return text.empty() ? AnsiString(ifEmpty) : text; }

}  // namespace

AnsiString ConfigDateTimeText(TDateTime value) { return FormatDateTime("yyyy-mm-dd hh:nn:ss", value, ConfigFormat()); }

void DefaultConfigLines(TStrings& lines, TDateTime now, TVirtualScreenSize virtualScreen) {
    const AnsiString nowText = ConfigDateTimeText(now);
    lines.Clear();
    lines.Add(nowText);
    lines.Add(nowText);
    lines.Add("*");
    lines.Add("*");
    lines.Add("1");
    lines.Add("1");
    lines.Add("http://");
    lines.Add("");
    lines.Add(IntToStr(virtualScreen.Width / 2 - 400));
    lines.Add(IntToStr(virtualScreen.Height / 2 - 300));
    lines.Add("800");
    lines.Add("600");
    lines.Add("0");
}

void BuildConfigLines(TStrings& lines, const TConfigSnapshot& v) {
    lines.Clear();
    lines.Add(v.DateFrom);
    lines.Add(v.DateTo);
    lines.Add(LineOr(v.NumberA, "*"));
    lines.Add(LineOr(v.NumberB, "*"));
    lines.Add(IntToStr(v.RefreshPosition));
    lines.Add(IntToStr(v.BufferPosition));
    lines.Add(v.Address);
    lines.Add(v.Password);
    lines.Add(IntToStr(v.Left));
    lines.Add(IntToStr(v.Top));
    lines.Add(IntToStr(v.Width));
    lines.Add(IntToStr(v.Height));
    lines.Add(IntToStr(v.RetentionIndex));
}

TConfigValues ParseConfigLines(const TStrings& lines, TDateTime now) {
    const int count = lines.Count();
    const auto has = [count](int index) { return index < count; };
    TConfigValues v;

    TDateTime from = 0, to = 0;
    if (has(1) && TryStrToDateTime(lines[0], from, ConfigFormat()) && TryStrToDateTime(lines[1], to, ConfigFormat())) {
        v.DateFrom = from;
        v.DateTo = to;
    } else {
        v.DateFrom = v.DateTo = now;
    }

    if (has(2) && lines[2] != "*") v.NumberA = lines[2];
    if (has(3) && lines[3] != "*") v.NumberB = lines[3];

    // One bad slider line resets the address and password as well.
    int refresh = 0, buffer = 0;
    if (has(7) && TryStrToInt(lines[4], refresh) && TryStrToInt(lines[5], buffer)) {
        v.RefreshPosition = std::clamp(refresh, RefreshPositionMin, RefreshPositionMax);
        v.BufferPosition = std::clamp(buffer, BufferPositionMin, BufferPositionMax);
        v.Address = lines[6];
        v.Password = lines[7];
    }

    int left = 0, top = 0, width = 0, height = 0;
    if (has(11) && TryStrToInt(lines[8], left) && TryStrToInt(lines[9], top) && TryStrToInt(lines[10], width) &&
        TryStrToInt(lines[11], height)) {
        v.Left = left;
        v.Top = top;
        v.Width = width;
        v.Height = height;
    }

    int retention = 0;
    if (has(12) && TryStrToInt(lines[12], retention)) v.RetentionIndex = retention;
    return v;
}
