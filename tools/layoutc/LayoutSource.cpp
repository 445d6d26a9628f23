#include "LayoutSource.h"

#include "TextCodec.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace fs = std::filesystem;

bool ReadWholeFile(const std::string& Path, std::string& Bytes) {
    std::ifstream f(Path, std::ios::binary);
    if (!f) return false;
    Bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    return !f.bad();
}

std::string ReadPng(const std::string& File) {
    static const char signature[] = "\x89PNG\r\n\x1A\n";
    std::string bytes;
    if (!ReadWholeFile(File, bytes)) throw std::runtime_error("cannot read " + File);
    if (bytes.compare(0, 8, signature, 8) != 0) throw std::runtime_error(File + " is not a PNG file");
    return bytes;
}

namespace {

void appendLE32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char(uint8_t(v >> (8 * i))));
}

// "12.png" -> 12; anything else (also "012.png") -> -1.
long imageIndex(const std::string& name) {
    if (name.size() < 5 || name.compare(name.size() - 4, 4, ".png") != 0) return -1;
    const std::string digits = name.substr(0, name.size() - 4);
    if (digits.empty() || digits.size() > 6 || (digits.size() > 1 && digits[0] == '0')) return -1;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return -1;
    return std::stol(digits);
}

}  // namespace

std::string BuildImageList(const std::string& Folder, std::vector<std::string>& Dependencies) {
    std::error_code ec;
    if (!fs::is_directory(Folder, ec)) throw std::runtime_error("no image folder " + Folder);
    std::map<long, std::string> files;
    for (const auto& e : fs::directory_iterator(Folder, ec)) {
        const long i = imageIndex(e.path().filename().string());
        if (i >= 0) files[i] = e.path().string();
    }
    if (ec) throw std::runtime_error("cannot list " + Folder);
    if (files.empty()) throw std::runtime_error("no images 0.png, 1.png, ... in " + Folder);
    std::string out;
    appendLE32(out, uint32_t(files.size()));
    long expected = 0;
    for (const auto& [index, file] : files) {
        if (index != expected)
            throw std::runtime_error(Folder + " has no " + std::to_string(expected) + ".png but has " +
                                     std::to_string(index) + ".png");
        ++expected;
        const std::string png = ReadPng(file);
        appendLE32(out, uint32_t(png.size()));
        out += png;
        Dependencies.push_back(file);
    }
    // A new image in the folder changes the folder.
    Dependencies.push_back(Folder);
    return out;
}

std::string PictureData(const std::string& Png) {
    std::string out = "\x07TBitmap";
    appendLE32(out, uint32_t(Png.size()));
    return out + Png;
}

namespace {

std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2 + 2);
    out.push_back('{');
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    out.push_back('}');
    return out;
}

class DirectiveExpander {
public:
    DirectiveExpander(const std::string& file, const std::string& baseDir, std::vector<std::string>& deps)
        : file_(file), base_(baseDir), deps_(deps) {}

    std::string run(const std::string& s) {
        std::string out;
        out.reserve(s.size());
        size_t i = 0;
        int line = 1;
        while (i < s.size()) {
            const char c = s[i];
            if (c == '\n') {
                ++line;
                out.push_back(c);
                ++i;
            } else if (c == '\'') {  // a quoted piece up to its closing quote or the line's end
                size_t j = i + 1;
                while (j < s.size() && s[j] != '\'' && s[j] != '\n') ++j;
                if (j < s.size() && s[j] == '\'') ++j;
                out.append(s, i, j - i);
                i = j;
            } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
                size_t j = s.find('\n', i);
                if (j == std::string::npos) j = s.size();
                out.append(s, i, j - i);
                i = j;
            } else if (c == '{') {  // hex written by hand
                size_t j = s.find('}', i);
                j = j == std::string::npos ? s.size() : j + 1;
                line += int(std::count(s.begin() + long(i), s.begin() + long(j), '\n'));
                out.append(s, i, j - i);
                i = j;
            } else if (c == '@') {
                i = directive(s, i, line, out);
            } else {
                out.push_back(c);
                ++i;
            }
        }
        return out;
    }

private:
    [[noreturn]] void fail(int line, const std::string& message) { TDiagnostics::Fatal(file_, line, message); }

    size_t directive(const std::string& s, size_t i, int line, std::string& out) {
        size_t j = i + 1;
        while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])) || s[j] == '_')) ++j;
        const std::string name = s.substr(i + 1, j - i - 1);
        if (name != "png" && name != "picture" && name != "imagelist")
            fail(line, "unknown directive '@" + name + "' (known: @png, @picture, @imagelist)");
        auto skipBlanks = [&] {
            while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
        };
        skipBlanks();
        if (j >= s.size() || s[j] != '(') fail(line, "'(' expected after @" + name);
        ++j;
        skipBlanks();
        if (j >= s.size() || s[j] != '\'') fail(line, "a quoted path expected in @" + name + "(...)");
        const size_t close = s.find('\'', j + 1);
        if (close == std::string::npos || s.find('\n', j) < close) fail(line, "unterminated path in @" + name);
        const std::string rel = s.substr(j + 1, close - j - 1);
        j = close + 1;
        skipBlanks();
        if (j >= s.size() || s[j] != ')') fail(line, "')' expected after the path of @" + name);
        ++j;
        if (rel.empty()) fail(line, "empty path in @" + name);
        const std::string path = (fs::path(base_) / rel).lexically_normal().string();
        try {
            if (name == "png") {
                out += toHex(ReadPng(path));
                deps_.push_back(path);
            } else if (name == "picture") {
                out += toHex(PictureData(ReadPng(path)));
                deps_.push_back(path);
            } else {
                out += toHex(BuildImageList(path, deps_));
            }
        } catch (const std::runtime_error& e) {
            fail(line, std::string("@") + name + ": " + e.what());
        }
        return j;
    }

    const std::string& file_;
    const std::string& base_;
    std::vector<std::string>& deps_;
};

}  // namespace

TLayoutSource ReadLayoutSource(const std::string& Path, const std::string& BaseDir, TDiagnostics& Diag) {
    std::string utf8;
    if (!ReadWholeFile(Path, utf8)) TDiagnostics::Fatal(Path, 0, "cannot read the file");
    if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) utf8.erase(0, 3);

    TLayoutSource src;
    const std::string expanded = DirectiveExpander(Path, BaseDir, src.Dependencies).run(utf8);

    src.Text.reserve(expanded.size());
    size_t start = 0;
    int line = 1;
    while (start <= expanded.size()) {
        size_t end = expanded.find('\n', start);
        if (end == std::string::npos) end = expanded.size();
        const TEncoded e = EncodeUtf8(std::string_view(expanded).substr(start, end - start), 1250);
        if (!e.Ok) Diag.Error(Path, line, e.Problem);
        src.Text += e.Bytes;
        if (end < expanded.size()) src.Text.push_back('\n');
        start = end + 1;
        ++line;
    }
    return src;
}
