#include "rtl/AtomicFile.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// mkostemp() puts six letters or digits in place of the X's.
constexpr std::string_view kTempSuffix = ".XXXXXX";

// The process's umask, read without changing it (umask() would, for a
// moment, on every thread).
mode_t CurrentUmask() {
    const std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen("/proc/self/status", "re"), &std::fclose);
    unsigned mask = 022;
    char line[256];
    while (f && std::fgets(line, sizeof line, f.get()))
        if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
    return mode_t(mask);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Moves from to to unless to exists: RENAME_NOREPLACE where the file system
// has it, else a hard link, which fails on an existing name as well.
int MoveNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

// The rename is done by now; a folder that cannot be synced (some file
// systems refuse) does not make the replacement a failure.
void SyncFolder(const std::string& folder) {
    TUniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) (void)::fsync(dir.Get());
}

AnsiString ErrorText(int err) { return FromOsText(std::strerror(err)); }

}  // namespace

TAtomicFile::TAtomicFile(const std::string& OsName, const TAtomicWriteOptions& Options)
    : options_(Options), target_(OsName) {
    struct stat st;
    const bool isLink = ::lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    if (isLink && !options_.ReplaceLink) {
        // A dangling link has no real path: it is then replaced itself.
        if (char* real = ::realpath(target_.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    if (options_.NoReplace && ::lstat(target_.c_str(), &st) == 0) {
        Fail(EEXIST, true);
        return;
    }
    const std::string folder = FolderOf(target_);
    temp_ = folder + "." + target_.substr(folder.size()) + std::string(kTempSuffix);
    fd_.Reset(::mkostemp(temp_.data(), O_CLOEXEC));
    if (!fd_) {
        temp_.clear();
        Fail(errno, true);
        return;
    }
    // Only a regular file hands on its permissions, never what a link points at
    // when the link is to be replaced.
    const bool existing = (options_.ReplaceLink ? ::lstat(target_.c_str(), &st) : ::stat(target_.c_str(), &st)) == 0 &&
                          S_ISREG(st.st_mode);
    const mode_t mode =
        existing && options_.KeepMode ? st.st_mode & 07777 : mode_t(options_.NewMode & 07777) & ~CurrentUmask();
    if (::fchmod(fd_.Get(), mode) != 0) Fail(errno, false);
}

TAtomicFile::~TAtomicFile() {
    fd_.Close();
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

int TAtomicFile::Fail(int err, bool creating) {
    if (error_ == 0) {
        error_ = err != 0 ? err : EIO;
        failedCreating_ = creating;
    }
    return error_;
}

bool TAtomicFile::Write(std::string_view Bytes) {
    if (error_ != 0) return false;
    if (!WriteAll(fd_.Get(), Bytes)) return Fail(errno, false), false;
    return true;
}

int TAtomicFile::Commit() {
    if (committed_ || error_ != 0) return error_;
    if (options_.Sync && ::fsync(fd_.Get()) != 0) return Fail(errno, false);
    if (fd_.Close() != 0) return Fail(errno, false);
    const int err = options_.NoReplace ? MoveNoReplace(temp_, target_)
                                       : (::rename(temp_.c_str(), target_.c_str()) == 0 ? 0 : errno);
    // A target that cannot be replaced (a folder, a read-only place) could not be made.
    if (err != 0) return Fail(err, true);
    temp_.clear();
    committed_ = true;
    if (options_.Sync) SyncFolder(FolderOf(target_));
    return 0;
}

std::string AtomicFileTarget(std::string_view Name) {
    const std::size_t random = kTempSuffix.size() - 1;
    if (Name.size() < kTempSuffix.size() + 2 || Name.front() != '.') return std::string();
    const std::string_view suffix = Name.substr(Name.size() - kTempSuffix.size());
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    if (suffix.front() != '.' || !std::all_of(suffix.end() - random, suffix.end(), letterOrDigit)) return std::string();
    return std::string(Name.substr(1, Name.size() - 1 - kTempSuffix.size()));
}

void WriteFileAtomically(const AnsiString& FileName, std::string_view Bytes, const TAtomicWriteOptions& Options) {
    TAtomicFile file(ToOsText(FileName), Options);
    file.Write(Bytes);
    const int err = file.Commit();
    if (err == 0) return;
    if (file.FailedCreating()) throw EFCreateError("Cannot create file " + FileName + ": " + ErrorText(err));
    throw EWriteError("Cannot write file " + FileName + ": " + ErrorText(err));
}

bool TryWriteFileAtomically(const AnsiString& FileName, std::string_view Bytes,
                            const TAtomicWriteOptions& Options) noexcept {
    try {
        TAtomicFile file(ToOsText(FileName), Options);
        file.Write(Bytes);
        return file.Commit() == 0;
    } catch (...) {
        return false;
    }
}
