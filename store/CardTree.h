#pragma once
// A card's folders and files as the card itself holds them. Nothing is
// reached through a symbolic link, so a card cannot lead the import to a
// file outside its own tree, whatever its links point at, not even when a
// file or folder is swapped for a link between the walk and the copy.
#include "rtl/AnsiString.h"
#include "rtl/FileDescriptor.h"

#include <string>
#include <vector>

enum class TCardEntryKind { Folder, File, Link, Other };

struct TCardEntry {
    std::string OsName;  // as the file system spells it
    AnsiString Name;
    TCardEntryKind Kind = TCardEntryKind::Other;  // a link is a link, whatever it points at
};

// Opens the folder OsName inside the open folder Parent, not through a
// link. With AT_FDCWD as Parent, OsName is the card's root, chosen by the
// user, and links on the way to it are followed. Invalid when it cannot.
TUniqueFd OpenCardFolder(int Parent, const std::string& OsName);

// The entries of an open folder, "." and ".." left out, sorted by name;
// empty when it cannot be read.
std::vector<TCardEntry> ListCardFolder(int Folder);

// Opens Path, which lies below the folder Root (Root + "a/b/name"), for
// reading without waiting: no step below Root may be a link, and it must
// be a plain file. Invalid, with errno set, when it cannot be opened so
// (ELOOP or ENOTDIR: a link on the way; EINVAL: no plain file, or not below
// Root).
TUniqueFd OpenCardFile(const AnsiString& Root, const AnsiString& Path);
