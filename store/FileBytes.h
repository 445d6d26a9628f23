#pragma once
// Whole files as bytes.
#include "rtl/AnsiString.h"

// Every byte of the file. EFOpenError when it cannot be opened (a folder
// included), EReadError on a read error.
AnsiString ReadFileBytes(const AnsiString& fileName);
