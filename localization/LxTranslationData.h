#pragma once
// The bytes of the "TranslationData" property: CR LF-separated lines; a
// line that is a list type's name ("stCaptions") opens that type's
// section, every other line is an entry of the open section, with CR and
// LF inside texts stored as 0x19 and 0x1A. The layout compiler writes
// these bytes with the same functions the components read them with.
#include "classes/Strings.h"
#include "localization/LxTypes.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The list a component has for a type, or null when it has none.
using TlxListsByType = std::function<TStrings*(TStringsType)>;
// Entries per type; nullopt for a type without a list (no section).
using TlxTranslationLists = std::array<std::optional<std::vector<AnsiString>>, StringsTypeCount>;

// One section per type that has a list, in type order, also for empty lists.
AnsiString WriteTranslationData(const TlxListsByType& Lists);
AnsiString WriteTranslationData(const TlxTranslationLists& Lists);

// Lines split as a strings list's text (CR LF, lone CR, lone LF; a NUL ends
// the data). A section line (any letter case) clears that type's list; its
// entries are added to it. Sections without a list and lines before the
// first section are skipped; an unknown name inside a section is an entry.
void ReadTranslationData(const AnsiString& Data, const TlxListsByType& Lists);
// The sections found, with their entries.
TlxTranslationLists ReadTranslationData(const AnsiString& Data);

// CR -> 0x19, LF -> 0x1A, and back.
AnsiString EncodeTranslationLine(const AnsiString& Entry);
AnsiString DecodeTranslationLine(const AnsiString& Line);
