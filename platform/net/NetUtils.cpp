#include "NetUtils.h"

#include "UniqueFd.h"
#include "rtl/Exceptions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool IsValidIP(const AnsiString& s) {
    size_t i = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0) {
            if (i >= s.size() || s[i] != '.') return false;
            ++i;
        }
        int value = 0;
        size_t digits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            if (++digits > 3) return false;
            value = value * 10 + (s[i] - '0');
            ++i;
        }
        if (digits == 0 || value > 255) return false;
    }
    return i == s.size();
}

int64_t FileSizeByName(const AnsiString& path) {
    TUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw EFOpenError("Cannot read the size of \"" + path + "\". " + std::strerror(errno));
    if (S_ISDIR(st.st_mode)) throw EFOpenError("Cannot open file \"" + path + "\". It is a folder");
    return int64_t(st.st_size);
}

static bool WriteAll(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

static bool CopyBytes(int from, int to) {
    char buf[65536];
    for (;;) {
        ssize_t r = ::read(from, buf, sizeof buf);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return false;
        if (r == 0) return true;
        if (!WriteAll(to, buf, size_t(r))) return false;
    }
}

// Moves tmp to dst unless dst exists. RENAME_NOREPLACE where the file system
// has it, else a hard link (which fails on an existing name as well).
static bool MoveNoReplace(const AnsiString& tmp, const AnsiString& dst) {
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (::link(tmp.c_str(), dst.c_str()) != 0) return false;
    ::unlink(tmp.c_str());
    return true;
}

bool CopyFileTo(const AnsiString& src, const AnsiString& dst) {
    struct stat st {};
    if (::lstat(dst.c_str(), &st) == 0) return false;

    TUniqueFd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in || ::fstat(in.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;

    size_t slash = dst.rfind('/');
    AnsiString dir = slash == AnsiString::npos ? AnsiString() : dst.substr(0, slash + 1);
    AnsiString name = slash == AnsiString::npos ? dst : dst.substr(slash + 1);
    AnsiString tmp = dir + "." + name + ".XXXXXX";
    TUniqueFd out(::mkostemp(tmp.data(), O_CLOEXEC));
    if (!out) return false;

    bool ok = CopyBytes(in.Get(), out.Get()) && ::fchmod(out.Get(), st.st_mode & 07777) == 0 && ::fsync(out.Get()) == 0;
    int closed = ::close(out.Release());
    ok = ok && closed == 0 && MoveNoReplace(tmp, dst);
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}
