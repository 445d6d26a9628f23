#include "store/RecordingsQuery.h"

#include <string>

namespace {

// Files' own columns are the plain layout's, in its order.
constexpr const char* kFilesBase = "SELECT * FROM Files ";

// A column's expression in the address-book statement's select list (over
// T1, the calling side, and T2, the called side), and what a sort by it
// orders: nullptr sorts by its place in the statement.
struct ColumnSql {
    TRecordingColumn Column;
    const char* Joined;
    const char* SortKey;
};
using C = TRecordingColumn;
constexpr ColumnSql kColumnSql[] = {
    {C::Date, "T1.Data", nullptr},
    {C::Caller, "T1.AbA", nullptr},
    {C::CallerDescription, "COALESCE(T1.opisA, '-') AS opisik1", "lower(opisik1)"},
    {C::Called, "T2.AbB", nullptr},
    {C::CalledDescription, "COALESCE(T2.opisB, '-') as opisik2", "lower(opisik2)"},
    {C::Duration, "T1.Czas", nullptr},
    {C::FileName, "T1.Filename", nullptr},
};
static_assert(OneRowPerColumn(kColumnSql));

// After the select list; the user's name goes in twice, once for each side
// of the call. T1 carries every column of Files the list shows.
constexpr const char* kAddressBookBase1 =
    " FROM ((SELECT Files.rowid AS rowid, AddressBook.opis AS OpisA, Files.AbA AS AbA, Files.Czas, Files.Data AS Data, "
    "AddressBook.user AS User, Files.filename AS Filename FROM Files LEFT JOIN AddressBook ON Files.AbA = "
    "AddressBook.nr AND User = ?";
constexpr const char* kAddressBookBase2 =
    ") AS T1 INNER JOIN (SELECT Files.rowid AS rowid, AddressBook.opis AS OpisB, Files.AbB AS AbB, Files.Data AS "
    "Data, AddressBook.user AS User FROM Files LEFT JOIN AddressBook ON Files.AbB = AddressBook.nr AND User = ?";

AnsiString joinedSelect(const TRecordingLayout& Layout) {
    AnsiString sql = "SELECT ";
    for (int i = 0; i < Layout.Count(); ++i) {
        if (i > 0) sql += ", ";
        sql += kColumnSql[int(Layout.At(i))].Joined;
    }
    return sql;
}

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

AnsiString RecordingsSortClause(const TRecordingLayout& Layout, TRecordingColumn Column, bool Descending) {
    const int index = Layout.IndexOf(Column);
    if (index < 0) return AnsiString();
    const char* key = kColumnSql[int(Column)].SortKey;
    AnsiString clause = "ORDER BY " + (key ? AnsiString(key) : AnsiString(std::to_string(index + 1)));
    return Descending ? clause + " DESC" : clause;
}

TSqlStatement BuildRecordingsQuery(const TRecordingsFilter& Filter) {
    TSqlStatement s;
    if (Filter.AddressBook) {
        append(s, joinedSelect(RecordingLayout(true)));
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
