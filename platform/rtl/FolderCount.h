#pragma once
// How many entries of a folder have names that match a mask (FindFirst's
// rule, entries of every kind), counted from the names alone and counted
// again only when the folder has changed since.
#include "rtl/AnsiString.h"

class TFolderMatchCount {
public:
    // Path is a folder and a mask ("files/*.wav"). A folder changed less
    // than SettleSeconds before it was read may have changed again within
    // its clock's step, which its times would not show: it is read again.
    explicit TFolderMatchCount(const AnsiString& Path, double SettleSeconds = 3);

    // The count now; 0 when the folder is missing or cannot be read.
    int Count();
    // How often the folder has been read so far.
    int Readings() const { return readings_; }

private:
    // What changes whenever a name comes or goes (or the folder is another).
    struct TStamp {
        bool Exists = false;
        unsigned long long Device = 0, Inode = 0, Links = 0, Size = 0;
        long long Modified = 0, Changed = 0;  // nanoseconds since the epoch
        bool operator==(const TStamp&) const = default;
    };
    TStamp stampNow() const;
    int read() const;

    AnsiString folder_;
    AnsiString mask_;
    long long settleNs_;
    bool known_ = false;  // count_ holds for stamp_
    TStamp stamp_;
    int count_ = 0;
    int readings_ = 0;
};
