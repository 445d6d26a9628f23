#include "store/AddressBook.h"

#include "classes/Strings.h"
#include "store/SqliteDb.h"
#include "store/SqliteTransaction.h"

TAddressEntries LoadAddressBook(SqliteDb& db, const AnsiString& user) {
    TAddressEntries entries;
    SqliteQuery q = db.ExecQuery("SELECT nr, opis FROM AddressBook WHERE user = ? ORDER BY nr;", {user});
    for (; !q.Eof(); q.NextRow()) entries.push_back({q.GetStringField(0), q.GetStringField(1)});
    return entries;
}

void SaveAddressBook(SqliteDb& db, const AnsiString& user, const TAddressEntries& entries) {
    SqliteTransaction transaction(db, SqliteTransaction::Immediate);
    db.ExecDml("DELETE FROM AddressBook WHERE user = ?;", {user});
    for (const TAddressEntry& e : entries)
        if (!e.Number.empty()) db.ExecDml("INSERT INTO AddressBook VALUES(?, ?, ?);", {user, e.Number, e.Description});
    transaction.Commit();
}

TAddressEntry AddressEntryFromLine(const AnsiString& line) {
    const std::size_t p = line.find(';');
    TAddressEntry entry;
    if (p == AnsiString::npos) {
        entry.Description = line;
    } else {
        entry.Number = line.substr(0, p);
        entry.Description = line.substr(p + 1);
    }
    if (entry.Description.size() > std::size_t(AddressDescriptionMax)) entry.Description.resize(AddressDescriptionMax);
    return entry;
}

TAddressEntries ReadAddressBookFile(const AnsiString& fileName) {
    TStringList lines;
    lines.LoadFromFile(fileName);
    TAddressEntries entries;
    for (int i = 0; i < lines.Count(); ++i) entries.push_back(AddressEntryFromLine(lines.Strings(i)));
    return entries;
}

void WriteAddressBookFile(const AnsiString& fileName, const TAddressEntries& entries) {
    TStringList lines;
    for (const TAddressEntry& e : entries) lines.Add(e.Number + ";" + e.Description);
    lines.SaveToFile(fileName);
}
