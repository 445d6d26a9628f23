#include "LayerCheck.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const char* const kTable =
    "rtl:\n"
    "classes: rtl\n"
    "net: rtl classes | curl\n"
    "vcl: rtl classes\n"
    "qt: rtl classes vcl Qt QtWidgets\n"
    "store: rtl classes\n"
    "devicelink: rtl classes net store\n"
    "workstation: rtl classes net vcl store devicelink\n"
    "tools: rtl classes net vcl store devicelink workstation\n"
    "app: rtl classes net vcl qt store devicelink workstation Qt QtWidgets\n"
    "QtWidgets = QtWidgets\n"
    "Qt = Qt*\n"
    "curl = curl\n";

// A build in /src/build as the log and compile_commands.json show it, and a
// shell that answers preprocessing runs from a table of headers.
class LayerCheckTest : public ::testing::Test {
protected:
    LayerCheckTest() {
        std::vector<std::string> errors;
        table_ = ParseLayerTable(kTable, errors);
        EXPECT_TRUE(errors.empty());
        input_.SourceRoot = "/src";
        input_.BuildRoot = "/src/build";
    }

    // Source relative to /src; what it read as the log writes it.
    void compiled(const std::string& Source, std::vector<std::string> Read, bool Valid = true) {
        TDepsRecord r;
        r.Object = Source + ".o";
        r.Valid = Valid;
        r.Files.push_back("../" + Source);
        r.Files.push_back("/usr/include/c++/12/string");
        for (const std::string& f : Read) r.Files.push_back(f[0] == '/' ? f : "../" + f);
        input_.Records.push_back(std::move(r));
        built(Source);
    }
    void built(const std::string& Source) {
        input_.Commands.push_back(
            {"/src/build",
             "/usr/bin/c++ -I/src/" + Source.substr(0, Source.find('/')) + " -O2 -o " + Source + ".o -c /src/" + Source,
             "/src/" + Source});
    }

    TLayerCheckResult check() {
        return CheckLayers(table_, input_,
                           [this](const std::string& Folder, const std::string& Command, std::string& Out) {
                               runs_.push_back(Command);
                               EXPECT_EQ(Folder, "/src/build");
                               for (const auto& [header, rule] : alone_) {
                                   const auto& [flag, text] = rule;
                                   if (Command.find("'" + header + "'") != std::string::npos &&
                                       Command.find(flag) != std::string::npos) {
                                       Out = text;
                                       return true;
                                   }
                               }
                               return false;
                           });
    }

    static bool has(const std::vector<std::string>& Lines, const std::string& Part) {
        for (const std::string& l : Lines) {
            if (l.find(Part) != std::string::npos) return true;
        }
        return false;
    }

    TLayerTable table_;
    TLayerCheckInput input_;
    // Header -> the flag the compiler needs to find what it includes, and
    // its "-M" rule.
    std::map<std::string, std::pair<std::string, std::string>> alone_;
    std::vector<std::string> runs_;
};

TEST_F(LayerCheckTest, PassesABuildThatKeepsToTheTable) {
    compiled("platform/rtl/Files.cpp", {"platform/rtl/Files.h"});
    compiled("platform/net/HttpClient.cpp",
             {"platform/net/HttpClient.h", "platform/rtl/Files.h", "/usr/include/x86_64-linux-gnu/curl/curl.h"});
    compiled("devicelink/SyncRun.cpp", {"devicelink/SyncRun.h", "platform/net/HttpClient.h", "store/Users.h"});
    compiled("platform/qt/QtPeer.cpp",
             {"platform/qt/QtPeer.h", "/usr/include/x86_64-linux-gnu/qt6/QtWidgets/qwidget.h"});
    compiled("app/main.cpp", {"platform/qt/QtPeer.h", "/usr/include/x86_64-linux-gnu/qt6/QtWidgets/qwidget.h"});
    compiled("tests/store/UsersTest.cpp", {"platform/qt/QtPeer.h", "store/Users.h", "tests/support/Owned.h"});
    compiled("store/Users.cpp", {"store/Users.h"});

    const TLayerCheckResult r = check();
    EXPECT_TRUE(r.Violations.empty()) << r.Violations.front();
    EXPECT_TRUE(r.Errors.empty()) << r.Errors.front();
    EXPECT_EQ(r.FilesChecked, 6);  // the test's file is no folder's
    EXPECT_TRUE(runs_.empty());    // every header compiled within its own folder
}

TEST_F(LayerCheckTest, CatchesEveryWayOfReachingAForbiddenFolder) {
    // However the include was spelt ("platform/vcl/...", "#  include",
    // "../tools/..."), the log names the file the compiler read.
    compiled("devicelink/SyncRun.cpp", {"devicelink/SyncRun.h", "platform/vcl/Forms.h"});
    compiled("platform/rtl/Files.cpp", {"store/Users.h"});
    compiled("workstation/Unitusers.cpp", {"tools/layoutc/Compiler.h", "app/Program.h", "tests/support/Owned.h"});
    compiled("store/Users.cpp", {"store/Users.h", "/usr/include/x86_64-linux-gnu/qt6/QtCore/qstring.h"});
    compiled("devicelink/PartFile.cpp", {"platform/net/HttpTransfer.h", "/usr/include/x86_64-linux-gnu/curl/curl.h"});

    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Violations,
                    "devicelink/SyncRun.cpp reads platform/vcl/Forms.h (vcl); devicelink may include: "
                    "classes net rtl store"));
    EXPECT_TRUE(has(r.Violations, "platform/rtl/Files.cpp reads store/Users.h (store); rtl may include: "));
    EXPECT_TRUE(has(r.Violations, "workstation/Unitusers.cpp reads tools/layoutc/Compiler.h (tools)"));
    EXPECT_TRUE(has(r.Violations, "workstation/Unitusers.cpp reads app/Program.h (app)"));
    EXPECT_TRUE(has(r.Violations, "workstation/Unitusers.cpp reads tests/support/Owned.h (tests)"));
    EXPECT_TRUE(has(r.Violations, "store/Users.cpp reads /usr/include/x86_64-linux-gnu/qt6/QtCore/qstring.h (Qt)"));
    // What net keeps to itself must not reach the device link through a header.
    EXPECT_TRUE(has(r.Violations, "devicelink/PartFile.cpp reads /usr/include/x86_64-linux-gnu/curl/curl.h (curl)"));
    EXPECT_EQ(r.Violations.size(), 7u);
}

TEST_F(LayerCheckTest, NamesTheIncludeThatLedAwayOnceForAllWhoReadIt) {
    // The first file of vcl read is the one included; the rest came with it.
    for (const char* f : {"store/A.cpp", "store/B.cpp", "store/C.cpp"}) {
        compiled(f, {"store/A.h", "platform/vcl/Forms.h", "platform/rtl/Files.h", "platform/vcl/Controls.h",
                     "platform/vcl/Types.h"});
    }
    compiled("store/D.cpp", {"platform/vcl/Controls.h"});
    const TLayerCheckResult r = check();
    ASSERT_EQ(r.Violations.size(), 2u);
    EXPECT_TRUE(has(r.Violations,
                    "store/A.cpp (and 2 more) reads platform/vcl/Forms.h (vcl, and 2 more of vcl); "
                    "store may include: classes rtl"));
    EXPECT_TRUE(has(r.Violations, "store/D.cpp reads platform/vcl/Controls.h (vcl);"));
}

TEST_F(LayerCheckTest, ReadsAloneAHeaderThatOnlyHigherFoldersCompile) {
    // rtl's umbrella header is compiled only by the store, which may read
    // the store; read on its own, with rtl's flags, it shows what it pulls in.
    compiled("platform/rtl/Files.cpp", {"platform/rtl/Files.h"});
    compiled("store/Users.cpp", {"platform/rtl/SysUtils.h", "platform/rtl/Files.h", "store/Users.h"});
    alone_["/src/platform/rtl/SysUtils.h"] = {
        "", "layering: /dev/null /src/platform/rtl/SysUtils.h \\\n /src/platform/rtl/Files.h ../store/Users.h\n"};

    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Violations, "platform/rtl/SysUtils.h reads store/Users.h (store); rtl may include: nothing"));
    EXPECT_EQ(r.HeadersAlone, 1);
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_EQ(runs_[0],
              "/usr/bin/c++ -I/src/platform -O2 -M -MT layering -x c++ -include '/src/platform/rtl/SysUtils.h' "
              "/dev/null 2>/dev/null");
}

TEST_F(LayerCheckTest, ReadsAloneAHeaderOfAFolderWithoutFilesOfItsOwn) {
    // No file of the device link is compiled: the header is read with the
    // flags of a file that includes it.
    compiled("workstation/Unitconnect.cpp", {"devicelink/SyncUi.h", "platform/vcl/Forms.h"});
    compiled("platform/vcl/Forms.cpp", {"platform/vcl/Forms.h"});
    alone_["/src/devicelink/SyncUi.h"] = {"",
                                          "layering: /dev/null /src/devicelink/SyncUi.h /src/platform/vcl/Forms.h\n"};
    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Violations, "devicelink/SyncUi.h reads platform/vcl/Forms.h (vcl)"));
    ASSERT_EQ(runs_.size(), 1u);
    EXPECT_NE(runs_[0].find("-I/src/workstation"), std::string::npos);
}

TEST_F(LayerCheckTest, ReadsAHeaderWithItsIncludersFlagsWhenItsOwnFolderCannotSeeWhatItNames) {
    compiled("platform/rtl/Files.cpp", {"platform/rtl/Files.h"});
    compiled("store/Users.cpp", {"platform/rtl/Probe.h", "store/Users.h"});
    alone_["/src/platform/rtl/Probe.h"] = {"-I/src/store",
                                           "layering: /dev/null ../platform/rtl/Probe.h ../store/Users.h\n"};
    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Violations, "platform/rtl/Probe.h reads store/Users.h (store)"));
    EXPECT_TRUE(r.Errors.empty());
    ASSERT_EQ(runs_.size(), 2u);
    EXPECT_NE(runs_[0].find("-I/src/platform "), std::string::npos);
}

TEST_F(LayerCheckTest, ChecksGeneratedFilesByTheirFolder) {
    TDepsRecord moc;
    moc.Valid = true;
    moc.Files = {"platform/vcl/vcl_autogen/mocs_compilation.cpp", "../platform/qt/QtPeer.h"};
    input_.Records.push_back(moc);
    input_.Commands.push_back({"/src/build", "c++ -o x.o -c platform/vcl/vcl_autogen/mocs_compilation.cpp",
                               "platform/vcl/vcl_autogen/mocs_compilation.cpp"});
    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Violations, "build/platform/vcl/vcl_autogen/mocs_compilation.cpp reads platform/qt/QtPeer.h"));
}

TEST_F(LayerCheckTest, RefusesToPassWhatItCouldNotSee) {
    compiled("store/Users.cpp", {"store/Users.h"}, false);  // rebuilt since its record
    built("devicelink/SyncRun.cpp");                        // never built
    built("tests/store/UsersTest.cpp");                     // no folder's: may be missing
    compiled("store/Settings.cpp", {"platform/rtl/SysUtils.h"});
    // A file since taken out of the build: its old record counts for nothing.
    compiled("store/Gone.cpp", {"platform/vcl/Forms.h"});
    input_.Commands.pop_back();

    const TLayerCheckResult r = check();
    EXPECT_TRUE(has(r.Errors, "store/Users.cpp has no valid record in the dependency log: build first"));
    EXPECT_TRUE(has(r.Errors, "devicelink/SyncRun.cpp has no valid record"));
    EXPECT_TRUE(has(r.Errors, "cannot preprocess platform/rtl/SysUtils.h on its own"));
    EXPECT_EQ(r.Errors.size(), 3u);
    EXPECT_TRUE(r.Violations.empty());
}

TEST(DependencyLog, ReadsNinjaRecordsAndTheirState) {
    const std::vector<TDepsRecord> records = ParseNinjaDeps(
        "store/CMakeFiles/store.dir/Users.cpp.o: #deps 3, deps mtime 17 (VALID)\n"
        "    ../store/Users.cpp\n"
        "    /usr/include/stdc-predef.h\n"
        "    ../store/Users.h\n"
        "\n"
        "store/CMakeFiles/store.dir/Rc4.cpp.o: #deps 1, deps mtime 12 (STALE)\n"
        "    ../store/Rc4.cpp\n"
        "\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Object, "store/CMakeFiles/store.dir/Users.cpp.o");
    EXPECT_TRUE(records[0].Valid);
    EXPECT_EQ(records[0].Files,
              (std::vector<std::string>{"../store/Users.cpp", "/usr/include/stdc-predef.h", "../store/Users.h"}));
    EXPECT_FALSE(records[1].Valid);
    EXPECT_EQ(records[1].Files.size(), 1u);
}

TEST(DependencyLog, ReadsAMakeRuleAcrossContinuedLines) {
    EXPECT_EQ(ParseMakeRule("layering: /dev/null /a/b.h \\\n  /a/my\\ file.h\\\n /c.h\n"),
              (std::vector<std::string>{"/dev/null", "/a/b.h", "/a/my file.h", "/c.h"}));
    EXPECT_EQ(ParseMakeRule("layering : /a.h\nother: /b.h\n"), (std::vector<std::string>{"/a.h", "/b.h"}));
    EXPECT_TRUE(ParseMakeRule("").empty());
}

}  // namespace
