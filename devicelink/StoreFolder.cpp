#include "devicelink/StoreFolder.h"

#include "devicelink/PartFile.h"
#include "devicelink/PlainFiles.h"
#include "rtl/CodePages.h"
#include "rtl/FileDescriptor.h"
#include "store/Recordings.h"
#include "store/SqliteStatement.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>

bool IsQuotaName(std::string_view Name) {
    if (Name.size() < 4) return false;
    const std::string_view ext = Name.substr(Name.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'w' && (ext[2] | 0x20) == 'a' && (ext[3] | 0x20) == 'v';
}

namespace {

uint64_t HashOf(std::string_view Name) { return std::hash<std::string_view>()(Name); }

// The half of the hash that does not pick the slot, kept in it: never 0,
// so a used slot never reads as free.
uint64_t Tag(uint64_t Hash) { return ((Hash >> 32) | 1) << 32; }

}  // namespace

// Names waiting for their look-up, and their hashes.
struct TStoreFolder::TBatch {
    static constexpr size_t kSize = 32;
    std::string Text;  // the names, one after the other
    std::vector<size_t> Ends;
    std::vector<uint64_t> Hashes;
    std::vector<int64_t> Values;  // what comes with each name
    std::string_view Name(size_t I) const {
        const size_t from = I == 0 ? 0 : Ends[I - 1];
        return std::string_view(Text).substr(from, Ends[I] - from);
    }
    size_t Size() const { return Ends.size(); }
    bool Full() const { return Ends.size() == kSize; }
    void Add(std::string_view Name, int64_t Value) {
        Text.append(Name);
        Ends.push_back(Text.size());
        Hashes.push_back(HashOf(Name));
        Values.push_back(Value);
    }
    void Clear() {
        Text.clear();
        Ends.clear();
        Hashes.clear();
        Values.clear();
    }
};

void TStoreFolder::prefetch(const TBatch& Batch) const {
    const size_t mask = slots_.size() - 1;
    for (uint64_t hash : Batch.Hashes) __builtin_prefetch(&slots_[hash & mask]);
}

bool TStoreFolder::Read(const AnsiString& Folder) {
    folder_ = Folder;
    // What a listed name brings: its status's size, or -1 without one.
    TBatch batch;
    auto flush = [&] {
        reserve(batch.Size());
        prefetch(batch);
        for (size_t i = 0; i < batch.Size(); ++i) {
            const std::string_view name = batch.Name(i);
            TEntry& entry = add(name, batch.Hashes[i]);
            entry.Flags |= kListed;
            if (IsQuotaName(name)) entry.Flags |= kCounts;
            // Most names are recordings: they are let go before any closer look.
            if ((name.front() == '.' || name.ends_with(kPartSuffix)) && IsStoreLeftover(AnsiString(name)))
                entry.Flags |= kLeftover;
            if (batch.Values[i] >= 0) {
                entry.Flags |= kLink | kExact;
                entry.Bytes = batch.Values[i];
            }
        }
        batch.Clear();
    };
    const bool whole = ForEachPlainFile(folder_, false, [&](std::string_view OsName, const struct stat* Status) {
        batch.Add(IsAsciiName(OsName) ? OsName : std::string_view(PlainFileName(OsName)),
                  Status ? int64_t(Status->st_size) : -1);
        if (batch.Full()) flush();
    });
    flush();
    return whole;
}

void TStoreFolder::MatchRows(SqliteDb& Db, std::vector<AnsiString>& Missing) {
    // Czas as written: a whole number of seconds, -1 for anything else.
    SqliteStatement rows(Db,
                         "SELECT Filename, CASE WHEN typeof(Czas) = 'integer' AND Czas >= 0 THEN Czas ELSE -1 END "
                         "FROM Files;");
    constexpr int64_t kMostSeconds = std::numeric_limits<int64_t>::max() / RecordingBytesPerSecond - 1;
    TBatch batch;
    auto match = [&] {
        prefetch(batch);
        // The records the slots point to, fetched together in turn.
        const size_t mask = slots_.size() - 1;
        for (size_t i = 0; !slots_.empty() && i < batch.Size(); ++i) {
            const uint64_t tag = Tag(batch.Hashes[i]);
            for (size_t at = batch.Hashes[i] & mask; slots_[at] != 0; at = (at + 1) & mask)
                if ((slots_[at] & ~uint64_t(0xffffffff)) == tag) {
                    __builtin_prefetch(&records_[(slots_[at] & 0xffffffff) - 1]);
                    break;
                }
        }
        for (size_t i = 0; i < batch.Size(); ++i) {
            size_t slot = 0;
            TEntry* entry = const_cast<TEntry*>(find(batch.Name(i), batch.Hashes[i], slot));
            if (!entry || (entry->Flags & (kListed | kLeftover)) != kListed) {
                Missing.emplace_back(batch.Name(i));
                continue;
            }
            entry->Flags |= kRegistered;
            if (entry->Flags & kExact) continue;
            const int64_t seconds = batch.Values[i];
            if (seconds < 0 || seconds > kMostSeconds) {
                entry->Flags |= kLookAgain;
                continue;
            }
            // Two rows of one name: the larger bound holds for both.
            const int64_t most = seconds * RecordingBytesPerSecond + RecordingBytesPerSecond - 1;
            if (!(entry->Flags & kBound) || entry->Bytes < most) entry->Bytes = most;
            entry->Flags |= kBound;
        }
        batch.Clear();
    };
    while (rows.Step()) {
        batch.Add(rows.ColumnView(0), rows.ColumnInt64(1));
        if (batch.Full()) match();
    }
    match();
    forEach([&](TEntry& entry, uint64_t at) {
        if ((entry.Flags & kCounts) && !(entry.Flags & kExact) &&
            (!(entry.Flags & kBound) || (entry.Flags & kLookAgain)))
            lookAt(entry, at);
    });
}

size_t TStoreFolder::CountUnregistered() const {
    size_t count = 0;
    forEach([&](const TEntry& entry, uint64_t) {
        if ((entry.Flags & (kListed | kLeftover | kRegistered)) == kListed) ++count;
    });
    return count;
}

bool TStoreFolder::IsRegistered(const AnsiString& Name) const {
    const TEntry* entry = find(Name);
    return entry && (entry->Flags & kRegistered);
}

std::vector<AnsiString> TStoreFolder::Leftovers() const {
    std::vector<AnsiString> names;
    forEach([&](const TEntry& entry, uint64_t at) {
        if ((entry.Flags & (kListed | kLeftover)) == (kListed | kLeftover)) names.emplace_back(nameAt(at));
    });
    return names;
}

void TStoreFolder::AddRegistered(const AnsiString& Name) { add(Name).Flags |= kRegistered; }

void TStoreFolder::Refresh(const std::vector<std::string>& OsNames) {
    for (const std::string& os : OsNames) {
        const AnsiString name = PlainFileName(os);
        if (IsQuotaName(name)) add(name).Flags |= kCounts | kLookAgain;
    }
    forEach([&](TEntry& entry, uint64_t at) {
        if ((entry.Flags & kCounts) && (entry.Flags & (kLink | kLookAgain))) lookAt(entry, at);
    });
}

int64_t TStoreFolder::MostBytes() const {
    int64_t sum = 0;
    bool huge = false;
    forEach([&](const TEntry& entry, uint64_t) {
        if ((entry.Flags & (kListed | kCounts)) != (kListed | kCounts)) return;
        if (entry.Bytes > std::numeric_limits<int64_t>::max() - sum) huge = true;
        if (!huge) sum += entry.Bytes;
    });
    return huge ? std::numeric_limits<int64_t>::max() : sum;
}

int64_t TStoreFolder::ExactBytes() {
    const TUniqueFd folder(::open(ToOsText(folder_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::string path;
    forEach([&](TEntry& entry, uint64_t at) {
        if ((entry.Flags & (kListed | kCounts)) != (kListed | kCounts) || (entry.Flags & kExact)) return;
        // Most names are plain ASCII: the file system's text as it is.
        const std::string_view name = nameAt(at);
        path.assign(name);
        if (!IsAsciiName(name)) path = ToOsText(path);
        struct stat st {};
        const bool plain = folder && ::fstatat(folder.Get(), path.c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
        entry.Flags = uint8_t((entry.Flags & ~(kLookAgain | kBound)) | kExact);
        if (!plain) entry.Flags &= uint8_t(~kListed);
        entry.Bytes = plain ? int64_t(st.st_size) : 0;
    });
    return MostBytes();
}

void TStoreFolder::lookAt(TEntry& Entry, uint64_t At) {
    const int64_t size = sizeOf(nameAt(At));
    Entry.Flags = uint8_t((Entry.Flags & ~(kLookAgain | kBound)) | kExact);
    if (size < 0) {
        Entry.Flags &= uint8_t(~kListed);
        Entry.Bytes = 0;
    } else {
        Entry.Flags |= kListed;
        Entry.Bytes = size;
    }
}

int64_t TStoreFolder::sizeOf(std::string_view Name) const {
    struct stat st {};
    const std::string path = ToOsText(folder_ + AnsiString(Name));
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return int64_t(st.st_size);
}

// ---------------------------------------------------------------------------
// The table

TStoreFolder::TEntry* TStoreFolder::find(std::string_view Name) {
    return const_cast<TEntry*>(static_cast<const TStoreFolder*>(this)->find(Name));
}

const TStoreFolder::TEntry* TStoreFolder::find(std::string_view Name) const {
    size_t slot = 0;
    return find(Name, HashOf(Name), slot);
}

const TStoreFolder::TEntry* TStoreFolder::find(std::string_view Name, uint64_t Hash, size_t& Slot) const {
    if (slots_.empty()) return nullptr;
    const uint64_t tag = Tag(Hash);
    const size_t mask = slots_.size() - 1;
    for (Slot = Hash & mask;; Slot = (Slot + 1) & mask) {
        const uint64_t slot = slots_[Slot];
        if (slot == 0) return nullptr;
        if ((slot & ~uint64_t(0xffffffff)) != tag) continue;
        const uint64_t record = (slot & 0xffffffff) - 1;
        if (nameAt(record) == Name) return &entryAt(record);
    }
}

TStoreFolder::TEntry& TStoreFolder::add(std::string_view Name) {
    reserve(1);
    return add(Name, HashOf(Name));
}

TStoreFolder::TEntry& TStoreFolder::add(std::string_view Name, uint64_t Hash) {
    size_t slot = 0;
    if (const TEntry* entry = find(Name, Hash, slot)) return *const_cast<TEntry*>(entry);
    const uint64_t at = records_.size();
    if (at + wordsOf(Name.size()) >= (uint64_t(1) << 32) - 1) throw std::length_error("too many files to list");
    records_.resize(at + wordsOf(Name.size()), 0);
    TEntry& entry = entryAt(at);
    entry.Length = uint32_t(Name.size());
    std::memcpy(&records_[at + kEntryWords], Name.data(), Name.size());
    slots_[slot] = Tag(Hash) | (at + 1);
    ++count_;
    return entry;
}

void TStoreFolder::reserve(size_t Extra) {
    // At most half full: probes stay short.
    while ((count_ + Extra) * 2 > slots_.size()) grow();
}

void TStoreFolder::grow() {
    std::vector<uint64_t> slots(std::max<size_t>(1024, slots_.size() * 2), 0);
    const size_t mask = slots.size() - 1;
    forEach([&](const TEntry&, uint64_t at) {
        const uint64_t hash = HashOf(nameAt(at));
        size_t slot = hash & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = Tag(hash) | (at + 1);
    });
    slots_.swap(slots);
}
