// Typed readers and writers of TCustomIniFile, all on top of ReadString/WriteString.
#include "localization/MemIni.h"

#include "rtl/Convert.h"
#include "rtl/DateTimeText.h"

YORDE_IMPLEMENT_CLASS(TCustomIniFile, [](TClassBuilder<TCustomIniFile>&) {})

namespace {
// Empty text gives the default; a conversion error too, anything else goes on.
template <class Convert>
double readConverted(TCustomIniFile& ini, const AnsiString& Section, const AnsiString& Ident, double Default,
                     Convert convert) {
    const AnsiString text = ini.ReadString(Section, Ident, AnsiString());
    if (text.empty()) return Default;
    try {
        return convert(text);
    } catch (EConvertError&) {
        return Default;
    }
}
}  // namespace

int TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) {
    AnsiString text = ReadString(Section, Ident, AnsiString());
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
    return StrToIntDef(text, Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

TDateTime TCustomIniFile::ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, [](const AnsiString& s) { return StrToDate(s); });
}

TDateTime TCustomIniFile::ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, [](const AnsiString& s) { return StrToDateTime(s); });
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default) {
    return readConverted(*this, Section, Ident, Default, [](const AnsiString& s) { return StrToFloat(s); });
}

TDateTime TCustomIniFile::ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default) {
    return readConverted(*this, Section, Ident, Default, [](const AnsiString& s) { return StrToTime(s); });
}

void TCustomIniFile::WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
    WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
    WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

void TCustomIniFile::WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value) {
    WriteString(Section, Ident, TimeToStr(Value));
}

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
    TStringList keys;
    keys.SetSorted(true);
    ReadSection(Section, &keys);
    int index = 0;
    return keys.Find(Ident, index);
}
