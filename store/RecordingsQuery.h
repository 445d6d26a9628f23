#pragma once
// The statement behind the recordings list: the stored recordings the user
// may see, under the filter's date range and numbers, optionally joined
// with the user's address book. Every value travels bound, never inside
// the SQL text.
#include "rtl/AnsiString.h"
#include "store/SqliteDb.h"
#include "store/UserRecord.h"

struct TRecordingsFilter {
    // The user whose view right applies and whose address book is joined.
    AnsiString UserName;
    TRightKind ViewKind = rkNone;
    AnsiString ViewNumber;  // for rkNumber
    // With the address book: 6 columns (Data, AbA, opisik1, AbB, opisik2,
    // Czas, Filename); without: "SELECT *" of Files (Data, AbA, AbB, Czas,
    // Filename).
    bool AddressBook = false;
    // Bounds in the layout of the Files "Data" column; each only when on.
    bool FromOn = false;
    AnsiString From;
    bool ToOn = false;
    AnsiString To;
    // Calling and called number; empty: any.
    AnsiString NumberA;
    AnsiString NumberB;
    // Appended as it stands: "ORDER BY ..." from the list's own table, or empty.
    AnsiString SortClause;
};

struct TSqlStatement {
    AnsiString Sql;    // with "?" for each value
    SqlValues Values;  // texts, in the order of the "?"
};

// Columns shown for the filter's layout: 4 or 6 (the file name follows them).
int RecordingsColumns(const TRecordingsFilter& Filter);

// The statement for a user with a view right (ViewKind other than rkNone).
TSqlStatement BuildRecordingsQuery(const TRecordingsFilter& Filter);

// The statement with each value written in as a quoted literal: for the
// debug log and for handing the same query to other tools.
AnsiString RenderSql(const TSqlStatement& Statement);
