#include "rtl/Files.h"

#include "rtl/CodePages.h"
#include "rtl/Exceptions.h"
#include "rtl/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    int Close() {
        int r = 0;
        if (fd_ >= 0) r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

bool StatOf(const AnsiString& name, struct stat& st) {
    return !name.empty() && ::stat(ToOsText(name).c_str(), &st) == 0;
}

AnsiString ErrorText(int err) { return FromOsText(std::strerror(err)); }

// The temporary file of an atomic write; removed unless committed.
class TempFile {
public:
    explicit TempFile(const AnsiString& target) {
        const std::string os = ToOsText(target);
        const std::size_t slash = os.rfind('/');
        const std::string dir = slash == std::string::npos ? std::string() : os.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? os : os.substr(slash + 1);
        path_ = dir + "." + name + ".XXXXXX";
        fd_.Reset(::mkostemp(path_.data(), O_CLOEXEC));
        if (!fd_.valid()) path_.clear();
    }
    ~TempFile() {
        fd_.Close();
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool valid() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }
    int Close() { return fd_.Close(); }
    const std::string& path() const { return path_; }
    void Committed() { path_.clear(); }

private:
    std::string path_;
    UniqueFd fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

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

// 0 or the errno of the failed step; `creating` tells which step failed.
int WriteAtomically(const AnsiString& fileName, std::string_view bytes, bool& creating) {
    creating = true;
    // Replace the file a symbolic link points at, not the link.
    AnsiString target = fileName;
    struct stat lst;
    if (::lstat(ToOsText(fileName).c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        if (char* real = ::realpath(ToOsText(fileName).c_str(), nullptr)) {
            target = FromOsText(real);
            std::free(real);
        }
    }
    TempFile temp(target);
    if (!temp.valid()) return errno;
    creating = false;
    struct stat st;
    mode_t mode;
    if (::stat(ToOsText(target).c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode = 0666 & ~CurrentUmask();
    }
    if (::fchmod(temp.fd(), mode) != 0 || !WriteAll(temp.fd(), bytes) || ::fsync(temp.fd()) != 0) return errno;
    if (temp.Close() != 0) return errno;
    // A target that cannot be replaced (a folder, a read-only place) could not be created.
    creating = true;
    if (::rename(temp.path().c_str(), ToOsText(target).c_str()) != 0) return errno;
    temp.Committed();
    return 0;
}

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

bool CreateDir(const AnsiString& Dir) { return !Dir.empty() && ::mkdir(ToOsText(Dir).c_str(), 0777) == 0; }

bool ForceDirectories(const AnsiString& Dir) {
    const AnsiString dir = ExcludeTrailingPathDelimiter(Dir);
    if (dir.empty()) return !Dir.empty();  // the root
    if (DirectoryExists(dir)) return true;
    const AnsiString parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDir(dir) || DirectoryExists(dir);
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

std::int64_t FileSize(const AnsiString& FileName) {
    UniqueFd fd(FileName.empty() ? -1 : ::open(ToOsText(FileName).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    int err = errno;
    if (fd.valid()) {
        if (::fstat(fd.get(), &st) != 0)
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
    UniqueFd fd(::open(ToOsText(FileName).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return fd.valid() && fd.Close() == 0;
}

void WriteFileAtomically(const AnsiString& FileName, std::string_view Bytes) {
    bool creating = false;
    const int err = WriteAtomically(FileName, Bytes, creating);
    if (err == 0) return;
    if (creating) throw EFCreateError("Cannot create file " + FileName + ": " + ErrorText(err));
    throw EWriteError("Cannot write file " + FileName + ": " + ErrorText(err));
}

bool TryWriteFileAtomically(const AnsiString& FileName, std::string_view Bytes) noexcept {
    try {
        bool creating = false;
        return WriteAtomically(FileName, Bytes, creating) == 0;
    } catch (...) {
        return false;
    }
}

std::int64_t DiskFree(const AnsiString& Path) {
    struct statvfs vfs;
    const std::string path = Path.empty() ? std::string(".") : ToOsText(Path);
    if (::statvfs(path.c_str(), &vfs) != 0) return -1;
    return std::int64_t(vfs.f_bavail) * std::int64_t(vfs.f_frsize);
}
