#pragma once
// A download's file: written as "<target>.part" beside its place and moved
// there only once it is whole and on the disk, so "files" never holds half a
// recording, not even after a crash. And what a crash leaves of such files.
#include "rtl/AnsiString.h"
#include "rtl/Exceptions.h"

#include <cstdint>
#include <functional>
#include <vector>

// The disk is full (or nearly: below the 10 MiB a run keeps free).
YORDE_DECLARE_EXCEPTION(ENoSpaceLeft, Exception)

// The suffix of a file being downloaded.
inline constexpr char kPartSuffix[] = ".part";

class TPartFile {
public:
    // Creates (or empties) Target + ".part". EFCreateError when it cannot.
    explicit TPartFile(AnsiString Target);
    // Removes the .part file unless it was committed.
    ~TPartFile();
    TPartFile(const TPartFile&) = delete;
    TPartFile& operator=(const TPartFile&) = delete;

    // Empty again, for the next attempt.
    void Restart();
    // EWriteError, or ENoSpaceLeft for a full disk.
    void Write(const char* Data, size_t Size);
    int64_t Size() const { return written_; }
    // Flushes the bytes to the disk and checks that the file holds all of
    // them. EWriteError when it fails.
    void Flush();
    // Renames the file over Target. EWriteError when it fails (the .part
    // file is then removed).
    void MoveIntoPlace();

private:
    AnsiString target_;
    std::string partPath_;  // in the file system's text
    int fd_ = -1;
    int64_t written_ = 0;
    bool committed_ = false;
};

// Flushes every file; the flushes run side by side, so that the file system
// can write them in one go. The message of each failure, empty for success.
std::vector<AnsiString> FlushPartFiles(const std::vector<TPartFile*>& Files);

// What a kill or a crash leaves in "files" of a file being written there: a
// download's "<recording>.part", or the hidden copy ".<recording>.XXXXXX"
// a whole-file write makes (rtl/AtomicFile.h). Whether Name is such a file.
bool IsStoreLeftover(const AnsiString& Name);

using TLeftoverLog = std::function<void(const AnsiString& Line)>;

// Removes the leftovers Names from Folder (ending in "/"), each only when it
// is a plain file of this user's, never a link. Log gets a line naming each
// file removed, and one with the number of unfinished downloads among them.
// Returns the number removed. Only while nothing writes there: a file being
// written looks the same.
int RemoveLeftovers(const AnsiString& Folder, const std::vector<AnsiString>& Names, const TLeftoverLog& Log);
// The same for every file in Folder that IsLeftover accepts, for a name
// that starts with "." or ends in ".part" (the forms of both kinds).
int RemoveLeftovers(const AnsiString& Folder, const std::function<bool(const AnsiString& Name)>& IsLeftover,
                    const TLeftoverLog& Log);

// Makes the renames into Folder durable: after MoveIntoPlace, before the rows.
void SyncPartFolder(const AnsiString& Folder);

// Tests see, on any thread, each step that makes a download durable, with
// the target's name: "sync" (Flush), "rename" (MoveIntoPlace) and "syncdir"
// (SyncPartFolder, with the folder's name). An empty function ends it.
void SetPartFileObserver(std::function<void(const char* Step, const AnsiString& Name)> Observer);
