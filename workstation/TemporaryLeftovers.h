#pragma once
// What a kill or a crash left of the program's own temporary files: in
// "files", unfinished downloads and copies from a card; beside the program,
// the copies its settings and users are written through; in the temporary
// folder, those of the sounds played and recorded. The debug log names each
// file removed.
#include "rtl/AnsiString.h"

// Both folders end in "/"; an empty TempFolder is passed over. Only once
// this copy of the program is the only one: another's files being written
// look the same.
void RemoveTemporaryLeftovers(const AnsiString& ProgramFolder, const AnsiString& TempFolder);
