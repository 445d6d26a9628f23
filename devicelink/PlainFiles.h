#pragma once
// The plain files of a folder, listed fast: a hundred thousand recordings
// are listed at every sync run.
#include "rtl/AnsiString.h"

#include <sys/stat.h>

#include <functional>
#include <string_view>

// Calls Visit with each plain file's name as the file system has it
// (symbolic links followed) and the file's status when it was read: always
// with Stat, else only for the entries the listing alone cannot tell (links,
// entries of unknown type); null otherwise. A file whose status cannot be
// read is left out. False when the folder cannot be listed to its end.
bool ForEachPlainFile(const AnsiString& Folder, bool Stat,
                      const std::function<void(std::string_view OsName, const struct stat* Status)>& Visit);

// The program's text of a name from the file system.
AnsiString PlainFileName(std::string_view OsName);
// Plain ASCII: the same text for the program and the file system (the usual
// case, a million times over).
bool IsAsciiName(std::string_view Name);
