#include "rtl/FileCopy.h"

#include "rtl/AtomicFile.h"
#include "rtl/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool CopyFileTo(const AnsiString& src, const AnsiString& dst) {
    TUniqueFd in(::open(src.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!in || ::fstat(in.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return CopyOpenFileTo(in.Get(), dst, unsigned(st.st_mode & 0777)) == 0;
}

int CopyOpenFileTo(int Source, const AnsiString& dst, unsigned Mode) {
    TAtomicFile out(dst, {.NewMode = Mode & 0777, .KeepMode = false, .NoReplace = true});
    char buf[65536];
    while (out.Error() == 0) {
        const ssize_t r = ::read(Source, buf, sizeof buf);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return errno != 0 ? errno : EIO;
        if (r == 0) return out.Commit();
        out.Write(std::string_view(buf, size_t(r)));
    }
    return out.Error();
}
