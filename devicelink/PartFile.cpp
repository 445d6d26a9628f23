#include "devicelink/PartFile.h"

#include "devicelink/PlainFiles.h"
#include "rtl/AtomicFile.h"
#include "rtl/CodePages.h"
#include "rtl/FileDescriptor.h"
#include "store/Recordings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

namespace {

AnsiString SystemMessage(int error) { return AnsiString(std::strerror(error)); }

// The target of a download's file; empty when Name is none.
AnsiString PartTarget(const AnsiString& Name) {
    const std::size_t suffix = std::strlen(kPartSuffix);
    if (Name.size() <= suffix || Name.compare(Name.size() - suffix, suffix, kPartSuffix) != 0) return AnsiString();
    return Name.substr(0, Name.size() - suffix);
}

std::mutex gObserverMutex;
std::function<void(const char*, const AnsiString&)> gObserver;

void Observe(const char* Step, const AnsiString& Name) {
    std::lock_guard lk(gObserverMutex);
    if (gObserver) gObserver(Step, Name);
}

}  // namespace

void SetPartFileObserver(std::function<void(const char* Step, const AnsiString& Name)> Observer) {
    std::lock_guard lk(gObserverMutex);
    gObserver = std::move(Observer);
}

TPartFile::TPartFile(AnsiString Target) : target_(std::move(Target)), partPath_(ToOsText(target_ + kPartSuffix)) {
    fd_ = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, StoredRecordingMode);
    if (fd_ < 0) throw EFCreateError("Cannot create " + target_ + kPartSuffix + ": " + SystemMessage(errno));
}

TPartFile::~TPartFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(partPath_.c_str());
}

void TPartFile::Restart() {
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        throw EWriteError("Cannot empty " + target_ + kPartSuffix + ": " + SystemMessage(errno));
    written_ = 0;
}

void TPartFile::Write(const char* Data, size_t Size) {
    while (Size > 0) {
        const ssize_t n = ::write(fd_, Data, Size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == ENOSPC || errno == EDQUOT)) throw ENoSpaceLeft("The disk is full");
        if (n <= 0) throw EWriteError("Cannot write " + target_ + kPartSuffix + ": " + SystemMessage(errno));
        Data += n;
        Size -= size_t(n);
        written_ += n;
    }
}

void TPartFile::Flush() {
    struct stat st {};
    if (::fsync(fd_) != 0 || ::fstat(fd_, &st) != 0)
        throw EWriteError("Cannot flush " + target_ + kPartSuffix + ": " + SystemMessage(errno));
    if (st.st_size != written_) throw EWriteError("The file " + target_ + kPartSuffix + " lost bytes");
    Observe("sync", target_);
}

void TPartFile::MoveIntoPlace() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(partPath_.c_str(), ToOsText(target_).c_str()) != 0)
        throw EWriteError("Cannot move " + target_ + kPartSuffix + " into place: " + SystemMessage(errno));
    committed_ = true;
    Observe("rename", target_);
}

void SyncPartFolder(const AnsiString& Folder) {
    // The files are in place already; a folder that cannot be synced (some
    // file systems refuse) is no reason to leave them without their rows.
    TUniqueFd dir(::open(ToOsText(Folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir) (void)::fsync(dir.Get());
    Observe("syncdir", Folder);
}

std::vector<AnsiString> FlushPartFiles(const std::vector<TPartFile*>& Files) {
    // Many flushes at once: a journalling file system commits them together.
    constexpr size_t kFlushers = 16;
    std::vector<AnsiString> failures(Files.size());
    auto flushFrom = [&](size_t first) {
        for (size_t i = first; i < Files.size(); i += kFlushers) {
            try {
                Files[i]->Flush();
            } catch (const Exception& e) {
                failures[i] = e.Message;
            }
        }
    };
    std::vector<std::thread> flushers;
    for (size_t k = 1; k < std::min(kFlushers, Files.size()); ++k) flushers.emplace_back(flushFrom, k);
    flushFrom(0);
    for (std::thread& t : flushers) t.join();
    return failures;
}

bool IsStoreLeftover(const AnsiString& Name) {
    const AnsiString download = PartTarget(Name);
    return IsStoredRecordingName(download.empty() ? AtomicFileTarget(Name) : download);
}

int RemoveLeftovers(const AnsiString& Folder, const std::vector<AnsiString>& Names, const TLeftoverLog& Log) {
    if (Names.empty()) return 0;
    const TUniqueFd folder(::open(ToOsText(Folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return 0;
    int removed = 0, downloads = 0;
    for (const AnsiString& name : Names) {
        const std::string osName = ToOsText(name);
        struct stat st {};
        // Never a link, nor a file someone else put there: ours are plain files of our own.
        if (::fstatat(folder.Get(), osName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || ::unlinkat(folder.Get(), osName.c_str(), 0) != 0)
            continue;
        ++removed;
        if (!PartTarget(name).empty()) ++downloads;
        Log("Removed the unfinished file " + Folder + name);
    }
    if (downloads) Log("Removed " + std::to_string(downloads) + " unfinished downloads");
    return removed;
}

int RemoveLeftovers(const AnsiString& Folder, const std::function<bool(const AnsiString& Name)>& IsLeftover,
                    const TLeftoverLog& Log) {
    std::vector<AnsiString> found;
    ForEachPlainFile(Folder, false, [&](std::string_view OsName, const struct stat*) {
        // Most names are recordings: they are let go before any conversion.
        if (OsName.front() != '.' && !OsName.ends_with(kPartSuffix)) return;
        AnsiString name = PlainFileName(OsName);
        if (IsLeftover(name)) found.push_back(std::move(name));
    });
    return RemoveLeftovers(Folder, found, Log);
}
