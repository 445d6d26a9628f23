#pragma once
// The names a sync run holds as stored: those the files folder's listing
// found registered, and those the run adds or takes back since. The run's
// downloads and its registration use it on their own threads.
#include "devicelink/StoreFolder.h"
#include "rtl/AnsiString.h"

#include <mutex>
#include <unordered_set>

class TNameSet {
public:
    // Starts from what Folder found registered (none when null); Folder
    // stays unchanged while this refers to it.
    void Reset(const TStoreFolder* Folder_) {
        std::lock_guard lk(Mu);
        Folder = Folder_;
        Added.clear();
        Erased.clear();
    }
    bool Contains(const AnsiString& Name) const {
        std::lock_guard lk(Mu);
        return !Erased.count(Name) && (Added.count(Name) || (Folder && Folder->IsRegistered(Name)));
    }
    void Insert(const AnsiString& Name) {
        std::lock_guard lk(Mu);
        Erased.erase(Name);
        if (!Folder || !Folder->IsRegistered(Name)) Added.insert(Name);
    }
    void Erase(const AnsiString& Name) {
        std::lock_guard lk(Mu);
        Added.erase(Name);
        Erased.insert(Name);
    }

private:
    mutable std::mutex Mu;
    const TStoreFolder* Folder = nullptr;
    std::unordered_set<AnsiString> Added;
    std::unordered_set<AnsiString> Erased;
};
