#pragma once
// Files and folders by name. Names are texts in the ANSI code page; the
// routines convert them for the file system.
#include "rtl/AnsiString.h"
#include "rtl/DateTime.h"

#include <cstdint>

bool FileExists(const AnsiString& FileName);  // false for folders
bool DirectoryExists(const AnsiString& Directory);
bool DeleteFile(const AnsiString& FileName);  // false when missing or not deleted
// Fails when NewName exists, as on Windows.
bool RenameFile(const AnsiString& OldName, const AnsiString& NewName);
// A new folder is readable by all and written by its owner alone (0755;
// the umask may take more away), whatever the umask lets through.
bool CreateDir(const AnsiString& Dir);
// Creates the folder and any missing parents; true when it exists afterwards.
bool ForceDirectories(const AnsiString& Dir);
// A folder of the program's own: made as CreateDir makes it, or, when it is
// there already and ours, no longer writable by group or others (an older
// start under a loose umask left it so). True when it is a folder afterwards.
bool ForceOwnFolder(const AnsiString& Dir);
bool RemoveDir(const AnsiString& Dir);

// Last modification as a packed file date (see DateTimeToFileDate); -1
// when the file is missing or a folder.
int FileAge(const AnsiString& FileName);
bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime);

// Size in bytes; EFOpenError when the file cannot be opened.
std::int64_t FileSize(const AnsiString& FileName);

// Read and write for the owner alone (mode 0600) on a plain file; false when
// it is no plain file or the mode cannot be set.
bool RestrictToOwner(const AnsiString& FileName);

// Creates the file empty, or truncates it; true on success.
bool FileCreateAndClose(const AnsiString& FileName);

// Free bytes available to the caller on the file system holding Path; -1
// on failure.
std::int64_t DiskFree(const AnsiString& Path);
