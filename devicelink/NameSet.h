#pragma once
// File names read once and looked up many times: a sorted list (a hundred
// thousand names take a few MB and no hashing), plus the few a run adds.
#include "rtl/AnsiString.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

class TNameSet {
public:
    TNameSet() = default;
    explicit TNameSet(std::vector<AnsiString> Names) : Sorted(std::move(Names)) {
        std::sort(Sorted.begin(), Sorted.end());
    }
    bool Contains(const AnsiString& Name) const {
        return Added.count(Name) || std::binary_search(Sorted.begin(), Sorted.end(), Name);
    }
    void Insert(const AnsiString& Name) {
        if (!std::binary_search(Sorted.begin(), Sorted.end(), Name)) Added.insert(Name);
    }
    void Erase(const AnsiString& Name) {
        Added.erase(Name);
        const auto at = std::lower_bound(Sorted.begin(), Sorted.end(), Name);
        if (at != Sorted.end() && *at == Name) Sorted.erase(at);
    }
    // The sorted names read at the start, less those erased since.
    const std::vector<AnsiString>& Initial() const { return Sorted; }
    void Clear() {
        Sorted = {};
        Added = {};
    }

private:
    std::vector<AnsiString> Sorted;
    std::unordered_set<AnsiString> Added;
};
