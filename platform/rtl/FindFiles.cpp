#include "rtl/FindFiles.h"

#include "rtl/CodePages.h"
#include "rtl/DateTime.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

struct TFindState {
    struct DirCloser {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, DirCloser> dir;
    std::string osFolder;  // with a trailing '/', or empty for the current folder
    AnsiString mask;
};

namespace {

constexpr int kSpecial = faHidden | faSysFile | faVolumeID | faDirectory;

bool WildMatch(const AnsiString& name, const AnsiString& mask, const unsigned char* fold) {
    std::size_t n = 0, m = 0, starMask = AnsiString::npos, starName = 0;
    const auto same = [&](char a, char b) {
        return fold[static_cast<unsigned char>(a)] == fold[static_cast<unsigned char>(b)];
    };
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && same(mask[m], name[n])))) {
            ++n, ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (starMask != AnsiString::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

bool Writable(const struct stat& st) {
    if (st.st_uid == ::geteuid()) return st.st_mode & S_IWUSR;
    if (st.st_gid == ::getegid()) return st.st_mode & S_IWGRP;
    return st.st_mode & S_IWOTH;
}

int AttributesOf(const AnsiString& name, const struct stat& st) {
    int attr = 0;
    if (S_ISDIR(st.st_mode))
        attr |= faDirectory;
    else if (S_ISREG(st.st_mode))
        attr |= faArchive;
    else
        attr |= faSysFile;
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") attr |= faHidden;
    if (!Writable(st)) attr |= faReadOnly;
    return attr;
}

bool StatEntry(const std::string& osPath, struct stat& st) {
    return ::stat(osPath.c_str(), &st) == 0 || ::lstat(osPath.c_str(), &st) == 0;
}

// Fills F with the next entry that passes the mask and the attributes.
bool NextMatch(TSearchRec& F) {
    TFindState& s = *F.FindHandle;
    while (const dirent* e = ::readdir(s.dir.get())) {
        const AnsiString name = FromOsText(e->d_name);
        if (!MatchesMask(name, s.mask)) continue;
        struct stat st;
        if (!StatEntry(s.osFolder + e->d_name, st)) continue;
        const int attr = AttributesOf(name, st);
        if (attr & F.ExcludeAttr) continue;
        F.Name = name;
        F.Attr = attr;
        F.Size = S_ISREG(st.st_mode) ? std::int64_t(st.st_size) : 0;
        F.Time = DateTimeToFileDate(UnixToLocalDateTime(st.st_mtim.tv_sec));
        return true;
    }
    return false;
}

}  // namespace

TSearchRec::TSearchRec() = default;
TSearchRec::~TSearchRec() = default;
TSearchRec::TSearchRec(TSearchRec&&) noexcept = default;
TSearchRec& TSearchRec::operator=(TSearchRec&&) noexcept = default;

bool MatchesMask(const AnsiString& FileName, const AnsiString& Mask) {
    if (Mask == "*" || Mask == "*.*") return true;
    const unsigned char* fold = CaseTableFor(GetACP()).Upper;
    if (WildMatch(FileName, Mask, fold)) return true;
    // "name.*" also matches "name", and "name." only a name without a dot.
    if (Mask.size() >= 2 && Mask.compare(Mask.size() - 2, 2, ".*") == 0 && FileName.find('.') == AnsiString::npos)
        return WildMatch(FileName, Mask.substr(0, Mask.size() - 2), fold);
    if (!Mask.empty() && Mask.back() == '.' && FileName.find('.') == AnsiString::npos)
        return WildMatch(FileName, Mask.substr(0, Mask.size() - 1), fold);
    return false;
}

int FindFirst(const AnsiString& Path, int Attr, TSearchRec& F) {
    FindClose(F);
    const std::size_t slash = Path.rfind('/');
    const AnsiString folder = slash == AnsiString::npos ? AnsiString() : Path.substr(0, slash + 1);
    auto state = std::make_unique<TFindState>();
    state->mask = slash == AnsiString::npos ? Path : Path.substr(slash + 1);
    state->osFolder = ToOsText(folder);
    state->dir.reset(::opendir(state->osFolder.empty() ? "." : state->osFolder.c_str()));
    if (!state->dir) return ERROR_PATH_NOT_FOUND;
    if (state->mask.empty()) return ERROR_FILE_NOT_FOUND;
    F.ExcludeAttr = ~Attr & kSpecial;
    F.FindHandle = std::move(state);
    if (NextMatch(F)) return 0;
    FindClose(F);
    return ERROR_FILE_NOT_FOUND;
}

int FindNext(TSearchRec& F) {
    if (!F.FindHandle) return ERROR_NO_MORE_FILES;
    return NextMatch(F) ? 0 : ERROR_NO_MORE_FILES;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

int FileGetAttr(const AnsiString& FileName) {
    struct stat st;
    if (FileName.empty() || !StatEntry(ToOsText(FileName), st)) return -1;
    const std::size_t slash = FileName.find_last_of('/', FileName.size() > 1 ? FileName.size() - 2 : 0);
    AnsiString name = slash == AnsiString::npos ? FileName : FileName.substr(slash + 1);
    if (!name.empty() && name.back() == '/') name.pop_back();
    return AttributesOf(name, st);
}
