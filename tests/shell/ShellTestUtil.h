#pragma once
// Temporary folders, files and waiting for them, for the shell tests.
// Their folders' names hold a space on purpose: paths must travel as one argument.
#include "TempFolder.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

using yorde::test::ReadFile;
using yorde::test::TTempFolder;
using yorde::test::WriteFile;

// Generous wait for a file another process writes; no timing is asserted.
inline bool WaitForFile(const std::string& path, std::chrono::seconds limit = std::chrono::seconds(30)) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
