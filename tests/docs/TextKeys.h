#pragma once
// The "IDS_" keys the program's code looks up, and their texts in the
// translation tables (resources/forms/*.lang: list type, key, a text in
// each language of rtl/Languages.h, tab-separated). A key with no text shows an empty
// message or label.
#include <map>
#include <string>
#include <vector>

namespace yorde::test {

// Sources and Tables: relative path -> text. One line per fault: a key the
// code builds at run time (it cannot be checked), a key no table holds
// among its strings (stStrings, where the code's look-ups go), and
// an entry of a table without a text in one of the languages.
std::vector<std::string> TextKeyFaults(const std::map<std::string, std::string>& Sources,
                                       const std::map<std::string, std::string>& Tables);

}  // namespace yorde::test
