#pragma once
// What docs/ARCHITECTURE.md names: the names it sets in backticks, and the
// rows of its tables.
#include "SourceTree.h"

#include <string>
#include <vector>

namespace yorde::test {

// Every `...` of Page, in order.
std::vector<std::string> QuotedNames(const std::string& Page);

// True when one table row of Page sets every one of Names in backticks.
bool RowNames(const std::string& Page, const std::vector<std::string>& Names);

// The names of Page that the tree does not hold: a path (with "/") that is
// neither a file nor a folder, a file name ("SyncRun.h") no file has, a
// pattern ("SyncRun*", "...Pending") that fits no file, and a bare name
// that is neither a file's stem nor a word of the code. Placeholders
// ("<Unit>", "IDS_...") and code with spaces or calls are left alone.
std::vector<std::string> StaleNames(const std::string& Page, const TSourceTree& Tree);

}  // namespace yorde::test
