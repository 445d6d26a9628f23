#include "NetUtils.h"

#include "rtl/Exceptions.h"
#include "rtl/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>
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
