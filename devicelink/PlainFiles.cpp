#include "devicelink/PlainFiles.h"

#include "rtl/CodePages.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>

bool IsAsciiName(std::string_view Name) {
    return std::all_of(Name.begin(), Name.end(), [](char c) { return (unsigned char)c < 0x80; });
}

AnsiString PlainFileName(std::string_view OsName) {
    return IsAsciiName(OsName) ? AnsiString(OsName) : FromOsText(OsName);
}

bool ForEachPlainFile(const AnsiString& Folder, bool Stat,
                      const std::function<void(std::string_view OsName, const struct stat* Status)>& Visit) {
    const std::string path = ToOsText(Folder);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
    if (!dir) return false;
    const int fd = ::dirfd(dir.get());
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const bool maybePlain = entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK;
        if (!maybePlain) continue;
        struct stat st {};
        const bool look = Stat || entry->d_type != DT_REG;
        if (look && (::fstatat(fd, entry->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))) continue;
        Visit(entry->d_name, look ? &st : nullptr);
        errno = 0;
    }
    return errno == 0;
}
