#pragma once
// The recordings list's rows read from its statement, packed as the grid
// holds them. Runs on any thread: a refill reads them on the GUI thread, a
// reload during a sync on a thread of its own.
#include "store/RecordingsQuery.h"
#include "store/SqliteDb.h"
#include "vcl/GridRows.h"

#include <functional>
#include <optional>

struct TRecordingsRead {
    // The statement ran: Rows replace the list (only the header row when
    // the reading failed on the way).
    bool Ran = false;
    // The layout's columns; row 0 is left for the header row.
    TGridRows Rows;
    std::optional<SqliteException> Error;
    // Looked for where the rows were read: the first row whose file name
    // is SoughtName (-1 when none), so that the GUI thread need not.
    std::optional<AnsiString> SoughtName;
    int SoughtRow = -1;
};

// Opens Db on DbPath, runs Statement and reads its rows in the columns of
// Layout, the duration as "hh:mm:ss"; a duration that is no whole number
// ends the list where it stands. Ran is called once the statement runs,
// before the first row is read. Db is closed again at the end.
TRecordingsRead ReadRecordings(SqliteDb& Db, const AnsiString& DbPath, const TSqlStatement& Statement,
                               const TRecordingLayout& Layout, const std::function<void()>& Ran = {});
