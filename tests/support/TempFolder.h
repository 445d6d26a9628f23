#pragma once
// A private folder under the system's temporary folder for one test,
// removed with everything in it when the test ends; and whole files read
// and written as bytes.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace yorde::test {

inline void WriteFile(const std::string& Path, std::string_view Bytes) {
    std::ofstream out(Path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + Path);
    out.write(Bytes.data(), std::streamsize(Bytes.size()));
}

// Empty when the file cannot be read.
inline std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TTempFolder {
public:
    // Stem starts the folder's name, so that leftovers tell whose they are.
    explicit TTempFolder(const std::string& Stem = "yorde-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (Stem + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
        root_ = pattern + "/";
    }
    ~TTempFolder() {
        std::error_code ec;
        // A test may take its own rights away (to provoke errors): give them back first.
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& Root() const { return root_; }
    // The folder, without it.
    std::string Dir() const { return root_.substr(0, root_.size() - 1); }
    std::string Path(const std::string& Rel) const { return root_ + Rel; }
    bool Exists(const std::string& Rel) const { return std::filesystem::exists(Path(Rel)); }
    // Writes Bytes to Rel, making the folders on the way; returns the path.
    std::string Write(const std::string& Rel, std::string_view Bytes = {}) const {
        std::string path = Path(Rel);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFile(path, Bytes);
        return path;
    }
    std::string Read(const std::string& Rel) const { return ReadFile(Path(Rel)); }
    // Makes the folder Rel (and those on the way); returns its path.
    std::string MakeDir(const std::string& Rel) const {
        std::string path = Path(Rel);
        std::filesystem::create_directories(path);
        return path;
    }

private:
    std::string root_;
};

}  // namespace yorde::test
