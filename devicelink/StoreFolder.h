#pragma once
// The "files" folder as one sync run sees it: every plain file in it, listed
// once and found by name in a hash table, so that a million recordings meet
// their rows in Files without a name being sorted; and what the storage
// quota needs of each file, known without a status call where it can be.
//
// A plain file with a row needs none: the row's Czas is the file's size in
// 1625-byte seconds, rounded down, and a stored recording is never written
// again, so it holds at most Czas * 1625 + 1624 bytes. Every other "*.wav" is
// looked at: one without a row, one whose row holds no such number, and
// links and entries of unknown type (links each time, for their targets
// may change unseen).
#include "rtl/AnsiString.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SqliteDb;

// Whether a file's name makes it count for the storage quota: "*.wav" in any case.
bool IsQuotaName(std::string_view Name);

class TStoreFolder {
public:
    // Lists Folder (ending in "/"); false when it cannot be listed to its end.
    bool Read(const AnsiString& Folder);
    // Marks every listed name that has a row in Files; the names of rows
    // whose file is not listed (or is an unfinished file) go to Missing, once
    // per row. Then looks at each file that counts and has no bound from a
    // row. SqliteException when Files cannot be read.
    void MatchRows(SqliteDb& Db, std::vector<AnsiString>& Missing);
    // The listed files that are not unfinished downloads or copies and have no row.
    size_t CountUnregistered() const;
    // Listed (not as an unfinished file) with a row.
    bool IsRegistered(const AnsiString& Name) const;
    // The names of unfinished files listed.
    std::vector<AnsiString> Leftovers() const;
    // Marks Name as registered, listed or not: for a folder that could not
    // be listed, whose rows still say what is stored.
    void AddRegistered(const AnsiString& Name);

    // Names (as the file system has them) that changed since the listing:
    // each is looked at again, and so is every link.
    void Refresh(const std::vector<std::string>& OsNames);
    // The most bytes the files that count can hold together.
    int64_t MostBytes() const;
    // What they hold: each looked at (no listing, the names are known).
    int64_t ExactBytes();

private:
    // One file: its record in records_, the name right after it.
    struct TEntry {
        int64_t Bytes = 0;  // exact, or the most its rows allow
        uint32_t Length = 0;
        uint8_t Flags = 0;
    };
    enum : uint8_t {
        kListed = 1,      // a plain file of the folder
        kCounts = 2,      // a "*.wav": the quota counts it
        kLeftover = 4,    // an unfinished download or copy
        kRegistered = 8,  // has a row
        kExact = 16,      // Bytes is its size
        kBound = 32,      // Bytes is the most its rows allow
        kLink = 64,       // listed through a status call: a link, or of unknown type
        kLookAgain = 128  // to be looked at before its size counts
    };
    // records_ in 8-byte words: a file's record and name share a cache line
    // or two, so a look-up that finds it touches little else.
    static constexpr size_t kEntryWords = sizeof(TEntry) / 8;
    static size_t wordsOf(size_t Length) { return kEntryWords + (Length + 7) / 8; }

    TEntry& entryAt(uint64_t At) { return *reinterpret_cast<TEntry*>(&records_[At]); }
    const TEntry& entryAt(uint64_t At) const { return *reinterpret_cast<const TEntry*>(&records_[At]); }
    std::string_view nameAt(uint64_t At) const {
        return {reinterpret_cast<const char*>(&records_[At + kEntryWords]), entryAt(At).Length};
    }
    // Calls Fn(Entry, At) for every record, in the order added.
    template <typename TFn>
    void forEach(TFn Fn) {
        for (uint64_t at = 0; at < records_.size(); at += wordsOf(entryAt(at).Length)) Fn(entryAt(at), at);
    }
    template <typename TFn>
    void forEach(TFn Fn) const {
        for (uint64_t at = 0; at < records_.size(); at += wordsOf(entryAt(at).Length)) Fn(entryAt(at), at);
    }
    TEntry* find(std::string_view Name);
    const TEntry* find(std::string_view Name) const;
    // The record of Name (of that Hash), or the slot where it would go.
    const TEntry* find(std::string_view Name, uint64_t Hash, size_t& Slot) const;
    TEntry& add(std::string_view Name);
    TEntry& add(std::string_view Name, uint64_t Hash);
    // Room for Extra more names without growing.
    void reserve(size_t Extra);
    void grow();
    // A million names in random order: each look-up would wait for memory
    // on its own, so they go in batches whose slots are fetched together.
    struct TBatch;
    void prefetch(const TBatch& Batch) const;
    // A status call: the file's size when it is a plain file (links followed), else -1.
    int64_t sizeOf(std::string_view Name) const;
    void lookAt(TEntry& Entry, uint64_t At);

    AnsiString folder_;
    std::vector<uint64_t> records_;
    size_t count_ = 0;
    // Open addressing: the name's hash in the high half, its record's
    // place + 1 in the low half; 0 when free.
    std::vector<uint64_t> slots_;
};
