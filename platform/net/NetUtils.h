#pragma once
// Small helpers around addresses and files that the device link uses.
#include "rtl/AnsiString.h"

#include <cstdint>

// A dotted IPv4 address: exactly four fields of one to three decimal digits,
// each 0-255, and nothing else (no blanks, signs, hex or trailing text).
bool IsValidIP(const AnsiString& s);

// The size of a file in bytes; EFOpenError when it cannot be opened or is a folder.
int64_t FileSizeByName(const AnsiString& path);
