#pragma once
// The statement behind the recordings list: the stored recordings the user
// may see, under the filter's date range and numbers, optionally joined
// with the user's address book. Every value travels bound, never inside
// the SQL text.
#include "rtl/AnsiString.h"
#include "store/RecordingColumns.h"
#include "store/SqliteDb.h"
#include "store/UserRecord.h"

struct TRecordingsFilter {
    // The user whose view right applies and whose address book is joined.
    AnsiString UserName;
    TRightKind ViewKind = rkNone;
    AnsiString ViewNumber;  // for rkNumber
    // The statement gives the columns of RecordingLayout(AddressBook).
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

// The ORDER BY text that sorts Layout's statement by Column (empty when the
// layout has no such column): a description by its text whatever its case,
// any other column by its value.
AnsiString RecordingsSortClause(const TRecordingLayout& Layout, TRecordingColumn Column, bool Descending);

// The statement for a user with a view right (ViewKind other than rkNone).
TSqlStatement BuildRecordingsQuery(const TRecordingsFilter& Filter);

// The statement with each value written in as a quoted literal: for the
// debug log and for handing the same query to other tools.
AnsiString RenderSql(const TSqlStatement& Statement);
