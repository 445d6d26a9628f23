#pragma once
// Resource strings: standard texts of the library read through one loader,
// so that a translator can hand back every one of them in another language.
//
// A record names a string table and an identifier in it. An identifier of
// 65536 or more is no table index but the address of the text itself.
// Any thread may load; the hook is installed once and stays.
#include "rtl/AnsiString.h"

#include <cstdint>

struct TResStringTable {
    const char* const* Texts;
    unsigned Count;
};

struct TResStringRec {
    const TResStringTable* Module;
    uintptr_t Identifier;
};

// The text of the record; through the installed loader when there is one.
AnsiString LoadResString(const TResStringRec* ResStringRec);
// The stored text, never redirected: what a loader translates. An index
// outside the table (or no table) gives an empty text.
AnsiString LoadStoredResString(const TResStringRec* ResStringRec);

using TResStringLoader = AnsiString (*)(const TResStringRec* ResStringRec);
// From now on LoadResString calls Loader.
void InstallResStringLoader(TResStringLoader Loader);
// Tests: back to the stored texts.
void ResetResStringLoader();

// The library's texts of the message-dialog captions and buttons.
extern const TResStringRec rsDlgWarning, rsDlgError, rsDlgInformation, rsDlgConfirm, rsDlgYes, rsDlgNo, rsDlgOK,
    rsDlgCancel, rsDlgAbort, rsDlgRetry, rsDlgIgnore, rsDlgAll, rsDlgNoToAll, rsDlgYesToAll, rsDlgHelp;
