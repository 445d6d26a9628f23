// Name tables of the translation components.
#include "localization/LxTypes.h"

#include "classes/Strings.h"
#include "rtl/Convert.h"
#include "rtl/Format.h"
#include "rtl/StrUtils.h"

namespace {
struct TypeNames {
    const char* Section;
    const char* Word;
    const char* IniSection;
};
constexpr TypeNames typeNames[StringsTypeCount] = {
    {"stCaptions", "Caption", "Captions"},
    {"stHints", "Hint", "Hints"},
    {"stDisplayLabels", "DisplayLabel", "DisplayLabels"},
    {"stFonts", "Font", "Fonts"},
    {"stMultiLines", "TStrings", "Multilines"},
    {"stDlgsCaptions", "Dialog", "Dialogs"},
    {"stStrings", "Strings", "Strings"},
    {"stOtherStrings", "Other", "Other"},
    {"stLocales", "Locales", "Locales"},
    {"stCollections", "Collections", "Collections"},
    {"stCharSets", "CharSets", "CharSets"},
    {"stListView_TreeView_Items", "ListView_TreeView_Items", "ListView_TreeView_Items"},
};

struct CharsetEntry {
    const char* Name;
    int Value;
};
constexpr CharsetEntry charsets[] = {
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129},    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},      {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},     {"BALTIC_CHARSET", 186},  {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};
}  // namespace

const std::array<const char*, LocaleKeyCount> LocaleKeys = {
    "Currency String",  "Thousand Separator", "Decimal Separator", "Date Separator",  "Short Date Format",
    "Long Date Format", "Time Separator",     "Time AM String",    "Time PM String",  "Short Time Format",
    "Long Time Format", "Short Month Names",  "Long Month Names",  "Short Day Names", "Long Day Names",
};

const char* StringsTypeName(TStringsType Type) { return typeNames[Type].Section; }

const char* StringsTypeListName(TStringsType Type) { return typeNames[Type].Section + 2; }

const char* StringsTypePropertyWord(TStringsType Type) { return typeNames[Type].Word; }

const char* IniSectionName(TStringsType Type) { return typeNames[Type].IniSection; }

bool IsValidIniSection(const AnsiString& Name) {
    for (const TypeNames& t : typeNames)
        if (AnsiSameText(Name, t.IniSection)) return true;
    return false;
}

void GetIniNames(TStrings* List) {
    List->Clear();
    for (const TypeNames& t : typeNames) List->Add(t.IniSection);
}

bool StringsTypeFromName(const AnsiString& Name, TStringsType& Type) {
    for (int i = 0; i < StringsTypeCount; ++i)
        if (SameText(Name, typeNames[i].Section)) {
            Type = TStringsType(i);
            return true;
        }
    return false;
}

bool CharsetFromName(const AnsiString& Name, int& Charset) {
    for (const CharsetEntry& e : charsets)
        if (AnsiSameText(Name, e.Name)) {
            Charset = e.Value;
            return true;
        }
    return false;
}

AnsiString CharsetName(int Charset) {
    for (const CharsetEntry& e : charsets)
        if (e.Value == Charset) return e.Name;
    return AnsiString();
}

void RaiseLanguageRange(int Value, int Count) {
    throw ELanguageError(Format("%d - is not a valid property value!\rValue must be within [1..%d]!", {Value, Count}));
}

void CheckLanguageCount(int Value) {
    if (Value < 1)
        throw ELanguageError(IntToStr(Value) + " - is not a valid property value !\r" +
                             "Value must be more than ZERO !");
    if (Value > MaxLanguageCount)
        throw ELanguageError(IntToStr(Value) + " - is not a valid property value !\r" + "Value must not exceed " +
                             IntToStr(MaxLanguageCount) + " !");
}
