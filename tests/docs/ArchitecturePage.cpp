#include "ArchitecturePage.h"

#include <sstream>

namespace yorde::test {

namespace {

// "*" stands for any run of characters.
bool fits(const std::string& Pattern, const std::string& Name) {
    const size_t star = Pattern.find('*');
    if (star == std::string::npos) return Pattern == Name;
    const std::string head = Pattern.substr(0, star), rest = Pattern.substr(star + 1);
    if (Name.compare(0, head.size(), head) != 0) return false;
    for (size_t from = head.size(); from <= Name.size(); ++from) {
        if (fits(rest, Name.substr(from))) return true;
    }
    return false;
}

bool anyFits(const std::string& Pattern, const std::set<std::string>& Names) {
    for (const std::string& n : Names) {
        if (fits(Pattern, n)) return true;
    }
    return false;
}

bool isPlaceholder(const std::string& Name) {
    if (Name.empty() || (Name[0] == '.' && Name[1] != '.' && Name.find('/') == std::string::npos))
        return true;                                                                   // ".lang"
    if (Name.size() > 3 && Name.compare(Name.size() - 3, 3, "...") == 0) return true;  // "IDS_..."
    for (const char* mark : {" ", "<", "(", "&", "\"", "->"}) {
        if (Name.find(mark) != std::string::npos) return true;
    }
    return false;
}

bool held(std::string Name, const TSourceTree& Tree) {
    // "...Pending": a file whose name ends so.
    if (Name.rfind("...", 0) == 0) Name = "*" + Name.substr(3);
    if (Name.find('/') != std::string::npos) {
        const std::string path = Name.back() == '/' ? Name.substr(0, Name.size() - 1) : Name;
        if (path.find('*') != std::string::npos) return anyFits(path, Tree.Paths);
        auto it = Tree.Paths.lower_bound(path);
        return it != Tree.Paths.end() && (*it == path || it->rfind(path + "/", 0) == 0);
    }
    if (Name.find('*') != std::string::npos) return anyFits(Name, Tree.Stems) || anyFits(Name, Tree.FileNames);
    if (Name.find("::") != std::string::npos) {
        for (size_t start = 0, end;; start = end + 2) {
            end = Name.find("::", start);
            if (!Tree.Words.count(Name.substr(start, end - start))) return false;
            if (end == std::string::npos) return true;
        }
    }
    if (Name.find('.') != std::string::npos) return Tree.FileNames.count(Name) > 0;
    return Tree.Stems.count(Name) || Tree.Words.count(Name);
}

}  // namespace

std::vector<std::string> QuotedNames(const std::string& Page) {
    std::vector<std::string> names;
    for (size_t open = Page.find('`'); open != std::string::npos; open = Page.find('`', open + 1)) {
        const size_t close = Page.find('`', open + 1);
        if (close == std::string::npos) break;
        names.push_back(Page.substr(open + 1, close - open - 1));
        open = close;
    }
    return names;
}

bool RowNames(const std::string& Page, const std::vector<std::string>& Names) {
    std::istringstream in(Page);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("|", 0) != 0) continue;
        bool all = true;
        for (const std::string& n : Names) all = all && line.find("`" + n + "`") != std::string::npos;
        if (all) return true;
    }
    return false;
}

std::vector<std::string> StaleNames(const std::string& Page, const TSourceTree& Tree) {
    std::vector<std::string> stale;
    for (const std::string& name : QuotedNames(Page)) {
        if (!isPlaceholder(name) && !held(name, Tree)) stale.push_back(name);
    }
    return stale;
}

}  // namespace yorde::test
