#include "rtl/Files.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/FileDescriptor.h"
#include "rtl/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

bool StatOf(const AnsiString& name, struct stat& st) {
    return !name.empty() && ::stat(ToOsText(name).c_str(), &st) == 0;
}

AnsiString ErrorText(int err) { return FromOsText(std::strerror(err)); }

}  // namespace

bool FileExists(const AnsiString& FileName) {
    struct stat st;
    return StatOf(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& Directory) {
    struct stat st;
    return StatOf(Directory, st) && S_ISDIR(st.st_mode);
}

bool DeleteFile(const AnsiString& FileName) { return !FileName.empty() && ::unlink(ToOsText(FileName).c_str()) == 0; }

bool RenameFile(const AnsiString& OldName, const AnsiString& NewName) {
    if (OldName.empty() || NewName.empty()) return false;
    const std::string from = ToOsText(OldName), to = ToOsText(NewName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace flag: check, then rename.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateDir(const AnsiString& Dir) { return !Dir.empty() && ::mkdir(ToOsText(Dir).c_str(), 0755) == 0; }

bool ForceDirectories(const AnsiString& Dir) {
    const AnsiString dir = ExcludeTrailingPathDelimiter(Dir);
    if (dir.empty()) return !Dir.empty();  // the root
    if (DirectoryExists(dir)) return true;
    const AnsiString parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDir(dir) || DirectoryExists(dir);
}

bool ForceOwnFolder(const AnsiString& Dir) {
    if (CreateDir(Dir)) return true;
    struct stat st;
    if (!StatOf(Dir, st) || !S_ISDIR(st.st_mode)) return false;
    constexpr mode_t othersWrite = S_IWGRP | S_IWOTH;
    if (st.st_uid == ::geteuid() && (st.st_mode & othersWrite))
        (void)::chmod(ToOsText(Dir).c_str(), st.st_mode & 07777 & ~othersWrite);
    return true;
}

bool RemoveDir(const AnsiString& Dir) { return !Dir.empty() && ::rmdir(ToOsText(Dir).c_str()) == 0; }

int FileAge(const AnsiString& FileName) {
    struct stat st;
    if (!StatOf(FileName, st) || S_ISDIR(st.st_mode)) return -1;
    return DateTimeToFileDate(UnixToLocalDateTime(st.st_mtim.tv_sec));
}

bool FileAge(const AnsiString& FileName, TDateTime& FileDateTime) {
    struct stat st;
    if (!StatOf(FileName, st) || S_ISDIR(st.st_mode)) return false;
    FileDateTime = UnixToLocalDateTime(st.st_mtim.tv_sec, int(st.st_mtim.tv_nsec / 1000000));
    return true;
}

bool RestrictToOwner(const AnsiString& FileName) {
    const std::string name = ToOsText(FileName);
    struct stat st;
    if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return (st.st_mode & 07777) == 0600 || ::chmod(name.c_str(), 0600) == 0;
}

std::int64_t FileSize(const AnsiString& FileName) {
    TUniqueFd fd(FileName.empty() ? -1 : ::open(ToOsText(FileName).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    int err = errno;
    if (fd.Valid()) {
        if (::fstat(fd.Get(), &st) != 0)
            err = errno;
        else if (S_ISDIR(st.st_mode))
            err = EISDIR;
        else
            return std::int64_t(st.st_size);
    }
    throw EFOpenError("Cannot open file \"" + FileName + "\". " + ErrorText(err));
}

bool FileCreateAndClose(const AnsiString& FileName) {
    if (FileName.empty()) return false;
    TUniqueFd fd(::open(ToOsText(FileName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return fd.Valid() && fd.Close() == 0;
}

std::int64_t DiskFree(const AnsiString& Path) {
    struct statvfs vfs;
    const std::string path = Path.empty() ? std::string(".") : ToOsText(Path);
    if (::statvfs(path.c_str(), &vfs) != 0) return -1;
    return std::int64_t(vfs.f_bavail) * std::int64_t(vfs.f_frsize);
}
