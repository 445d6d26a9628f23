#pragma once
// What layoutc writes: the generated C++ source and the dependency file.
#include <string>
#include <vector>

// A source holding Image as static data and `void Function()` registering it
// under ResourceName in the process resource table.
std::string GenerateLayoutSource(const std::string& Image, const std::string& ResourceName, const std::string& Function,
                                 const std::string& LayoutPath);

// Make-style: "Target: dep dep ..." with blanks escaped.
std::string GenerateDepfile(const std::string& Target, const std::vector<std::string>& Dependencies);

// True for a C++ identifier.
bool IsIdentifier(const std::string& Name);
