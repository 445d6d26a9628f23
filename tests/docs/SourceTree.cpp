#include "SourceTree.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace yorde::test {

namespace {

bool endsWith(const std::string& Text, const std::string& End) {
    return Text.size() >= End.size() && Text.compare(Text.size() - End.size(), End.size(), End) == 0;
}

bool isCode(const std::string& Name) {
    for (const char* ext : {".h", ".cpp", ".layout", ".lang", ".txt", ".cmake"}) {
        if (endsWith(Name, ext)) return true;
    }
    return false;
}

void addWords(const std::string& Text, std::set<std::string>& Words) {
    std::string word;
    for (char c : Text + " ") {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            word += c;
        } else if (!word.empty()) {
            Words.insert(word);
            word.clear();
        }
    }
}

}  // namespace

std::string ReadText(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TSourceTree ReadSourceTree(const std::string& Root) {
    TSourceTree tree;
    tree.Root = Root;
    for (auto it = fs::recursive_directory_iterator(Root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = fs::relative(it->path(), Root).generic_string();
        const std::string name = it->path().filename().string();
        if (it->is_directory()) {
            if (it.depth() == 0 && (name.rfind("build", 0) == 0 || name == ".git")) it.disable_recursion_pending();
            continue;
        }
        tree.Paths.insert(rel);
        tree.FileNames.insert(name);
        tree.Stems.insert(it->path().stem().string());
        if (isCode(name)) addWords(ReadText(it->path().string()), tree.Words);
    }
    return tree;
}

std::map<std::string, std::string> ReadFiles(const TSourceTree& Tree, const std::string& Folder,
                                             const std::vector<std::string>& Extensions) {
    std::map<std::string, std::string> files;
    for (const std::string& path : Tree.Paths) {
        if (path.rfind(Folder + "/", 0) != 0) continue;
        for (const std::string& ext : Extensions) {
            if (endsWith(path, ext)) files[path] = ReadText(Tree.Root + "/" + path);
        }
    }
    return files;
}

}  // namespace yorde::test
