#include "rtl/Folders.h"

#include "rtl/CodePages.h"
#include "rtl/Paths.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

std::mutex g_mutex;
AnsiString g_programDirOverride;
AnsiString g_tempDirOverride;
std::string g_fallbackTemp;  // made once when the per-user name is taken

std::string EnvOs(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// A folder we own, not a link, reachable by us alone; tightened when it
// is ours but too open.
bool PrivateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) return false;
    if ((st.st_mode & 0777) != 0700 && ::chmod(path.c_str(), 0700) != 0) return false;
    return true;
}

std::string SystemTempRoot() {
    std::string root = EnvOs("TMPDIR");
    struct stat st;
    if (root.empty() || ::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) root = "/tmp";
    if (root.back() != '/') root += '/';
    return root;
}

std::string PrivateTempOs() {
    const std::string runtime = EnvOs("XDG_RUNTIME_DIR");
    struct stat st;
    if (!runtime.empty() && ::stat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        const std::string dir = runtime + (runtime.back() == '/' ? "" : "/") + "yorde";
        if (PrivateFolder(dir)) return dir + '/';
    }
    const std::string root = SystemTempRoot();
    const std::string perUser = root + "yorde-" + std::to_string(::geteuid());
    if (PrivateFolder(perUser)) return perUser + '/';
    // Someone else holds the per-user name: a fresh folder of our own.
    if (!g_fallbackTemp.empty() && PrivateFolder(g_fallbackTemp.substr(0, g_fallbackTemp.size() - 1)))
        return g_fallbackTemp;
    g_fallbackTemp.clear();
    std::string pattern = perUser + "-XXXXXX";
    if (::mkdtemp(pattern.data())) g_fallbackTemp = pattern + '/';
    return g_fallbackTemp;
}

}  // namespace

AnsiString ProgramFileName() {
    std::string buf(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n <= 0) return AnsiString();
    buf.resize(std::size_t(n));
    return FromOsText(buf);
}

AnsiString ProgramDir() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_programDirOverride.empty()) return g_programDirOverride;
    }
    return ExtractFilePath(ProgramFileName());
}

void SetProgramDirOverride(const AnsiString& Dir) {
    std::lock_guard lock(g_mutex);
    g_programDirOverride = Dir.empty() ? Dir : IncludeTrailingPathDelimiter(Dir);
}

AnsiString TempDir() {
    std::lock_guard lock(g_mutex);
    if (!g_tempDirOverride.empty()) return g_tempDirOverride;
    const std::string temp = EnvOs("TEMP");
    if (!temp.empty()) return IncludeTrailingPathDelimiter(FromOsText(temp));
    return FromOsText(PrivateTempOs());
}

void SetTempDirOverride(const AnsiString& Dir) {
    std::lock_guard lock(g_mutex);
    g_tempDirOverride = Dir.empty() ? Dir : IncludeTrailingPathDelimiter(Dir);
}

AnsiString GetEnvironmentVariable(const AnsiString& Name) { return FromOsText(EnvOs(ToOsText(Name).c_str())); }
