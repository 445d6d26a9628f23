#pragma once
// A private folder under the system temporary folder, removed with its
// contents when the benchmark ends.
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class BenchTempDir {
public:
    BenchTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "yorde-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~BenchTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    BenchTempDir(const BenchTempDir&) = delete;
    BenchTempDir& operator=(const BenchTempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
