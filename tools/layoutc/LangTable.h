#pragma once
// The translation table beside a layout (<name>.lang), UTF-8, one entry a line:
//   list type <TAB> key <TAB> Polish <TAB> English <TAB> Russian
// "#" starts a comment line; blank lines are skipped; "@include other.lang"
// reads another table (relative to this one) in its place. Texts are taken
// as they stand: "\n" stays backslash and n (decoded at look-up).
#include "Diagnostics.h"

#include "localization/LxTypes.h"

#include <array>
#include <string>
#include <vector>

constexpr int LangCount = 3;  // Polish, English, Russian
// Code page of each language's texts (English must be ASCII).
constexpr std::array<int, LangCount> LangCodePages = {1250, 1250, 1251};

struct TLangEntry {
    TStringsType Type = stCaptions;
    std::string Key;
    std::array<std::string, LangCount> Texts;  // code-page bytes
    std::string File;
    int Line = 0;
};

std::vector<TLangEntry> ReadLangTable(const std::string& Path, TDiagnostics& Diag,
                                      std::vector<std::string>& Dependencies);
