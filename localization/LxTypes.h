#pragma once
// Types shared by the translation components: the list types, options,
// the engine's exception and the fixed name tables.
#include "classes/Classes.h"
#include "rtl/Exceptions.h"

class TStrings;

#include <array>

YORDE_DECLARE_EXCEPTION(ELanguageError, Exception)

// The order is data: section names of TranslationData and apply selectors.
enum TStringsType {
    stCaptions,
    stHints,
    stDisplayLabels,
    stFonts,
    stMultiLines,
    stDlgsCaptions,
    stStrings,
    stOtherStrings,
    stLocales,
    stCollections,
    stCharSets,
    stListView_TreeView_Items
};
constexpr int StringsTypeCount = 12;
// The types that have a list on a translation component.
constexpr int ListTypeCount = 11;

// "stCaptions" ...
const char* StringsTypeName(TStringsType Type);
// "Captions" ...: the published list property of the type.
const char* StringsTypeListName(TStringsType Type);
// "Caption", "Hint", ...: the property an entry that names only a component stands for.
const char* StringsTypePropertyWord(TStringsType Type);
// The section of the type in translation files: "Captions", "Multilines", "Dialogs" ...
const char* IniSectionName(TStringsType Type);
// One of the twelve section names, in any letter case.
bool IsValidIniSection(const AnsiString& Name);
// Clears List and adds the twelve section names in type order.
void GetIniNames(TStrings* List);
// Case-insensitive; false when the text is none of the twelve names.
bool StringsTypeFromName(const AnsiString& Name, TStringsType& Type);

enum TTranslateType { ttNoChange, ttGetDefault };
YORDE_ENUM_TYPEINFO(TTranslateType, "ttNoChange", "ttGetDefault")

enum TlxLangOption { loUseExtUDStrings, loUseExtCommonStrings };
YORDE_ENUM_TYPEINFO(TlxLangOption, "loUseExtUDStrings", "loUseExtCommonStrings")
using TlxLangOptions = TSet<TlxLangOption>;
YORDE_SET_TYPEINFO(TlxLangOptions, TlxLangOption)

// Screen cursor numbers as layouts name them (the names belong to the
// controls layer; only the numbers are shared).
enum class TlxCursor : int {};
YORDE_IDENT_TYPEINFO(TlxCursor, {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
                     {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"}, {-10, "crUpArrow"},
                     {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"}, {-14, "crHSplit"}, {-15, "crVSplit"},
                     {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"}, {-19, "crAppStart"}, {-20, "crHelp"},
                     {-21, "crHandPoint"}, {-22, "crSizeAll"})
constexpr int lxCursorDefault = 0;
constexpr int lxCursorNoChange = -1;

// The translated message dialogs: their kinds and buttons.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
YORDE_ENUM_TYPEINFO(TMsgDlgType, "mtWarning", "mtError", "mtInformation", "mtConfirmation", "mtCustom")
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
YORDE_ENUM_TYPEINFO(TMsgDlgBtn, "mbYes", "mbNo", "mbOK", "mbCancel", "mbAbort", "mbRetry", "mbIgnore", "mbAll",
                    "mbNoToAll", "mbYesToAll", "mbHelp")
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
YORDE_SET_TYPEINFO(TMsgDlgButtons, TMsgDlgBtn)

// Font character sets by name ("RUSSIAN_CHARSET"), case-insensitive.
bool CharsetFromName(const AnsiString& Name, int& Charset);
// "DEFAULT_CHARSET" ...; empty for a value without a name.
AnsiString CharsetName(int Charset);

// The locale settings a component carries, in entry order.
constexpr int LocaleKeyCount = 15;
extern const std::array<const char*, LocaleKeyCount> LocaleKeys;

// Languages a component can hold; a count read from a file beyond it is
// refused instead of filling the memory with language names.
constexpr int MaxLanguageCount = 1000;
// ELanguageError for a language count below 1 or above MaxLanguageCount.
void CheckLanguageCount(int Value);

// The range error of language numbers.
[[noreturn]] void RaiseLanguageRange(int Value, int Count);
