#include "localization/LxcompDialogWords.h"

const std::array<const char*, AllDialogCount> DialogWords = {
    "Warning",
    "Error",
    "Information",
    "Confirm",
    "&Yes",
    "&No",
    "OK",
    "Cancel",
    "&Abort",
    "&Retry",
    "&Ignore",
    "&All",
    "N&o To All",
    "Y&es To All",
    "&Help",
    // 16 to 82
    "&Open",
    "Look &in:",
    "File &name:",
    "Files of &type:",
    "&Read-only",
    "&Save",
    "&Drives:",
    "Save &in:",
    "Save as &type:",
    "&Basic colors:",
    "&Custom colors:",
    "&Define Custom Colors >>",
    "Color",
    "|S&olid",
    "Hu&e:",
    "&Sat:",
    "&Lum:",
    "&Red:",
    "&Green:",
    "Bl&ue:",
    "&Add to Custom Colors",
    "&Font:",
    "Font st&yle:",
    "Si&ze:",
    "&Color:",
    "&Apply",
    "Effects",
    "Stri&keout",
    "&Underline",
    "Sample",
    "Sc&ript:",
    "Printer",
    "&Name:",
    "&Properties",
    "Status:",
    "Type:",
    "Where:",
    "Comment:",
    "Paper",
    "&Source:",
    "Orientation",
    "P&ortrait",
    "L&andscape",
    "Print to f&ile",
    "Print",
    "Pa&ges",
    "&Selection",
    "&from:",
    "&to:",
    "Copies",
    "Number of &copies:",
    "C&ollate",
    "Fi&nd what:",
    "Match &whole words only",
    "Match &case",
    "Direction",
    "&Up",
    "&Down",
    "&Find Next",
    "&Replace",
    "Replace &All",
    "Re&place with:",
    "Picture:",
    "Preview",
    "New Folder",
    "Folder:",
    "(None)",
};

const std::array<const TResStringRec*, BasicDialogCount> BasicDialogTexts = {
    &rsDlgWarning, &rsDlgError, &rsDlgInformation, &rsDlgConfirm,  &rsDlgYes,
    &rsDlgNo,      &rsDlgOK,    &rsDlgCancel,      &rsDlgAbort,    &rsDlgRetry,
    &rsDlgIgnore,  &rsDlgAll,   &rsDlgNoToAll,     &rsDlgYesToAll, &rsDlgHelp,
};

AnsiString DialogKey(const char* Word) {
    AnsiString key;
    for (const char* p = Word; *p; ++p)
        if (*p != '&') key += *p;
    return key;
}

bool IsBasicDialogKey(const AnsiString& Key) {
    for (int i = 0; i < BasicDialogCount; ++i)
        if (Key == DialogKey(DialogWords[size_t(i)])) return true;
    return false;
}
