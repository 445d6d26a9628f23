#pragma once
// What the compiler read for each file it compiled, as the build recorded
// it: Ninja's dependency log ("ninja -t deps") and a "-M" rule.
#include <string>
#include <vector>

struct TDepsRecord {
    std::string Object;
    bool Valid = false;              // false: the object changed since its record
    std::vector<std::string> Files;  // the source first, as the compiler named them
};

std::vector<TDepsRecord> ParseNinjaDeps(const std::string& Text);

// The prerequisites of the make rules in Text ("target: a b \<newline> c").
std::vector<std::string> ParseMakeRule(const std::string& Text);
