#pragma once
// A program folder as the client leaves it after fetching recordings: a
// "files" folder of stored (enciphered) GSM recordings and a "data.db" whose
// Files rows name them, plus address-book entries. For tests, benchmarks and
// trying the client by hand.
#include <string>
#include <vector>

namespace devicesim {

struct TStoreOptions {
    int Count = 0;            // recordings
    int Milliseconds = 1000;  // length of each
    // Calls 7 minutes apart, the newest last; 0: from 2024-03-01 08:00:00
    // on, else ending at this many seconds since the epoch (local time).
    long long NewestCall = 0;
    int StepSeconds = 7 * 60;
    // Files of one content share one inode (hard links): 100 000 of them
    // then cost no disk space. Off: each is a file of its own.
    bool LinkFiles = true;
    // Above the recording's own size: every file is this long, the
    // recording followed by a hole (sparse on most file systems), so that a
    // store of many gigabytes takes next to no disk.
    long long FileBytes = 0;
    // Address-book entries for User over the numbers the calls use.
    int AddressBookEntries = 0;
    std::string User = "admin";
};

// What call i of a fixture looks like; the same for every folder.
struct TStoreCall {
    std::string Name;  // the device's file name
    std::string AbA, AbB;
    bool Trunk = false;  // over an outside line ("_M_" in the name)
};
TStoreCall StoreCall(int Index, const TStoreOptions& Options);

// Writes folder/files/ and folder/data.db (made as the client makes it) with
// Options.Count recordings; folder ends with "/". Returns the file names in
// the order written. Throws std::runtime_error on failure.
std::vector<std::string> WriteStoredRecordings(const std::string& Folder, const TStoreOptions& Options);

}  // namespace devicesim
