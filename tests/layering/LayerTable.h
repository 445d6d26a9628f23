#pragma once
// The table of directions (cmake/Layers.txt): what each folder's files may
// include, and which headers of other libraries the table names.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct TLayerFolder {
    std::set<std::string> Passed;  // may include, and pass on to its includers
    std::set<std::string> Kept;    // may include in its own files only
    bool Allows(const std::string& Name) const { return Passed.count(Name) || Kept.count(Name); }
};

struct TLayerTable {
    std::map<std::string, TLayerFolder> Folders;
    std::vector<std::pair<std::string, std::string>> Libraries;  // name, folder pattern; the first that fits
};

// Errors name the line (or the folder) at fault; a table with errors checks
// nothing. Besides the form, a folder must list all that each folder it
// lists passes on, and name only folders and libraries the table knows.
TLayerTable ParseLayerTable(const std::string& Text, std::vector<std::string>& Errors);

// Where a file lies, as the table names it.
class TLayerMap {
public:
    // Both roots absolute; the build folder may lie inside the source folder.
    TLayerMap(const TLayerTable& Table, std::string SourceRoot, std::string BuildRoot);

    // The project folder of an absolute path (platform/x/...: "x"; a/...:
    // "a"; generated files go by their place in the build folder), or the
    // library its folders name; empty for any other file.
    std::string NameOf(const std::string& Path) const;
    // The project folder only; empty outside the project.
    std::string FolderOf(const std::string& Path) const;
    // Path relative to the source folder when it lies there, for messages.
    std::string Shown(const std::string& Path) const;

private:
    std::string relative(const std::string& Path) const;

    const TLayerTable& table_;
    std::string source_;
    std::string build_;
};
