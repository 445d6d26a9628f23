#pragma once
// Whole files as bytes.
#include "rtl/AnsiString.h"

// Every byte of the file. EFOpenError when it cannot be opened (a folder
// included), EReadError on a read error.
AnsiString ReadFileBytes(const AnsiString& fileName);

// A damaged or foreign file the program cannot use, kept out of the way of
// its next save: moved (or, with Copy, copied, readable by its owner alone)
// to the first free name of FileName + ".bad", ".bad1" ... ".bad99". The
// name it went to, or an empty text when it could not be kept.
AnsiString SetFileAside(const AnsiString& fileName, bool copy);
