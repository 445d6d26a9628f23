#include "Registry.h"

#include "rtl/AtomicFile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>

YORDE_IMPLEMENT_CLASS(TRegistry, [](TClassBuilder<TRegistry>&) {})

namespace {

namespace fs = std::filesystem;

// One file: "[key path]" sections, then "name=s:text" and "name=i:number"
// lines. Control bytes, bytes from 0x7F and the syntax characters are
// written as %XX, so any byte string survives and the file stays ASCII.
struct Value {
    AnsiString name;
    bool isInt = false;
    AnsiString text;
    int number = 0;
};

struct Key {
    AnsiString path;
    std::vector<Value> values;
};

using Hive = std::map<AnsiString, Key>;  // by lower-cased path

std::mutex& StoreMutex() {
    static std::mutex m;
    return m;
}
AnsiString& FolderOverride() {
    static AnsiString folder;
    return folder;
}

AnsiString Lower(AnsiString s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool SameText(const AnsiString& a, const AnsiString& b) { return Lower(a) == Lower(b); }

// "\\A\\\\B\\" -> "A\\B"
AnsiString Normalize(const AnsiString& path) {
    AnsiString out, part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!out.empty()) out += '\\';
        out += part;
        part.clear();
    };
    for (char c : path) {
        if (c == '\\')
            flush();
        else
            part += c;
    }
    flush();
    return out;
}

AnsiString Encode(const AnsiString& s) {
    static const char hex[] = "0123456789ABCDEF";
    AnsiString out;
    for (unsigned char c : s) {
        if (c < 0x20 || c >= 0x7F || c == '%' || c == '=' || c == '[' || c == ']' || c == ';') {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

AnsiString Decode(const AnsiString& s) {
    AnsiString out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            out += char(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::optional<int> ParseInt(const AnsiString& s) {
    if (s.empty()) return std::nullopt;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        v = v * 10 + (s[i] - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (s[0] == '-') v = -v;
    if (v > 2147483647LL) return std::nullopt;
    return int(v);
}

const char* RootName(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    case HKEY_DYN_DATA: return "HKEY_DYN_DATA";
    default: return nullptr;
    }
}

AnsiString DefaultFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    AnsiString base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home && home[0]) {
            base = home;
        } else {
            passwd pw{};
            passwd* found = nullptr;
            char buf[4096];
            if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_dir)
                base = found->pw_dir;
            else
                base = ".";
        }
        base += "/.config";
    }
    return base + "/yorde/registry";
}

AnsiString FolderLocked() {
    const AnsiString& f = FolderOverride();
    return f.empty() ? DefaultFolder() : f;
}

std::optional<AnsiString> FileOf(HKEY root) {
    const char* name = RootName(root);
    if (!name) return std::nullopt;
    return FolderLocked() + "/" + name + ".reg";
}

// A missing file is an empty hive; a file that exists but cannot be read
// fails, so that a write never replaces data it could not see.
bool Load(const AnsiString& file, Hive& hive) {
    hive.clear();
    std::error_code ec;
    if (!fs::exists(file, ec)) return !ec;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    Key* current = nullptr;
    AnsiString line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') {
                current = nullptr;
                continue;
            }
            AnsiString path = Normalize(Decode(line.substr(1, line.size() - 2)));
            Key& k = hive[Lower(path)];
            k.path = path;
            current = &k;
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == AnsiString::npos || line.size() < eq + 3 || line[eq + 2] != ':') continue;
        Value v;
        v.name = Decode(line.substr(0, eq));
        const char type = line[eq + 1];
        const AnsiString data = line.substr(eq + 3);
        if (type == 's') {
            v.text = Decode(data);
        } else if (type == 'i') {
            auto n = ParseInt(data);
            if (!n) continue;
            v.isInt = true;
            v.number = *n;
        } else {
            continue;
        }
        std::erase_if(current->values, [&](const Value& o) { return SameText(o.name, v.name); });
        current->values.push_back(std::move(v));
    }
    return !in.bad();
}

// Makes Folder and the folders on the way to it that are missing, each for
// its owner alone, whatever the umask: values may be private.
bool MakeOwnerFolders(const fs::path& Folder) {
    std::error_code ec;
    if (fs::is_directory(Folder, ec)) return true;
    const fs::path parent = Folder.parent_path();
    if (!parent.empty() && parent != Folder && !MakeOwnerFolders(parent)) return false;
    return ::mkdir(Folder.c_str(), 0700) == 0 || (errno == EEXIST && fs::is_directory(Folder, ec));
}

// Through an atomic replacement: readers see the old file or the new one,
// never half of one. `file` is spelt as the file system spells it.
bool Save(const AnsiString& file, HKEY root, const Hive& hive) {
    const fs::path target(file);
    const fs::path folder = target.parent_path();
    if (!MakeOwnerFolders(folder)) return false;
    AnsiString text = AnsiString("; ") + RootName(root) + "\n";
    for (const auto& [lower, key] : hive) {
        text += "[" + Encode(key.path) + "]\n";
        for (const Value& v : key.values) {
            text += Encode(v.name);
            text += v.isInt ? "=i:" + std::to_string(v.number) : "=s:" + Encode(v.text);
            text += "\n";
        }
    }
    // Values may be private: the file is for its owner only, whatever it was.
    TAtomicFile out(file, {.NewMode = 0600, .KeepMode = false, .ReplaceLink = true});
    out.Write(text);
    return out.Commit() == 0;
}

bool KeyExistsIn(const Hive& hive, const AnsiString& path) {
    if (path.empty()) return true;
    const AnsiString lp = Lower(path);
    auto it = hive.lower_bound(lp);
    // Every path starting with lp sorts in one run from lower_bound(lp).
    for (; it != hive.end() && it->first.compare(0, lp.size(), lp) == 0; ++it)
        if (it->first.size() == lp.size() || it->first[lp.size()] == '\\') return true;
    return false;
}

Key& EnsureKey(Hive& hive, const AnsiString& path) {
    Key& k = hive[Lower(path)];
    if (k.path.empty()) k.path = path;
    return k;
}

const Value* FindValue(const Hive& hive, const AnsiString& path, const AnsiString& name) {
    auto it = hive.find(Lower(path));
    if (it == hive.end()) return nullptr;
    for (const Value& v : it->second.values)
        if (SameText(v.name, name)) return &v;
    return nullptr;
}

}  // namespace

void SetRegistryFolder(const AnsiString& Folder) {
    std::lock_guard lk(StoreMutex());
    FolderOverride() = Folder;
}

AnsiString RegistryFolder() {
    std::lock_guard lk(StoreMutex());
    return FolderLocked();
}

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY Value) {
    CloseKey();
    root_ = Value;
}

AnsiString TRegistry::resolve(const AnsiString& key) const {
    if (!open_ || (!key.empty() && key[0] == '\\')) return Normalize(key);
    return Normalize(path_ + "\\" + key);
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
    const AnsiString path = resolve(Key);
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    if (!file) return false;
    Hive hive;
    const bool loaded = Load(*file, hive);
    if (!loaded || !KeyExistsIn(hive, path)) {
        if (!CanCreate || !loaded) return false;
        EnsureKey(hive, path);
        if (!Save(*file, root_, hive)) return false;
    }
    path_ = path;
    open_ = true;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
    if (!OpenKey(Key, false)) return false;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    readOnly_ = false;
    path_.clear();
}

bool TRegistry::KeyExists(const AnsiString& Key) {
    const AnsiString path = resolve(Key);
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    Hive hive;
    return file && Load(*file, hive) && KeyExistsIn(hive, path);
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
    const AnsiString path = resolve(Key);
    if (Key.empty() || path.empty()) return false;  // never the root, never by accident
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    Hive hive;
    if (!file || !Load(*file, hive)) return false;
    const AnsiString lp = Lower(path);
    const size_t before = hive.size();
    std::erase_if(hive, [&](const auto& entry) {
        const AnsiString& k = entry.first;
        return k == lp || (k.size() > lp.size() && k.compare(0, lp.size(), lp) == 0 && k[lp.size()] == '\\');
    });
    if (hive.size() == before) return false;
    if (!Save(*file, root_, hive)) throw ERegistryException("Failed to delete key '" + Key + "'");
    return true;
}

bool TRegistry::ValueExists(const AnsiString& Name) {
    if (!open_) return false;
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    Hive hive;
    return file && Load(*file, hive) && FindValue(hive, path_, Name);
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
    if (!open_ || readOnly_) return false;
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    Hive hive;
    if (!file || !Load(*file, hive)) return false;
    auto it = hive.find(Lower(path_));
    if (it == hive.end()) return false;
    const size_t removed = std::erase_if(it->second.values, [&](const Value& v) { return SameText(v.name, Name); });
    if (removed == 0) return false;
    if (!Save(*file, root_, hive)) throw ERegistryException("Failed to delete value '" + Name + "'");
    return true;
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
    if (!open_) return "";
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root_);
    Hive hive;
    if (!file || !Load(*file, hive)) return "";
    const Value* v = FindValue(hive, path_, Name);
    if (!v) return "";
    if (v->isInt) throw ERegistryException("Invalid data type for '" + Name + "'");
    return v->text;
}

int TRegistry::ReadInteger(const AnsiString& Name) {
    const Value* v = nullptr;
    Hive hive;
    if (open_) {
        std::lock_guard lk(StoreMutex());
        auto file = FileOf(root_);
        if (file && Load(*file, hive)) v = FindValue(hive, path_, Name);
    }
    if (!v) throw ERegistryException("Failed to get data for '" + Name + "'");
    if (!v->isInt) throw ERegistryException("Invalid data type for '" + Name + "'");
    return v->number;
}

bool TRegistry::ReadBool(const AnsiString& Name) { return ReadInteger(Name) != 0; }

void TRegistry::checkWritable(const AnsiString& name) const {
    if (!open_ || readOnly_) throw ERegistryException("Failed to set data for '" + name + "'");
}

namespace {

void Put(HKEY root, const AnsiString& path, Value v) {
    std::lock_guard lk(StoreMutex());
    auto file = FileOf(root);
    Hive hive;
    if (!file || !Load(*file, hive)) throw ERegistryException("Failed to set data for '" + v.name + "'");
    Key& key = EnsureKey(hive, path);
    const AnsiString name = v.name;
    auto it =
        std::find_if(key.values.begin(), key.values.end(), [&](const Value& o) { return SameText(o.name, name); });
    if (it != key.values.end()) {
        v.name = it->name;  // the stored spelling stays
        *it = std::move(v);
    } else {
        key.values.push_back(std::move(v));
    }
    if (!Save(*file, root, hive)) throw ERegistryException("Failed to set data for '" + name + "'");
}

}  // namespace

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
    checkWritable(Name);
    ::Value v;
    v.name = Name;
    v.text = Value;
    Put(root_, path_, std::move(v));
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value) {
    checkWritable(Name);
    ::Value v;
    v.name = Name;
    v.isInt = true;
    v.number = Value;
    Put(root_, path_, std::move(v));
}

void TRegistry::WriteBool(const AnsiString& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
