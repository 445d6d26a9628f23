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
    void Reset(const TStoreFolder* Folder) {
        std::lock_guard lk(mu_);
        folder_ = Folder;
        added_.clear();
        erased_.clear();
    }
    bool Contains(const AnsiString& Name) const {
        std::lock_guard lk(mu_);
        return !erased_.count(Name) && (added_.count(Name) || (folder_ && folder_->IsRegistered(Name)));
    }
    void Insert(const AnsiString& Name) {
        std::lock_guard lk(mu_);
        erased_.erase(Name);
        if (!folder_ || !folder_->IsRegistered(Name)) added_.insert(Name);
    }
    void Erase(const AnsiString& Name) {
        std::lock_guard lk(mu_);
        added_.erase(Name);
        erased_.insert(Name);
    }

private:
    mutable std::mutex mu_;
    const TStoreFolder* folder_ = nullptr;
    std::unordered_set<AnsiString> added_;
    std::unordered_set<AnsiString> erased_;
};
