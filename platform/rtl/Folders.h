#pragma once
// The program's own folders. Both end with "/".
#include "rtl/AnsiString.h"

// The running program's file, from /proc/self/exe.
AnsiString ProgramFileName();
// Its folder, unless a test has set another.
AnsiString ProgramDir();
// An empty text removes the override.
void SetProgramDirOverride(const AnsiString& Dir);

// The folder for temporary files: TEMP when set; otherwise a private
// folder (mode 0700, ours alone) under $XDG_RUNTIME_DIR/yorde, or else
// under the system temporary folder. Decrypted recordings pass through
// here, so a world-readable place is never chosen.
AnsiString TempDir();
// An empty text removes the override.
void SetTempDirOverride(const AnsiString& Dir);

// The variable's value, or an empty text when it is not set.
AnsiString GetEnvironmentVariable(const AnsiString& Name);
