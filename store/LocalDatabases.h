#pragma once
// The two database files of the program folder, prepared at start-up:
// "data.db" (kept across runs; a file under 10 bytes is taken for a broken
// one and made anew) and "tmp.db" (made anew at every start).
#include "rtl/AnsiString.h"

#include <functional>
#include <vector>

class SqliteDb;

// The statements that create the tables, in this order.
extern const char* const DataDbCreateStatements[3];  // Files, DeletedFiles, AddressBook
extern const char* const TmpDbCreateStatement;       // DownFiles
// The same tables, each made only when it is missing.
extern const char* const DataDbCompleteStatements;

// Start-up exit codes; each comes with the message key to show.
enum : int {
    DB_READY = 0,
    DB_DATA_CREATE_FAILED = 10,  // IDS_DB_CREATE_ERROR
    DB_DATA_OPEN_FAILED = 20,    // IDS_DB_OPEN_ERROR
    DB_TMP_CREATE_FAILED = 30,   // IDS_DB_CREATE_ERROR
    DB_TMP_OPEN_FAILED = 40,     // IDS_DB_OPEN_ERROR
};

struct TDbPreparation {
    int ExitCode = DB_READY;
    AnsiString MessageKey;          // empty when ready
    AnsiString Detail;              // what failed, for the debug log
    std::vector<AnsiString> Notes;  // what was found and put right, for the debug log
};

// Replaceable steps, so that every branch can be driven without privileges
// the tests do not have; an empty function runs the real step.
struct TDbPrepareSteps {
    std::function<bool(const AnsiString& fileName)> DeleteFile;
    std::function<void(SqliteDb& db, const AnsiString& fileName)> Open;
};

// folder ends with "/". An existing data.db has a change that a crash cut
// off rolled back and missing tables made (both noted); both files are
// readable by their owner alone.
TDbPreparation PrepareLocalDatabases(const AnsiString& folder, const TDbPrepareSteps& steps = {});
