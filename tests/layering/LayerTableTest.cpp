#include "LayerTable.h"

#include <gtest/gtest.h>

namespace {

TLayerTable parse(const std::string& Text, std::vector<std::string>& Errors) { return ParseLayerTable(Text, Errors); }

bool mentions(const std::vector<std::string>& Errors, const std::string& Part) {
    for (const std::string& e : Errors) {
        if (e.find(Part) != std::string::npos) return true;
    }
    return false;
}

const char* const kTable =
    "# comment\n"
    "rtl:\n"
    "classes: rtl\n"
    "net: rtl classes | curl\n"
    "store: rtl classes\n"
    "devicelink: rtl classes net store\n"
    "\n"
    "QtWidgets = QtWidgets\n"
    "Qt = Qt*\n"
    "curl = curl\n";

TEST(LayerTable, ReadsWhatEachFolderMayIncludeAndKeep) {
    std::vector<std::string> errors;
    const TLayerTable t = parse(kTable, errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(t.Folders.size(), 5u);
    EXPECT_TRUE(t.Folders.at("rtl").Passed.empty());
    EXPECT_TRUE(t.Folders.at("net").Allows("curl"));
    EXPECT_EQ(t.Folders.at("net").Kept, std::set<std::string>{"curl"});
    EXPECT_FALSE(t.Folders.at("devicelink").Allows("curl"));
    EXPECT_FALSE(t.Folders.at("store").Allows("net"));
    ASSERT_EQ(t.Libraries.size(), 3u);
    EXPECT_EQ(t.Libraries[1], std::make_pair(std::string("Qt"), std::string("Qt*")));
}

TEST(LayerTable, RefusesDamagedLinesNamingThem) {
    std::vector<std::string> errors;
    parse("rtl:\nrtl: classes\nclasses: rtl\n", errors);
    EXPECT_TRUE(mentions(errors, "line 2: rtl is listed twice"));

    errors.clear();
    parse("rtl:\nstore rtl\n", errors);
    EXPECT_TRUE(mentions(errors, "line 2: neither"));

    errors.clear();
    parse("rtl:\na b: rtl\nstore: rtl/x\nQt = \nnet: rtl | rtl | rtl\n", errors);
    EXPECT_TRUE(mentions(errors, "line 2: expected"));
    EXPECT_TRUE(mentions(errors, "line 3: \"rtl/x\""));
    EXPECT_TRUE(mentions(errors, "line 4: expected"));
    EXPECT_TRUE(mentions(errors, "line 5: \"|\""));
}

TEST(LayerTable, RefusesNamesItDoesNotKnow) {
    // A misspelt folder would otherwise allow nothing and hide the intent.
    std::vector<std::string> errors;
    parse("rtl:\nstore: rtl clases | sqlite\n", errors);
    EXPECT_TRUE(mentions(errors, "store lists clases, which the table does not know"));
    EXPECT_TRUE(mentions(errors, "store lists sqlite, which the table does not know"));
}

TEST(LayerTable, ProvesThatAFolderListsAllThatItsFoldersPassOn) {
    std::vector<std::string> errors;
    parse("rtl:\nclasses: rtl\nstore: classes\n", errors);
    EXPECT_TRUE(mentions(errors, "store lists classes but not rtl, which classes passes on")) << errors.size();

    // A folder need not list itself, even when a folder it lists names it.
    errors.clear();
    parse("rtl: classes\nclasses: rtl\n", errors);
    EXPECT_TRUE(errors.empty());

    // Kept entries stay inside their folder: the includers need not list them.
    errors.clear();
    parse("rtl:\nnet: rtl | curl\ndevicelink: rtl net\ncurl = curl\n", errors);
    EXPECT_TRUE(errors.empty());

    // A folder passed on openly passes on what it passes on; one kept
    // still brings what it passes on into the folder's own files.
    errors.clear();
    parse("rtl:\nclasses: rtl\nnet: classes | rtl\nstore: | classes\nmedia: rtl | classes\n", errors);
    EXPECT_TRUE(mentions(errors, "net lists classes but not rtl"));
    EXPECT_TRUE(mentions(errors, "store lists classes but not rtl"));
    EXPECT_FALSE(mentions(errors, "media lists"));
}

TEST(LayerMap, NamesTheFolderOfEveryProjectFile) {
    std::vector<std::string> errors;
    const TLayerTable t = parse(kTable, errors);
    const TLayerMap m(t, "/src", "/src/build");
    EXPECT_EQ(m.NameOf("/src/platform/vcl/Forms.h"), "vcl");
    EXPECT_EQ(m.NameOf("/src/devicelink/SyncRun.h"), "devicelink");
    EXPECT_EQ(m.NameOf("/src/tools/layoutc/Compiler.h"), "tools");
    EXPECT_EQ(m.NameOf("/src/CMakeLists.txt"), "");
    EXPECT_EQ(m.NameOf("/srcother/store/Users.h"), "");
    // Generated files go by their place in the build folder, which lies
    // inside the source folder here.
    EXPECT_EQ(m.NameOf("/src/build/platform/qt/platform_qt_autogen/mocs_compilation.cpp"), "qt");
    EXPECT_EQ(m.NameOf("/src/build/resources/Mainunit.cpp"), "resources");
    EXPECT_EQ(m.Shown("/src/platform/rtl/Files.h"), "platform/rtl/Files.h");
    EXPECT_EQ(m.Shown("/usr/include/stdio.h"), "/usr/include/stdio.h");

    const TLayerMap outside(t, "/src/", "/tmp/b");
    EXPECT_EQ(outside.NameOf("/tmp/b/store/Generated.h"), "store");
}

TEST(LayerMap, NamesLibrariesByAFolderOnTheirPathFirstPatternFirst) {
    std::vector<std::string> errors;
    const TLayerTable t = parse(kTable, errors);
    const TLayerMap m(t, "/src", "/src/build");
    EXPECT_EQ(m.NameOf("/usr/include/x86_64-linux-gnu/qt6/QtWidgets/qwidget.h"), "QtWidgets");
    EXPECT_EQ(m.NameOf("/usr/include/x86_64-linux-gnu/qt6/QtCore/qstring.h"), "Qt");
    EXPECT_EQ(m.NameOf("/usr/include/x86_64-linux-gnu/curl/curl.h"), "curl");
    // The file's own name is no folder; neither is a name that only starts alike.
    EXPECT_EQ(m.NameOf("/usr/include/curl"), "");
    EXPECT_EQ(m.NameOf("/usr/include/curlew/x.h"), "");
    EXPECT_EQ(m.NameOf("/usr/include/c++/12/string"), "");
}

}  // namespace
