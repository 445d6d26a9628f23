#pragma once
// Replacing a whole file so that readers see the old content or the new,
// never a part: the bytes go to a hidden temporary file beside the target
// (".name.XXXXXX", made exclusively, so never through a link someone left
// there), which is renamed over the target once complete. A failure at any
// step leaves the target as it was and removes the temporary file.
#include "rtl/AnsiString.h"
#include "rtl/FileDescriptor.h"

#include <string>
#include <string_view>

struct TAtomicWriteOptions {
    // Permission bits of a new file; the umask applies. 0600: for the owner only.
    unsigned NewMode = 0666;
    // An existing file keeps its permission bits; false gives it NewMode too.
    bool KeepMode = true;
    // A symbolic link at the name. false: the file it points at is replaced
    // and the link keeps pointing at it. true: the link itself is replaced by
    // the new file, so nothing is written where a link left in the way points.
    bool ReplaceLink = false;
    // Fail with EEXIST when the name exists (a link included) instead of
    // replacing it.
    bool NoReplace = false;
    // The file's bytes reach the disk before the rename, and the folder's
    // entry after it, so a power cut leaves the old content or the new.
    bool Sync = true;
};

// The temporary file of one replacement. Write to it (Write, or Fd for
// libraries that write to a descriptor), then Commit. Without a successful
// Commit the temporary file is removed and the target stays untouched.
class TAtomicFile {
public:
    // OsName is the target as the file system spells it (UTF-8).
    explicit TAtomicFile(const std::string& OsName, const TAtomicWriteOptions& Options = {});
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // The temporary file's descriptor; -1 when it could not be made.
    int Fd() const { return fd_.Get(); }
    // Appends every byte; a failure is kept and makes Commit fail.
    bool Write(std::string_view Bytes);
    // Moves the complete file into place. 0, or the errno of the first step
    // that failed (the earlier ones included).
    int Commit();
    // 0 or the errno of the first failure so far.
    int Error() const { return error_; }
    // Whether that failure was in making the file (the temporary file, or
    // the rename into place) rather than in writing it.
    bool FailedCreating() const { return failedCreating_; }

private:
    int Fail(int err, bool creating);

    TAtomicWriteOptions options_;
    std::string target_;
    std::string temp_;  // empty once renamed, or when never made
    TUniqueFd fd_;
    int error_ = 0;
    bool failedCreating_ = false;
    bool committed_ = false;
};

// The name of the target whose temporary file Name (a name without its
// folder) is: "x" for ".x.Ab12Cd", the form TAtomicFile gives it; empty when
// Name is no such name. Only a kill or a crash keeps such a file.
std::string AtomicFileTarget(std::string_view Name);

// The whole new content of FileName (an ANSI text, converted for the file
// system). EFCreateError when the file cannot be made or moved into place,
// EWriteError when writing it fails; the messages carry the system's reason.
void WriteFileAtomically(const AnsiString& FileName, std::string_view Bytes, const TAtomicWriteOptions& Options = {});
bool TryWriteFileAtomically(const AnsiString& FileName, std::string_view Bytes,
                            const TAtomicWriteOptions& Options = {}) noexcept;
