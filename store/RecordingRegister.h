#pragma once
// Registering a recording: the row of data.db's Files that makes a file in
// "files" one of the recordings the program lists. A download of the sync
// run and a copy from a card are registered alike, here.
#include "rtl/AnsiString.h"
#include "store/SqliteStatement.h"

#include <cstdint>

class SqliteDb;

// Writes Files rows through one prepared statement, for as many recordings
// as its owner registers (inside the owner's transaction when there are
// many). The columns are named, so each value lands in its field whatever
// the table's order of columns.
class TRecordingRegister {
public:
    explicit TRecordingRegister(SqliteDb& DataDb);

    // The row of the file Name of Size bytes, taken from the name and the
    // size (RecordingRowFromName). SqliteException when it is not written.
    void Register(const AnsiString& Name, std::int64_t Size);

private:
    SqliteStatement insert_;
};
