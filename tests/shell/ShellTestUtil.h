#pragma once
// Temporary folders and small file helpers for the shell tests.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

class TempFolder {
public:
    // The name holds a space on purpose: paths must travel as one argument.
    explicit TempFolder(const char* stem = "yorde shell") {
        std::string base = std::filesystem::temp_directory_path().string() + "/" + stem + " XXXXXX";
        if (!mkdtemp(base.data())) throw std::runtime_error("mkdtemp failed");
        path_ = base;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Generous wait for a file another process writes; no timing is asserted.
inline bool WaitForFile(const std::string& path, std::chrono::seconds limit = std::chrono::seconds(30)) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
