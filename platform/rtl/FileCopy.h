#pragma once
// Copies of whole files that never replace anything and never leave half a
// file: the bytes go to a temporary file beside the target (AtomicFile.h),
// moved into place only when complete and only while the target is absent.
#include "rtl/AnsiString.h"

// Copies src to dst byte for byte. Never overwrites: false when dst exists, or
// when the copy fails. dst gets src's permission bits, but never a setuid,
// setgid or sticky bit.
bool CopyFileTo(const AnsiString& src, const AnsiString& dst);

// The same from an open file, from its current position to its end; dst
// gets Mode (less the umask) whatever Source's own mode. 0, or the errno of
// the step that failed (ENOSPC or EDQUOT: the disk is full).
int CopyOpenFileTo(int Source, const AnsiString& dst, unsigned Mode);
