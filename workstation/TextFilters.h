#pragma once
// Typing filters for free text that later goes into SQL literals:
// subscriber numbers (user rights, filter, address book) and user names.
#include "rtl/AnsiString.h"

class TCustomEdit;

struct TFilteredText {
    AnsiString Text;
    // 0-based position of the leftmost removed character; -1 when nothing was removed.
    int Caret = -1;
};

// Lower-cases the text in the ANSI code page, then removes every character
// of the forbidden number set: all Latin letters, most punctuation, the
// Polish letters and the euro sign. Digits, '*', '#' and blanks stay.
TFilteredText StripNumberChars(const AnsiString& Text);
// Removes back-quote, tilde, backslash, apostrophe and double quote; case
// and everything else stay.
TFilteredText StripNameChars(const AnsiString& Text);

// Runs the filter on the edit's text (from its OnChange): a changed text is
// written back and the caret put where the first removed character stood.
void FilterEditText(TCustomEdit* Edit, TFilteredText (*Filter)(const AnsiString&));
