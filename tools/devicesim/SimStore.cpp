#include "SimStore.h"

#include "SimRecordings.h"
#include "store/LocalDatabases.h"
#include "store/RecordingRegister.h"
#include "store/SqliteDb.h"
#include "store/SqliteTransaction.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace devicesim {

namespace {

namespace fs = std::filesystem;

constexpr int kLinksPerCopy = 30000;

struct TCallTime {
    int Year, Month, Day, Hour, Minute, Second;
};

TCallTime CallTime(int Index, const TStoreOptions& Options) {
    std::tm tm{};
    if (Options.NewestCall == 0) {
        tm.tm_year = 2024 - 1900;
        tm.tm_mon = 2;
        tm.tm_mday = 1;
        tm.tm_hour = 8;
        const std::time_t start = timegm(&tm) + std::time_t(Index) * Options.StepSeconds;
        gmtime_r(&start, &tm);
    } else {
        const std::time_t t =
            std::time_t(Options.NewestCall) - std::time_t(Options.Count - 1 - Index) * Options.StepSeconds;
        localtime_r(&t, &tm);
    }
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// The numbers of the calls: ten extensions 201..210 calling each other, and
// every third call to or from an outside number.
std::string Extension(int Index) { return std::to_string(201 + Index % 10); }
std::string Outside(int Index) { return "601" + std::to_string(100000 + Index % 1000); }

}  // namespace

TStoreCall StoreCall(int Index, const TStoreOptions& Options) {
    TStoreCall c;
    c.Trunk = Index % 3 == 0;
    c.AbA = Extension(Index);
    c.AbB = c.Trunk ? Outside(Index) : Extension(Index * 7 + 3);
    if (Index % 6 == 3) std::swap(c.AbA, c.AbB);  // some outside calls come in
    const TCallTime t = CallTime(Index, Options);
    c.Name = RecordingName(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second, c.AbA, c.AbB);
    if (c.Trunk) c.Name.replace(c.Name.size() - 4, 4, "M_.wav");
    return c;
}

std::vector<std::string> WriteStoredRecordings(const std::string& Folder, const TStoreOptions& Options) {
    const fs::path files = fs::path(Folder) / "files";
    fs::create_directories(files);
    const TDbPreparation prepared = PrepareLocalDatabases(Folder);
    if (prepared.ExitCode != DB_READY) throw std::runtime_error("cannot prepare data.db: " + prepared.Detail);

    const std::string stored = EncipherRecording(MakeGsmWav(Options.Milliseconds));
    const auto fileBytes = std::max<std::uintmax_t>(stored.size(), std::uintmax_t(std::max(0LL, Options.FileBytes)));
    // A copy writes every byte, holes included: each file is written anew.
    const auto write = [&](const fs::path& path) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(stored.data(), std::streamsize(stored.size()));
            if (!out) throw std::runtime_error("cannot write " + path.string());
        }
        if (fileBytes > stored.size()) fs::resize_file(path, fileBytes);
    };
    const fs::path first = files / ".fixture-content.wav.part";
    write(first);

    SqliteDb db;
    db.Open(Folder + "data.db");
    SqliteTransaction transaction(db);
    TRecordingRegister recordings(db);
    std::vector<std::string> names;
    names.reserve(size_t(Options.Count));
    for (int i = 0; i < Options.Count; ++i) {
        const TStoreCall call = StoreCall(i, Options);
        const fs::path target = files / call.Name;
        fs::remove(target);
        if (Options.LinkFiles) {
            // File systems cap the links of one inode (65 000 on ext4): a
            // fresh copy of the content every so often.
            if (i > 0 && i % kLinksPerCopy == 0) {
                fs::remove(first);
                write(first);
            }
            fs::create_hard_link(first, target);
        } else
            write(target);
        // Registered as the client registers a fetched file.
        recordings.Register(call.Name, std::int64_t(fileBytes));
        names.push_back(call.Name);
    }
    for (int i = 0; i < Options.AddressBookEntries; ++i) {
        // The extensions first, then outside numbers.
        const std::string number = i < 10 ? Extension(i) : Outside(i - 10);
        db.ExecDml("INSERT INTO AddressBook(user, nr, opis) VALUES(?, ?, ?);",
                   {Options.User, number, "Contact " + std::to_string(i) + " (" + number + ")"});
    }
    transaction.Commit();
    fs::remove(first);
    return names;
}

}  // namespace devicesim
