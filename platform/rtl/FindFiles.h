#pragma once
// Folder listing with the Windows rules: masks with '*' and '?' compared
// without regard to case ("*" and "*.*" match every name), names starting
// with '.' count as hidden, plain files are always listed, folders, hidden
// and system entries only when the attribute mask asks for them; "." and
// ".." come with the folders.
#include "rtl/AnsiString.h"

#include <cstdint>
#include <memory>

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;  // devices, sockets, pipes
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;  // every plain file
constexpr int faAnyFile = 0x3F;

// Results of FindFirst/FindNext (0 = found).
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_NO_MORE_FILES = 18;

struct TFindState;

// One found entry. It owns the open listing, which FindClose or the
// record's destruction releases.
struct TSearchRec {
    TSearchRec();
    ~TSearchRec();
    TSearchRec(TSearchRec&&) noexcept;
    TSearchRec& operator=(TSearchRec&&) noexcept;

    int Time = 0;  // packed file date (FileDateToDateTime)
    std::int64_t Size = 0;
    int Attr = 0;
    AnsiString Name;
    int ExcludeAttr = 0;
    std::unique_ptr<TFindState> FindHandle;
};

// Path is a folder and a mask ("files/*.wav").
int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// The mask rule of FindFirst for one name.
bool MatchesMask(const AnsiString& FileName, const AnsiString& Mask);

// The attributes FindFirst would report; -1 when the entry is missing.
int FileGetAttr(const AnsiString& FileName);
