#include "localization/LxIniFormat.h"

#include "classes/Streams.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxTypes.h"
#include "rtl/Convert.h"

namespace lxini {

void ReadIni(TStream* Stream, TMemIniFile& Ini) {
    TStringList lines;
    Stream->SetPosition(0);
    lines.LoadFromStream(Stream);
    Ini.SetStrings(&lines);
}

void WriteLines(TStream* Stream, TStrings* Lines) {
    Stream->SetSize(0);
    Stream->SetPosition(0);
    Lines->SaveToStream(Stream);
}

AnsiString JoinValue(const AnsiString& Fields, char LangDelim, const AnsiString& Delimiter) {
    if (Delimiter.find_first_of(AnsiString("\r\n\x19\x1A", 4)) != AnsiString::npos || Delimiter.empty() ||
        Delimiter.find('\0') != AnsiString::npos)
        throw ELanguageError("\"" + Delimiter + "\" cannot separate the languages in a translation file!");
    const AnsiString value = ReplaceStr(Fields, AnsiString(1, LangDelim), Delimiter, true);
    // Read back as a reader would: a text holding the delimiter would come
    // back split into the wrong languages.
    if (ReplaceStr(value, Delimiter, AnsiString(1, LangDelim), true) != Fields)
        throw ELanguageError("A text holds the file delimiter \"" + Delimiter + "\": " + Fields);
    return value;
}

AnsiString SplitValue(const AnsiString& Value, char LangDelim, const AnsiString& Delimiter) {
    if (Delimiter.empty() || Value.find(Delimiter) == AnsiString::npos) return Value + LangDelim;
    return ReplaceStr(Value, Delimiter, AnsiString(1, LangDelim), true);
}

AnsiString ValueLanguage(const AnsiString& Value, int N, const AnsiString& Delimiter) {
    if (Delimiter.empty() || N < 1) return AnsiString();
    size_t start = 0;
    for (int k = 1; k < N; ++k) {
        const size_t d = Value.find(Delimiter, start);
        if (d == AnsiString::npos) return AnsiString();
        start = d + Delimiter.size();
    }
    const size_t end = Value.find(Delimiter, start);
    return Value.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start);
}

void WriteLanguageNames(TMemIniFile& Ini, TStrings* Names, int Count) {
    for (int n = 1; n <= Count; ++n) {
        AnsiString name = n <= Names->Count() ? Names->Strings(n - 1) : AnsiString();
        if (name.empty()) name = "Language N" + IntToStr(n);
        Ini.WriteString(NamesSection, "Language_" + IntToStr(n), name);
    }
}

int FileLanguageNumber(TMemIniFile& Ini, const AnsiString& Name) {
    for (int n = 1;; ++n) {
        const AnsiString name = Ini.ReadString(NamesSection, "Language_" + IntToStr(n), AnsiString());
        if (name.empty()) return 0;
        if (name == Name) return n;
    }
}

}  // namespace lxini
