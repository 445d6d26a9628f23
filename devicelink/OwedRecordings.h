#pragma once
// The recordings the exchange listed and did not give (a 404, a download
// error, every attempt cut, a file that could not be stored), kept in the
// OwedFiles table of "data.db" so that a restart forgets none: the runs ask
// for the list from no later than the oldest one's day, and so ask for each
// again until it arrives.
//
// A name is owed no more once it arrived, once the exchange no longer lists
// it (or lists it stored, deleted or empty), and once it has been asked for
// in vain in kGiveUpRuns runs over at least kGiveUpSeconds: a file the
// exchange lists and never gives must not pull every later list back to its
// day for ever. Asking for what is listed goes on as in any run.
#include "rtl/AnsiString.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

class SqliteDb;

class TOwedRecordings {
public:
    static constexpr int kGiveUpRuns = 10;
    static constexpr int64_t kGiveUpSeconds = 24 * 60 * 60;

    explicit TOwedRecordings(SqliteDb& Db) : db_(Db) {}

    // Creates the table in a "data.db" made before it existed.
    void Prepare();
    // "yyyy-mm-dd" of the oldest owed name that starts with a date; empty when none.
    AnsiString OldestDate();
    // This run asked for Name in vain (Now: seconds since 1970). False when
    // it is given up and owed no more. Inside the caller's transaction, if any.
    bool AskedInVain(const AnsiString& Name, int64_t Now);
    // Name arrived.
    void Arrived(const AnsiString& Name);
    // After a whole record list: the owed names not among those still to be
    // fetched are owed no more. Returns them.
    std::vector<AnsiString> KeepOnly(const std::unordered_set<AnsiString>& ToFetch);

private:
    SqliteDb& db_;
};
