#include "devicelink/PartFile.h"

#include "rtl/CodePages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

AnsiString SystemMessage(int error) { return AnsiString(std::strerror(error)); }

}  // namespace

TPartFile::TPartFile(AnsiString Target_) : Target(std::move(Target_)), PartPath(ToOsText(Target + kPartSuffix)) {
    Fd = ::open(PartPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Fd < 0) throw EFCreateError("Cannot create " + Target + kPartSuffix + ": " + SystemMessage(errno));
}

TPartFile::~TPartFile() {
    if (Fd >= 0) ::close(Fd);
    if (!Committed) ::unlink(PartPath.c_str());
}

void TPartFile::Restart() {
    if (::ftruncate(Fd, 0) != 0 || ::lseek(Fd, 0, SEEK_SET) != 0)
        throw EWriteError("Cannot empty " + Target + kPartSuffix + ": " + SystemMessage(errno));
    Written = 0;
}

void TPartFile::Write(const char* Data, size_t Size) {
    while (Size > 0) {
        const ssize_t n = ::write(Fd, Data, Size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == ENOSPC || errno == EDQUOT)) throw ENoSpaceLeft("The disk is full");
        if (n <= 0) throw EWriteError("Cannot write " + Target + kPartSuffix + ": " + SystemMessage(errno));
        Data += n;
        Size -= size_t(n);
        Written += n;
    }
}

void TPartFile::Commit() {
    struct stat st {};
    if (::fsync(Fd) != 0 || ::fstat(Fd, &st) != 0)
        throw EWriteError("Cannot flush " + Target + kPartSuffix + ": " + SystemMessage(errno));
    if (st.st_size != Written) throw EWriteError("The file " + Target + kPartSuffix + " lost bytes");
    const int fd = Fd;
    Fd = -1;
    if (::close(fd) != 0 || ::rename(PartPath.c_str(), ToOsText(Target).c_str()) != 0)
        throw EWriteError("Cannot move " + Target + kPartSuffix + " into place: " + SystemMessage(errno));
    Committed = true;
}

int RemoveStalePartFiles(const AnsiString& Folder) {
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    const std::string suffix = kPartSuffix;
    for (fs::directory_iterator it(ToOsText(Folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fe;
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
            it->is_regular_file(fe) && fs::remove(it->path(), fe))
            ++removed;
    }
    return removed;
}
