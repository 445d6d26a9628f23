#pragma once
// The translation table beside a layout (<name>.lang), UTF-8, one entry a line:
//   list type <TAB> key <TAB> a text for each language, in the order of rtl/Languages.h
// "#" starts a comment line; blank lines are skipped; "@include other.lang"
// reads another table (relative to this one) in its place. Texts are taken
// as they stand: "\n" stays backslash and n (decoded at look-up).
#include "Diagnostics.h"

#include "localization/LxTypes.h"
#include "rtl/Languages.h"

#include <array>
#include <string>
#include <vector>

struct TLangEntry {
    TStringsType Type = stCaptions;
    std::string Key;
    std::array<std::string, LanguageCount> Texts;  // code-page bytes
    std::string File;
    int Line = 0;
};

std::vector<TLangEntry> ReadLangTable(const std::string& Path, TDiagnostics& Diag,
                                      std::vector<std::string>& Dependencies);
