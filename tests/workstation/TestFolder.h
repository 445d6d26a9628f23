#pragma once
// A scratch folder for one test, removed with its content afterwards, and
// reference helpers written independently of the code under test.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

class TestFolder {
public:
    TestFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ws-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root_ = pattern + "/";
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // With a trailing "/".
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& rel) const { return root_ + rel; }
    bool Exists(const std::string& rel) const { return std::filesystem::exists(Path(rel)); }
    void Write(const std::string& rel, std::string_view bytes) const {
        std::ofstream(Path(rel), std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string Read(const std::string& rel) const {
        std::ifstream in(Path(rel), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string root_;
};

// Plain RFC 4648 Base64 without line breaks.
inline std::string ReferenceBase64(std::string_view bytes) {
    static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = unsigned((unsigned char)bytes[i]) << 16 | unsigned((unsigned char)bytes[i + 1]) << 8 |
                           unsigned((unsigned char)bytes[i + 2]);
        for (int s = 18; s >= 0; s -= 6) out += abc[(v >> s) & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = unsigned((unsigned char)bytes[i]) << 16;
        if (rest == 2) v |= unsigned((unsigned char)bytes[i + 1]) << 8;
        out += abc[(v >> 18) & 63];
        out += abc[(v >> 12) & 63];
        out += rest == 2 ? abc[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// The stored layout: 72-character lines, each followed by CR LF.
inline std::string ReferenceStoredBase64(std::string_view bytes) {
    const std::string flat = ReferenceBase64(bytes);
    std::string out;
    for (std::size_t i = 0; i < flat.size(); i += 72) out += flat.substr(i, 72) + "\r\n";
    return out;
}
