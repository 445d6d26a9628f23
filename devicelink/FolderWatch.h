#pragma once
// The names in one folder that something made, removed, renamed or finished
// writing since a moment: a run lists "files" once and, at its end, looks
// again only at what changed meanwhile (the run's own downloads, an import,
// a user's delete). When a change may have gone unseen (the kernel's queue
// ran over, the folder itself moved, no watch could be set) it says so, and
// the folder is to be listed anew.
#include "rtl/AnsiString.h"
#include "rtl/FileDescriptor.h"

#include <mutex>
#include <set>
#include <string>
#include <vector>

class TFolderWatch {
public:
    // Watches Folder from now on.
    explicit TFolderWatch(const AnsiString& Folder);
    TFolderWatch(const TFolderWatch&) = delete;
    TFolderWatch& operator=(const TFolderWatch&) = delete;

    // Takes in what the kernel holds so far, so that its queue never runs
    // over on a long run. Any thread.
    void Collect();
    // The names changed so far, as the file system has them; false when
    // something may have changed unseen.
    bool Changes(std::vector<std::string>& Names);

private:
    std::mutex mu_;
    TUniqueFd fd_;
    bool whole_ = false;
    std::set<std::string> changed_;
};
