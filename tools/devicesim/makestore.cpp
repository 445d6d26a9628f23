// makestore FOLDER COUNT [MILLISECONDS [ADDRESS_BOOK_ENTRIES [USER [FILE_BYTES]]]]
// Prepares a program folder with COUNT stored recordings (calls 7 minutes
// apart, the newest now) and their data.db, for trying the client by hand;
// with FILE_BYTES each file is that long (the rest a hole), for the quota.
#include "SimStore.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT [MILLISECONDS [ADDRESS_BOOK_ENTRIES [USER [FILE_BYTES]]]]\n",
                     argv[0]);
        return 2;
    }
    devicesim::TStoreOptions options;
    options.Count = std::atoi(argv[2]);
    if (argc > 3) options.Milliseconds = std::atoi(argv[3]);
    if (argc > 4) options.AddressBookEntries = std::atoi(argv[4]);
    if (argc > 5) options.User = argv[5];
    if (argc > 6) options.FileBytes = std::atoll(argv[6]);
    options.NewestCall = std::time(nullptr);
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '/') folder += '/';
    try {
        const auto names = devicesim::WriteStoredRecordings(folder, options);
        std::printf("%zu recordings in %sfiles\n", names.size(), folder.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
