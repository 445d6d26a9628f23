#include "LangTable.h"

#include "LayoutSource.h"
#include "TextCodec.h"

#include "rtl/Utf8.h"

#include <filesystem>

namespace {

constexpr int maxIncludeDepth = 8;

// "list type, key, Polish, English, Russian"
std::string fieldNames() {
    std::string names = "list type, key";
    for (const TLanguage& l : Languages) names += std::string(", ") + l.Name;
    return names;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::string trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The bytes that cannot stand inside an entry.
const char* reservedByte(const std::string& s) {
    for (char c : s) {
        if (c == '\x01') return "0x01 (the language delimiter)";
        if (c == '\x19') return "0x19 (a stored CR)";
        if (c == '\x1A') return "0x1A (a stored LF)";
        if (c == '\0') return "0x00";
    }
    return nullptr;
}

class Reader {
public:
    Reader(TDiagnostics& diag, std::vector<std::string>& deps) : diag_(diag), deps_(deps) {}

    void read(const std::string& path, int depth, const std::string& from, int fromLine) {
        std::string text;
        if (!ReadWholeFile(path, text)) {
            diag_.Error(from.empty() ? path : from, fromLine, "cannot read the translation table " + path);
            return;
        }
        deps_.push_back(path);
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
        size_t start = 0;
        int line = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string s = text.substr(start, end - start);
            start = end + 1;
            ++line;
            if (!s.empty() && s.back() == '\r') s.pop_back();
            const std::string t = trim(s);
            if (t.empty() || t[0] == '#') continue;
            if (t.compare(0, 8, "@include") == 0 && (t.size() == 8 || t[8] == ' ' || t[8] == '\t')) {
                include(path, line, trim(t.substr(8)), depth);
                continue;
            }
            entry(path, line, s);
        }
    }

    std::vector<TLangEntry> Entries;

private:
    void include(const std::string& path, int line, const std::string& name, int depth) {
        if (name.empty()) {
            diag_.Error(path, line, "@include needs a file name");
            return;
        }
        if (depth >= maxIncludeDepth) {
            diag_.Error(path, line, "@include nested too deeply (a cycle?)");
            return;
        }
        namespace fs = std::filesystem;
        read((fs::path(path).parent_path() / name).lexically_normal().string(), depth + 1, path, line);
    }

    void entry(const std::string& path, int line, const std::string& s) {
        auto error = [&](const std::string& m) { diag_.Error(path, line, m); };
        const std::vector<std::string> f = splitTabs(s);
        if (f.size() != 2 + LanguageCount) {
            error("expected " + std::to_string(2 + LanguageCount) + " tab-separated fields (" + fieldNames() +
                  "), found " + std::to_string(f.size()));
            return;
        }
        TLangEntry e;
        e.File = path;
        e.Line = line;
        if (!StringsTypeFromName(f[0], e.Type)) {
            error("unknown list type '" + f[0] + "'");
            return;
        }
        e.Key = f[1];
        bool ok = true;
        if (e.Key.empty()) {
            error("empty key");
            ok = false;
        } else if (trim(e.Key) != e.Key) {
            error("the key '" + e.Key + "' has blanks at its ends");
            ok = false;
        } else if (!rtl_utf8::IsAscii(e.Key)) {
            error("the key '" + e.Key + "' is not ASCII");
            ok = false;
        } else if (const char* b = reservedByte(e.Key)) {
            error(std::string("the key holds the byte ") + b);
            ok = false;
        }
        for (size_t l = 0; l < Languages.size(); ++l) {
            const TLanguage& language = Languages[l];
            const std::string& utf8 = f[2 + l];
            if (const char* b = reservedByte(utf8)) {
                error(std::string("the ") + language.Name + " text holds the byte " + b);
                ok = false;
                continue;
            }
            if (language.AsciiOnly && !rtl_utf8::IsAscii(utf8)) {
                size_t pos = 0;
                char32_t c = 0;
                while (pos < utf8.size() && (c = rtl_utf8::Next(utf8, pos)) < 0x80) {
                }
                error(std::string("the ") + language.Name + " text must be ASCII; it holds " + DescribeChar(c));
                ok = false;
                continue;
            }
            const TEncoded enc = EncodeUtf8(utf8, language.CodePage);
            if (!enc.Ok) {
                error(std::string("the ") + language.Name + " text: " + enc.Problem);
                ok = false;
                continue;
            }
            e.Texts[l] = enc.Bytes;
        }
        if (ok) Entries.push_back(std::move(e));
    }

    TDiagnostics& diag_;
    std::vector<std::string>& deps_;
};

}  // namespace

std::vector<TLangEntry> ReadLangTable(const std::string& Path, TDiagnostics& Diag,
                                      std::vector<std::string>& Dependencies) {
    Reader r(Diag, Dependencies);
    r.read(Path, 0, std::string(), 0);
    return std::move(r.Entries);
}
