#pragma once
// Each user's address book: numbers and their descriptions in the
// AddressBook table of data.db (the recordings list joins it on the number),
// and the semicolon-separated text file it is exchanged through: one
// "number;description" line per entry, no quoting, 8-bit text in the
// program's ANSI code page.
#include "rtl/AnsiString.h"

#include <vector>

class SqliteDb;

struct TAddressEntry {
    AnsiString Number;
    AnsiString Description;
    bool operator==(const TAddressEntry&) const = default;
};
using TAddressEntries = std::vector<TAddressEntry>;

// Longest description the book keeps.
constexpr int AddressDescriptionMax = 64;

// The user's entries in the text order of their numbers; NULL reads as "".
// Throws SqliteException.
TAddressEntries LoadAddressBook(SqliteDb& db, const AnsiString& user);

// Replaces the user's rows by the entries that have a number, in list
// order, in one transaction: when any statement fails the old rows stay
// and SqliteException is thrown.
void SaveAddressBook(SqliteDb& db, const AnsiString& user, const TAddressEntries& entries);

// One line of the file: the number before the first ";" (empty without
// one), the description after it (the whole line without one), cut to
// AddressDescriptionMax characters.
TAddressEntry AddressEntryFromLine(const AnsiString& line);

// Every line of the file, whatever its line breaks (CR LF, LF or CR).
// EFOpenError when it cannot be read.
TAddressEntries ReadAddressBookFile(const AnsiString& fileName);

// "number;description" and CR LF for every entry, the last one included.
// The file is replaced whole or not at all; EFCreateError or EWriteError.
void WriteAddressBookFile(const AnsiString& fileName, const TAddressEntries& entries);
