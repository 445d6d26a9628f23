#pragma once
// One layout -> its binary component image.
#include "Config.h"
#include "Diagnostics.h"

#include <string>
#include <vector>

struct TCompileResult {
    std::string ClassName;                  // the root's class: the resource name
    std::string Image;                      // "TPF0" ... with the TranslationData filled in
    std::vector<std::string> Dependencies;  // every file read besides the layout
    std::vector<TLayoutDiagnostic> Errors;  // empty on success
    bool Ok() const { return Errors.empty(); }
};

// Paths in directives are relative to BaseDir. The translation table is the
// file of the same name with the extension ".lang" beside the layout.
// The classes of Config must be registered already.
TCompileResult CompileLayout(const std::string& LayoutPath, const std::string& BaseDir, const TLayoutcConfig& Config);

// The ".lang" path of a layout.
std::string LangTablePath(const std::string& LayoutPath);
