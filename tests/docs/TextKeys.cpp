#include "TextKeys.h"

#include "rtl/Languages.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace yorde::test {

namespace {

std::vector<std::string> splitTabs(const std::string& Line) {
    std::vector<std::string> fields;
    std::istringstream in(Line);
    for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
    return fields;
}

bool blank(const std::string& Text) { return Text.find_first_not_of(" \t\r") == std::string::npos; }

bool wholeKey(const std::string& Key) {
    if (Key.size() <= 4 || Key.back() == '_') return false;
    for (char c : Key) {
        if (!std::isupper(static_cast<unsigned char>(c)) && !std::isdigit(static_cast<unsigned char>(c)) && c != '_') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> TextKeyFaults(const std::map<std::string, std::string>& Sources,
                                       const std::map<std::string, std::string>& Tables) {
    std::vector<std::string> faults;
    std::set<std::string> held;
    for (const auto& [file, text] : Tables) {
        std::istringstream in(text);
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            const std::vector<std::string> f = splitTabs(line);
            if (f.size() < 2 || f[1].rfind("IDS_", 0) != 0) continue;
            if (f[0] == "stStrings") held.insert(f[1]);  // the list the code's look-ups read
            for (size_t lang = 0; lang < Languages.size(); ++lang) {
                if (f.size() <= 2 + lang || blank(f[2 + lang])) {
                    faults.push_back(file + ":" + std::to_string(number) + ": " + f[1] + " has no " +
                                     Languages[lang].Name + " text");
                }
            }
        }
    }
    std::set<std::string> reported;
    for (const auto& [file, text] : Sources) {
        for (size_t at = 0; (at = text.find("\"IDS_", at)) != std::string::npos; ++at) {
            const size_t end = text.find('"', at + 1);
            if (end == std::string::npos) break;
            const std::string key = text.substr(at + 1, end - at - 1);
            const auto line = 1 + std::count(text.begin(), text.begin() + std::ptrdiff_t(at), '\n');
            const std::string place = file + ":" + std::to_string(line) + ": ";
            if (!wholeKey(key)) {
                faults.push_back(place + "\"" + key + "\" is a key built at run time; name each key whole");
            } else if (!held.count(key) && reported.insert(key).second) {
                faults.push_back(place + key + " has no text in any table's stStrings");
            }
        }
    }
    return faults;
}

}  // namespace yorde::test
