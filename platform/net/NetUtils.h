#pragma once
// Small helpers around addresses and files that the device link uses.
#include "rtl/AnsiString.h"

#include <cstdint>

// A dotted IPv4 address: exactly four fields of one to three decimal digits,
// each 0-255, and nothing else (no blanks, signs, hex or trailing text).
bool IsValidIP(const AnsiString& s);

// The size of a file in bytes; EFOpenError when it cannot be opened or is a folder.
int64_t FileSizeByName(const AnsiString& path);

// Copies src to dst byte for byte. Never overwrites: false when dst exists, or
// when the copy fails. The bytes go to a temporary file beside dst that is
// moved into place only when complete, so no half file is ever left at dst.
// dst gets src's permission bits, but never a setuid, setgid or sticky bit.
bool CopyFileTo(const AnsiString& src, const AnsiString& dst);

// The same from an open file, from its current position to its end; dst
// gets Mode (less the umask) whatever Source's own mode. 0, or the errno of
// the step that failed (ENOSPC or EDQUOT: the disk is full).
int CopyOpenFileTo(int Source, const AnsiString& dst, unsigned Mode);
