#include "store/RecordingsQuery.h"

#include <string>

namespace {

constexpr const char* kFilesBase = "SELECT * FROM Files ";

// The user's name goes in twice, once for each side of the call.
constexpr const char* kAddressBookBase1 =
    "SELECT T1.Data, T1.AbA, COALESCE(T1.opisA, '-') AS opisik1, T2.AbB, COALESCE(T2.opisB, '-') as opisik2, "
    "T1.Czas, T1.Filename FROM ((SELECT Files.rowid AS rowid, AddressBook.opis AS OpisA, Files.AbA AS AbA, "
    "Files.Czas, Files.Data AS Data, AddressBook.user AS User, Files.filename AS Filename FROM Files LEFT JOIN "
    "AddressBook ON Files.AbA = AddressBook.nr AND User = ?";
constexpr const char* kAddressBookBase2 =
    ") AS T1 INNER JOIN (SELECT Files.rowid AS rowid, AddressBook.opis AS OpisB, Files.AbB AS AbB, Files.Data AS "
    "Data, AddressBook.user AS User FROM Files LEFT JOIN AddressBook ON Files.AbB = AddressBook.nr AND User = ?";

// One piece of the WHERE clause with its values.
struct Piece {
    AnsiString Sql;
    SqlValues Values;
    bool empty() const { return Sql.empty(); }
};

Piece datePiece(const TRecordingsFilter& f) {
    const char* column = f.AddressBook ? "T1.Data" : "Data";
    Piece p;
    if (f.FromOn && f.ToOn) {
        p.Sql = AnsiString(column) + " >= ? AND " + column + " <= ? ";
        p.Values = {f.From, f.To};
    } else if (f.FromOn) {
        p.Sql = AnsiString(column) + " >= ? ";
        p.Values = {f.From};
    } else if (f.ToOn) {
        p.Sql = AnsiString(column) + " <= ? ";
        p.Values = {f.To};
    }
    return p;
}

Piece numberPiece(const TRecordingsFilter& f) {
    const AnsiString& a = f.NumberA;
    const AnsiString& b = f.NumberB;
    // The same number in both fields finds the calls on either side.
    if (!a.empty() && a == b) return {"AbA = ? OR AbB = ? ", {a, b}};
    if (!a.empty() && !b.empty()) return {"AbA = ? AND AbB = ? ", {a, b}};
    if (!a.empty()) return {"AbA = ? ", {a}};
    if (!b.empty()) return {"AbB = ? ", {b}};
    return {};
}

void append(TSqlStatement& s, const AnsiString& sql, const SqlValues& values = {}) {
    s.Sql += sql;
    s.Values.insert(s.Values.end(), values.begin(), values.end());
}

}  // namespace

int RecordingsColumns(const TRecordingsFilter& Filter) { return Filter.AddressBook ? 6 : 4; }

TSqlStatement BuildRecordingsQuery(const TRecordingsFilter& Filter) {
    TSqlStatement s;
    if (Filter.AddressBook) {
        append(s, kAddressBookBase1, {Filter.UserName});
        append(s, kAddressBookBase2, {Filter.UserName});
        append(s, ") AS T2 ON T1.rowid = T2.rowid) ");
    } else {
        append(s, kFilesBase);
    }
    const Piece d = datePiece(Filter);
    const Piece n = numberPiece(Filter);
    if (Filter.ViewKind == rkAll) {
        if (!d.empty() && !n.empty()) {
            append(s, "WHERE (" + d.Sql + ") AND (", d.Values);
            append(s, n.Sql + ") ", n.Values);
        } else if (!d.empty()) {
            append(s, "WHERE " + d.Sql, d.Values);
        } else if (!n.empty()) {
            append(s, "WHERE " + n.Sql, n.Values);
        }
    } else {
        const SqlValues own = {Filter.ViewNumber, Filter.ViewNumber};
        if (!d.empty() && !n.empty()) {
            append(s, "WHERE (" + d.Sql + ") AND (", d.Values);
            append(s, n.Sql + ") AND (AbA =? OR AbB = ?) ", n.Values);
        } else if (!d.empty() || !n.empty()) {
            const Piece& only = d.empty() ? n : d;
            append(s, "WHERE (" + only.Sql + ") AND (AbA =? OR AbB = ?) ", only.Values);
        } else {
            append(s, "WHERE (AbA = ? OR AbB = ?) ");
        }
        s.Values.insert(s.Values.end(), own.begin(), own.end());
    }
    append(s, Filter.SortClause);
    return s;
}

AnsiString RenderSql(const TSqlStatement& Statement) {
    AnsiString out;
    size_t next = 0;
    for (char c : Statement.Sql) {
        if (c != '?' || next >= Statement.Values.size()) {
            out += c;
            continue;
        }
        const SqlValue& v = Statement.Values[next++];
        out += std::holds_alternative<std::int64_t>(v) ? std::to_string(std::get<std::int64_t>(v))
                                                       : SqlQuote(std::get<AnsiString>(v));
    }
    return out;
}
