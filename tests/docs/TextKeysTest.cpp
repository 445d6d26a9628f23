// Every text key the program's code names has a text in all three languages.
#include "SourceTree.h"
#include "TextKeys.h"

#include <gtest/gtest.h>

using namespace yorde::test;

namespace {

TEST(TextKeys, EveryKeyTheCodeNamesHasATextInEachLanguage) {
    const TSourceTree tree = ReadSourceTree(YORDE_SOURCE_DIR);
    std::map<std::string, std::string> sources;
    for (const char* folder : {"workstation", "devicelink", "store", "localization", "app"}) {
        sources.merge(ReadFiles(tree, folder, {".h", ".cpp"}));
    }
    ASSERT_GT(sources.size(), 100u);
    const std::map<std::string, std::string> tables = ReadFiles(tree, "resources/forms", {".lang"});
    ASSERT_GE(tables.size(), 16u);
    for (const std::string& fault : TextKeyFaults(sources, tables)) ADD_FAILURE() << fault;
}

// The rules of the check, on made-up files.
TEST(TextKeys, FindsMissingEmptyAndBuiltKeys) {
    const std::map<std::string, std::string> tables = {{"a.lang",
                                                        "# IDS_COMMENT is no entry\n"
                                                        "stStrings\tIDS_OK\tTak\tYes\tДа\n"
                                                        "stStrings\tIDS_NO_RU\tNie\tNo\t\n"
                                                        "stStrings\tIDS_SHORT\tKrótki\n"
                                                        "stStrings\tIDS_BLANK\t \tBlank\tПусто\n"
                                                        "stCaptions\tOKBtn\tOK\t\t\n"
                                                        "stCaptions\tIDS_CAPTION\tA\tB\tC\n"
                                                        "@include common.lang\n"}};
    const std::map<std::string, std::string> sources = {{"x.cpp",
                                                         "text(\"IDS_OK\");\n"
                                                         "const char* const kKeys[] = {\"IDS_MISSING\", \"IDS_OK\",\n"
                                                         "                             \"IDS_MISSING\"};\n"
                                                         "text(\"IDS_COL_\" + n); text(\"IDS_\"); text(\"IDS_%d\");\n"
                                                         "text(\"IDS_CAPTION\");\n"}};
    const std::vector<std::string> faults = TextKeyFaults(sources, tables);
    const std::vector<std::string> expected = {
        "a.lang:3: IDS_NO_RU has no Russian text",
        "a.lang:4: IDS_SHORT has no English text",
        "a.lang:4: IDS_SHORT has no Russian text",
        "a.lang:5: IDS_BLANK has no Polish text",
        "x.cpp:2: IDS_MISSING has no text in any table's stStrings",
        "x.cpp:4: \"IDS_COL_\" is a key built at run time; name each key whole",
        "x.cpp:4: \"IDS_\" is a key built at run time; name each key whole",
        "x.cpp:4: \"IDS_%d\" is a key built at run time; name each key whole",
        "x.cpp:5: IDS_CAPTION has no text in any table's stStrings",
    };
    EXPECT_EQ(faults, expected);
}

}  // namespace
