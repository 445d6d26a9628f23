#pragma once
// Starting another program in place of the Windows shell's "open": the new
// process runs detached in its own session, receives each argument as one
// argv element and inherits no descriptor beyond standard input, output and
// error (the single-instance socket must not outlive us in the child).
#include "rtl/AnsiString.h"

#include <functional>
#include <vector>

struct TLaunchRequest {
    AnsiString Program;  // resolved path as it would be executed
    std::vector<AnsiString> Args;
    AnsiString WorkDir;  // empty: the caller's current folder
};

// Starts the program and returns false when it could not be started
// (missing, not executable, fork failure). A name without a slash is looked
// up in the program's folder, with a trailing ".exe" dropped, so the Windows
// name of a helper finds the Linux binary shipped beside us.
bool ShellStart(const AnsiString& program, const std::vector<AnsiString>& args, const AnsiString& workDir = "");

// The path ShellStart executes for a given name; pure, for tests and logs.
AnsiString ResolveLaunchPath(const AnsiString& program, const AnsiString& programFolder);

// Test hook: while set, ShellStart hands the request to the hook instead of
// starting anything and returns its result. An empty hook restores real
// launching. Returns the previous hook.
using TLaunchHook = std::function<bool(const TLaunchRequest&)>;
TLaunchHook SetLaunchHook(TLaunchHook hook);
