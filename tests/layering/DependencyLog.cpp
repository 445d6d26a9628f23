#include "DependencyLog.h"

#include <sstream>

std::vector<TDepsRecord> ParseNinjaDeps(const std::string& Text) {
    std::vector<TDepsRecord> records;
    std::istringstream in(Text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        if (line[0] != ' ' && line[0] != '\t') {
            // "object: #deps N, deps mtime T (VALID)"
            const size_t mark = line.find(": #deps ");
            if (mark == std::string::npos) continue;
            TDepsRecord r;
            r.Object = line.substr(0, mark);
            r.Valid = line.size() >= 7 && line.compare(line.size() - 7, 7, "(VALID)") == 0;
            records.push_back(std::move(r));
        } else if (!records.empty()) {
            const size_t start = line.find_first_not_of(" \t");
            if (start != std::string::npos) records.back().Files.push_back(line.substr(start));
        }
    }
    return records;
}

std::vector<std::string> ParseMakeRule(const std::string& Text) {
    std::vector<std::string> files;
    std::string word;
    bool target = true;
    auto end = [&] {
        if (word.empty()) return;
        if (target && word.back() == ':') {
            target = false;
        } else if (!target) {
            files.push_back(word);
        }
        word.clear();
    };
    for (size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\\' && i + 1 < Text.size() && Text[i + 1] == '\n') {
            end();
            ++i;
        } else if (c == '\\' && i + 1 < Text.size() && Text[i + 1] == ' ') {
            word += ' ';
            ++i;
        } else if (c == '\n') {
            end();
            target = true;
        } else if (c == ' ' || c == '\t') {
            end();
        } else {
            word += c;
        }
    }
    end();
    return files;
}
