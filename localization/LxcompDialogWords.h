#pragma once
// The words of the translated message dialogs (15 basic ones) and of the
// common file, colour, font, print and find dialogs (words 16 to 82).
#include "rtl/AnsiString.h"
#include "rtl/ResStrings.h"

#include <array>

constexpr int BasicDialogCount = 15;
constexpr int AllDialogCount = 82;

// Word i as written with its accelerator ("&Yes").
extern const std::array<const char*, AllDialogCount> DialogWords;
// The library's own texts paired with the basic words ("N&o to All").
extern const std::array<const TResStringRec*, BasicDialogCount> BasicDialogTexts;

// The key of a word: the word without "&".
AnsiString DialogKey(const char* Word);
// True for the key of one of the 15 basic words.
bool IsBasicDialogKey(const AnsiString& Key);
