#pragma once
// A scratch folder under the system temporary folder, removed with
// everything in it when the test ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

class TempTree {
public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern + "/";
    }
    ~TempTree() {
        std::error_code ec;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // Folder with a trailing '/'.
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& rel) const { return root_ + rel; }

    void File(const std::string& rel, const std::string& bytes = "") const {
        std::ofstream(Path(rel), std::ios::binary) << bytes;
    }
    void Dir(const std::string& rel) const { std::filesystem::create_directories(Path(rel)); }
    std::string Read(const std::string& rel) const {
        std::ifstream in(Path(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string root_;
};
