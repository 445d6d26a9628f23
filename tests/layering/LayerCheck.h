#pragma once
// Checks what the compiler really read for each file of a folder the table
// lists against the table, however the include was spelt: the dependency
// log of every compiled file, and for a header that no file of its own
// folder compiles, the header preprocessed on its own with that folder's
// flags.
#include "DependencyLog.h"
#include "LayerTable.h"

#include <functional>
#include <string>
#include <vector>

// One entry of compile_commands.json.
struct TCompileCommand {
    std::string Directory;
    std::string Command;  // "<compiler> <flags> -o <object> -c <source>"
    std::string File;     // absolute
};

struct TLayerCheckInput {
    std::string SourceRoot;  // absolute
    std::string BuildRoot;   // absolute; relative paths of the log lie below it
    std::vector<TDepsRecord> Records;
    std::vector<TCompileCommand> Commands;
};

// Text as one word of the shell.
std::string ShellQuoted(const std::string& Text);

// Runs Command through the shell in Folder; false when it failed.
using TRunCommand = std::function<bool(const std::string& Folder, const std::string& Command, std::string& Output)>;

struct TLayerCheckResult {
    std::vector<std::string> Violations;  // an include the table does not allow
    std::vector<std::string> Errors;      // the check could not see everything
    int FilesChecked = 0;
    int HeadersAlone = 0;  // headers preprocessed on their own
};

TLayerCheckResult CheckLayers(const TLayerTable& Table, const TLayerCheckInput& Input, const TRunCommand& Run);
