#include "classes/ResourceStream.h"

#include <map>
#include <mutex>

YORDE_IMPLEMENT_CLASS(TResourceStream, [](TClassBuilder<TResourceStream>&) {})

namespace {

// Resource names are ASCII identifiers; fold ASCII letters only.
AnsiString resourceKey(const AnsiString& name) {
    AnsiString key = name;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = char(c - ('a' - 'A'));
    return key;
}

// Built on first use: registrations run during static initialisation.
struct Table {
    std::mutex mutex;
    std::map<AnsiString, TResourceEntry> entries;
};

Table& table() {
    static Table t;
    return t;
}

}  // namespace

void RegisterResource(const AnsiString& Name, const void* Data, size_t Size) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    t.entries[resourceKey(Name)] = TResourceEntry{Data, Size};
}

void UnregisterResource(const AnsiString& Name) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    t.entries.erase(resourceKey(Name));
}

std::optional<TResourceEntry> FindResource(const AnsiString& Name) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.entries.find(resourceKey(Name));
    if (it == t.entries.end()) return std::nullopt;
    return it->second;
}

TResourceStream::TResourceStream(const AnsiString& ResName) {
    const std::optional<TResourceEntry> res = FindResource(ResName);
    if (!res) throw EResNotFound("Resource " + ResName + " not found");
    // Never written through: Write refuses.
    SetPointer(const_cast<void*>(res->Data), int64_t(res->Size));
}

int64_t TResourceStream::Write(const void* /*Buffer*/, int64_t /*Count*/) {
    throw EStreamError("Can't write to a read-only resource stream");
}
