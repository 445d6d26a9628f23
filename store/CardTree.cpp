#include "store/CardTree.h"

#include "rtl/CodePages.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

TCardEntryKind KindOf(const struct stat& st) {
    if (S_ISLNK(st.st_mode)) return TCardEntryKind::Link;
    if (S_ISDIR(st.st_mode)) return TCardEntryKind::Folder;
    if (S_ISREG(st.st_mode)) return TCardEntryKind::File;
    return TCardEntryKind::Other;
}

// Steps of a path below a root: no empty step, and none that climbs.
bool SplitSteps(const std::string& Relative, std::vector<std::string>& Steps) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t slash = Relative.find('/', from);
        std::string step = Relative.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        if (step.empty() || step == "." || step == "..") return false;
        Steps.push_back(std::move(step));
        if (slash == std::string::npos) return true;
        from = slash + 1;
    }
}

}  // namespace

TUniqueFd OpenCardFolder(int Parent, const std::string& OsName) {
    const int noFollow = Parent == AT_FDCWD ? 0 : O_NOFOLLOW;
    return TUniqueFd(::openat(Parent, OsName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow));
}

std::vector<TCardEntry> ListCardFolder(int Folder) {
    std::vector<TCardEntry> entries;
    const int own = ::fcntl(Folder, F_DUPFD_CLOEXEC, 0);
    if (own < 0) return entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(own), ::closedir);
    if (!dir) {
        ::close(own);
        return entries;
    }
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(Folder, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        entries.push_back({name, FromOsText(name), KindOf(st)});
    }
    std::sort(entries.begin(), entries.end(), [](const TCardEntry& a, const TCardEntry& b) { return a.Name < b.Name; });
    return entries;
}

TUniqueFd OpenCardFile(const AnsiString& Root, const AnsiString& Path) {
    std::vector<std::string> steps;
    if (Path.size() <= Root.size() || Path.compare(0, Root.size(), Root) != 0 ||
        !SplitSteps(ToOsText(Path.substr(Root.size())), steps)) {
        errno = EINVAL;
        return TUniqueFd();
    }
    TUniqueFd folder = OpenCardFolder(AT_FDCWD, ToOsText(Root));
    for (std::size_t i = 0; folder && i + 1 < steps.size(); ++i) folder = OpenCardFolder(folder.Get(), steps[i]);
    if (!folder) return TUniqueFd();
    // Not blocking: a pipe in a recording's place must not hold the import up.
    TUniqueFd file(
        ::openat(folder.Get(), steps.back().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!file || ::fstat(file.Get(), &st) != 0) return TUniqueFd();
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return TUniqueFd();
    }
    return file;
}
