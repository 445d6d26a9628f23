#include "rtl/FolderCount.h"

#include "rtl/CodePages.h"
#include "rtl/FindFiles.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <memory>

namespace {

long long nanoseconds(const timespec& t) { return (long long)t.tv_sec * 1000000000LL + t.tv_nsec; }

bool plainAscii(const char* Name) {
    for (; *Name; ++Name)
        if (static_cast<unsigned char>(*Name) >= 0x80) return false;
    return true;
}

}  // namespace

TFolderMatchCount::TFolderMatchCount(const AnsiString& Path, double SettleSeconds)
    : settleNs_((long long)(SettleSeconds * 1e9)) {
    const size_t slash = Path.rfind('/');
    folder_ = slash == AnsiString::npos ? AnsiString() : Path.substr(0, slash + 1);
    mask_ = slash == AnsiString::npos ? Path : Path.substr(slash + 1);
}

TFolderMatchCount::TStamp TFolderMatchCount::stampNow() const {
    struct stat st;
    const std::string os = ToOsText(folder_);
    TStamp s;
    if (::stat(os.empty() ? "." : os.c_str(), &st) != 0) return s;
    s.Exists = true;
    s.Device = st.st_dev;
    s.Inode = st.st_ino;
    s.Links = st.st_nlink;
    s.Size = (unsigned long long)st.st_size;
    s.Modified = nanoseconds(st.st_mtim);
    s.Changed = nanoseconds(st.st_ctim);
    return s;
}

int TFolderMatchCount::read() const {
    const std::string os = ToOsText(folder_);
    struct Closer {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, Closer> dir(::opendir(os.empty() ? "." : os.c_str()));
    if (!dir || mask_.empty()) return 0;
    int n = 0;
    while (const dirent* e = ::readdir(dir.get())) {
        // Names in plain ASCII read the same in every code page.
        if (plainAscii(e->d_name) ? MatchesMask(e->d_name, mask_) : MatchesMask(FromOsText(e->d_name), mask_)) ++n;
    }
    return n;
}

int TFolderMatchCount::Count() {
    // The stamp is taken before the names: a change while they are read
    // shows in the next one.
    const TStamp now = stampNow();
    if (known_ && now == stamp_) return count_;
    count_ = read();
    ++readings_;
    stamp_ = now;
    timespec clock{};
    ::clock_gettime(CLOCK_REALTIME, &clock);
    known_ = !now.Exists || nanoseconds(clock) - std::max(now.Modified, now.Changed) >= settleNs_;
    return count_;
}
