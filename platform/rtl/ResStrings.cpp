#include "rtl/ResStrings.h"

#include <atomic>

namespace {
const char* const libraryTexts[] = {
    "Warning", "Error",  "Information", "Confirm", "&Yes",       "&No",         "OK",    "Cancel",
    "&Abort",  "&Retry", "&Ignore",     "&All",    "N&o to All", "Yes to &All", "&Help",
};
const TResStringTable libraryTable{libraryTexts, unsigned(sizeof(libraryTexts) / sizeof(libraryTexts[0]))};

std::atomic<TResStringLoader> loader{nullptr};
}  // namespace

const TResStringRec rsDlgWarning{&libraryTable, 0}, rsDlgError{&libraryTable, 1}, rsDlgInformation{&libraryTable, 2},
    rsDlgConfirm{&libraryTable, 3}, rsDlgYes{&libraryTable, 4}, rsDlgNo{&libraryTable, 5}, rsDlgOK{&libraryTable, 6},
    rsDlgCancel{&libraryTable, 7}, rsDlgAbort{&libraryTable, 8}, rsDlgRetry{&libraryTable, 9},
    rsDlgIgnore{&libraryTable, 10}, rsDlgAll{&libraryTable, 11}, rsDlgNoToAll{&libraryTable, 12},
    rsDlgYesToAll{&libraryTable, 13}, rsDlgHelp{&libraryTable, 14};

AnsiString LoadStoredResString(const TResStringRec* ResStringRec) {
    if (!ResStringRec) return AnsiString();
    if (ResStringRec->Identifier >= 65536) return FromCStr(reinterpret_cast<const char*>(ResStringRec->Identifier));
    const TResStringTable* table = ResStringRec->Module;
    if (!table || ResStringRec->Identifier >= table->Count) return AnsiString();
    return FromCStr(table->Texts[ResStringRec->Identifier]);
}

AnsiString LoadResString(const TResStringRec* ResStringRec) {
    if (TResStringLoader l = loader.load(std::memory_order_acquire)) return l(ResStringRec);
    return LoadStoredResString(ResStringRec);
}

void InstallResStringLoader(TResStringLoader Loader) { loader.store(Loader, std::memory_order_release); }

void ResetResStringLoader() { loader.store(nullptr, std::memory_order_release); }
