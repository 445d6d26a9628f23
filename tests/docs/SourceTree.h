#pragma once
// What the docs and text tests read of the source tree: its files (build
// folders and .git left out), their names, and the words of its code.
#include <map>
#include <set>
#include <string>
#include <vector>

namespace yorde::test {

struct TSourceTree {
    std::string Root;
    std::set<std::string> Paths;      // relative, "/"-separated
    std::set<std::string> FileNames;  // "SyncRun.h"
    std::set<std::string> Stems;      // "SyncRun"
    std::set<std::string> Words;      // identifiers in code, layouts, tables and build files
};

// Root: the source folder. Markdown is left out of the words: a page must
// not vouch for itself.
TSourceTree ReadSourceTree(const std::string& Root);

// The whole file; empty when it cannot be read.
std::string ReadText(const std::string& Path);

// Relative path -> text of the files below Folder (relative to Root) that
// end in one of Extensions.
std::map<std::string, std::string> ReadFiles(const TSourceTree& Tree, const std::string& Folder,
                                             const std::vector<std::string>& Extensions);

}  // namespace yorde::test
