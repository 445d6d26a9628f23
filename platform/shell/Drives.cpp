#include "Drives.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

namespace {

std::mutex providerMutex;
TDriveListProvider driveProvider;

// mountinfo escapes space, tab, newline and backslash as \ooo.
AnsiString DecodeOctal(std::string_view s) {
    AnsiString out;
    out.reserve(s.size());
    auto oct = [](char c) { return c >= '0' && c <= '7'; };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && oct(s[i + 1]) && oct(s[i + 2]) && oct(s[i + 3])) {
            out += static_cast<char>(((s[i + 1] - '0') << 6) | ((s[i + 2] - '0') << 3) | (s[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += s[i];
    }
    return out;
}

std::vector<std::string_view> SplitSpaces(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool ParseUnsigned(std::string_view s, unsigned& value) {
    if (s.empty() || s.size() > 9) return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

bool IsPseudoFs(const AnsiString& type) {
    static constexpr std::array<std::string_view, 30> pseudo{
        "proc",       "sysfs",  "devtmpfs",        "devpts",      "tmpfs",      "ramfs",   "cgroup",    "cgroup2",
        "securityfs", "pstore", "debugfs",         "tracefs",     "configfs",   "fusectl", "mqueue",    "hugetlbfs",
        "bpf",        "autofs", "binfmt_misc",     "efivarfs",    "rpc_pipefs", "nsfs",    "selinuxfs", "overlay",
        "squashfs",   "nfsd",   "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs", "vboxsf"};
    return std::find(pseudo.begin(), pseudo.end(), type) != pseudo.end();
}

bool IsUnder(const AnsiString& path, std::string_view root) {
    if (path.compare(0, root.size(), root) != 0) return false;
    return path.size() == root.size() || path[root.size()] == '/';
}

AnsiString ReadFirstLine(const std::filesystem::path& p) {
    std::ifstream in(p);
    AnsiString line;
    std::getline(in, line);
    return line;
}

}  // namespace

std::vector<AnsiString> DrivesFromMask(std::uint32_t mask) {
    std::vector<AnsiString> items;
    for (int i = 2; i <= 25; ++i)
        if (mask & (std::uint32_t{1} << i)) items.push_back(AnsiString{static_cast<char>('A' + i), ':'});
    return items;
}

std::vector<TMountEntry> ParseMountInfo(std::string_view text) {
    std::vector<TMountEntry> result;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);

        // id parent major:minor root mountpoint options [optional...] - type source superopts
        auto f = SplitSpaces(line);
        if (f.size() < 7) continue;
        auto sep = std::find(f.begin() + 6, f.end(), std::string_view("-"));
        if (sep == f.end() || f.end() - sep < 3) continue;
        size_t colon = f[2].find(':');
        if (colon == std::string_view::npos) continue;
        TMountEntry e;
        if (!ParseUnsigned(f[2].substr(0, colon), e.Major) || !ParseUnsigned(f[2].substr(colon + 1), e.Minor)) continue;
        e.MountPoint = DecodeOctal(f[4]);
        e.FsType = DecodeOctal(sep[1]);
        e.Source = DecodeOctal(sep[2]);
        result.push_back(std::move(e));
    }
    return result;
}

std::vector<AnsiString> SelectRemovableMounts(const std::vector<TMountEntry>& mounts,
                                              const TRemovableDevice& isRemovable) {
    std::vector<AnsiString> points;
    for (const auto& m : mounts) {
        if (IsPseudoFs(m.FsType)) continue;
        bool keep =
            IsUnder(m.MountPoint, "/media") || IsUnder(m.MountPoint, "/run/media") || IsUnder(m.MountPoint, "/mnt");
        // Device 0:x is anonymous (network, btrfs subvolumes): no sysfs entry.
        if (!keep && m.Major != 0 && isRemovable) keep = isRemovable(m.Major, m.Minor);
        if (keep && std::find(points.begin(), points.end(), m.MountPoint) == points.end())
            points.push_back(m.MountPoint);
    }
    return points;
}

bool IsRemovableBlockDevice(unsigned major, unsigned minor) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dev = fs::canonical("/sys/dev/block/" + std::to_string(major) + ":" + std::to_string(minor), ec);
    if (ec) return false;
    // A partition's removable flag lives on the disk above it.
    if (fs::exists(dev / "partition", ec)) dev = dev.parent_path();
    if (ReadFirstLine(dev / "removable") == "1") return true;
    // USB disks and card readers often report 0, but are external all the same.
    return dev.string().find("/usb") != std::string::npos;
}

std::vector<AnsiString> RemovableDrives() {
    TDriveListProvider provider;
    {
        std::lock_guard lock(providerMutex);
        provider = driveProvider;
    }
    if (provider) return provider();
    std::ifstream in("/proc/self/mountinfo");
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return SelectRemovableMounts(ParseMountInfo(text.str()), IsRemovableBlockDevice);
}

TDriveListProvider SetDriveListProvider(TDriveListProvider provider) {
    std::lock_guard lock(providerMutex);
    std::swap(driveProvider, provider);
    return provider;
}
