#include "LayerTable.h"

#include <sstream>

namespace {

std::vector<std::string> words(const std::string& Text) {
    std::istringstream in(Text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool isName(const std::string& Word) {
    if (Word.empty()) return false;
    for (char c : Word) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// A folder line: "name: passed... | kept...".
void readFolder(const std::string& Line, int Number, TLayerTable& Table, std::vector<std::string>& Errors) {
    const size_t colon = Line.find(':');
    const std::string where = "line " + std::to_string(Number) + ": ";
    const std::vector<std::string> head = words(Line.substr(0, colon));
    if (head.size() != 1 || !isName(head[0])) {
        Errors.push_back(where + "expected \"folder: folders...\"");
        return;
    }
    if (Table.Folders.count(head[0])) {
        Errors.push_back(where + head[0] + " is listed twice");
        return;
    }
    TLayerFolder& folder = Table.Folders[head[0]];
    bool kept = false;
    for (const std::string& w : words(Line.substr(colon + 1))) {
        if (w == "|" && !kept) {
            kept = true;
        } else if (isName(w)) {
            (kept ? folder.Kept : folder.Passed).insert(w);
        } else {
            Errors.push_back(where + "\"" + w + "\" is no folder or library name");
        }
    }
}

// A library line: "name = pattern".
void readLibrary(const std::string& Line, int Number, TLayerTable& Table, std::vector<std::string>& Errors) {
    const size_t eq = Line.find('=');
    const std::vector<std::string> name = words(Line.substr(0, eq));
    const std::vector<std::string> pattern = words(Line.substr(eq + 1));
    if (name.size() != 1 || !isName(name[0]) || pattern.size() != 1) {
        Errors.push_back("line " + std::to_string(Number) + ": expected \"library = folder pattern\"");
        return;
    }
    Table.Libraries.emplace_back(name[0], pattern[0]);
}

bool known(const TLayerTable& Table, const std::string& Name) {
    if (Table.Folders.count(Name)) return true;
    for (const auto& lib : Table.Libraries) {
        if (lib.first == Name) return true;
    }
    return false;
}

// What a listed folder passes on must be allowed where it arrives.
void checkClosed(const TLayerTable& Table, std::vector<std::string>& Errors) {
    for (const auto& [name, folder] : Table.Folders) {
        for (const std::set<std::string>* list : {&folder.Passed, &folder.Kept}) {
            for (const std::string& listed : *list) {
                if (!known(Table, listed)) {
                    Errors.push_back(name + " lists " + listed + ", which the table does not know");
                    continue;
                }
                const auto it = Table.Folders.find(listed);
                if (it == Table.Folders.end()) continue;
                for (const std::string& passed : it->second.Passed) {
                    const bool fits = list == &folder.Passed ? folder.Passed.count(passed) > 0 : folder.Allows(passed);
                    if (!fits && passed != name) {
                        Errors.push_back(name + " lists " + listed + " but not " + passed + ", which " + listed +
                                         " passes on");
                    }
                }
            }
        }
    }
}

bool fits(const std::string& Pattern, const std::string& Name) {
    if (!Pattern.empty() && Pattern.back() == '*')
        return Name.compare(0, Pattern.size() - 1, Pattern, 0, Pattern.size() - 1) == 0;
    return Name == Pattern;
}

std::string withSlash(std::string Path) {
    if (Path.empty() || Path.back() != '/') Path += '/';
    return Path;
}

}  // namespace

TLayerTable ParseLayerTable(const std::string& Text, std::vector<std::string>& Errors) {
    TLayerTable table;
    std::istringstream in(Text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos || line[line.find_first_not_of(" \t")] == '#') {
            continue;
        }
        if (line.find(':') != std::string::npos) {
            readFolder(line, number, table, Errors);
        } else if (line.find('=') != std::string::npos) {
            readLibrary(line, number, table, Errors);
        } else {
            Errors.push_back("line " + std::to_string(number) + ": neither a folder nor a library");
        }
    }
    checkClosed(table, Errors);
    return table;
}

TLayerMap::TLayerMap(const TLayerTable& Table, std::string SourceRoot, std::string BuildRoot)
    : table_(Table), source_(withSlash(std::move(SourceRoot))), build_(withSlash(std::move(BuildRoot))) {}

std::string TLayerMap::relative(const std::string& Path) const {
    // The build folder first: it may lie inside the source folder.
    for (const std::string* root : {&build_, &source_}) {
        if (Path.compare(0, root->size(), *root) == 0) return Path.substr(root->size());
    }
    return {};
}

std::string TLayerMap::FolderOf(const std::string& Path) const {
    const std::string rel = relative(Path);
    const size_t slash = rel.find('/');
    if (slash == std::string::npos) return {};
    const std::string first = rel.substr(0, slash);
    if (first != "platform") return first;
    const size_t next = rel.find('/', slash + 1);
    return next == std::string::npos ? first : rel.substr(slash + 1, next - slash - 1);
}

std::string TLayerMap::NameOf(const std::string& Path) const {
    if (!relative(Path).empty()) return FolderOf(Path);
    // The folders on the path, the file's own name left out.
    std::vector<std::string> folders;
    for (size_t start = 0, slash; (slash = Path.find('/', start)) != std::string::npos; start = slash + 1) {
        folders.push_back(Path.substr(start, slash - start));
    }
    for (const auto& [name, pattern] : table_.Libraries) {
        for (const std::string& f : folders) {
            if (fits(pattern, f)) return name;
        }
    }
    return {};
}

std::string TLayerMap::Shown(const std::string& Path) const {
    return Path.compare(0, source_.size(), source_) == 0 ? Path.substr(source_.size()) : Path;
}
