// docs/ARCHITECTURE.md stays a true map: every form and every thread is in
// its tables beside its class and file, and every file it names exists.
#include "ArchitecturePage.h"

#include "classes/Classes.h"
#include "vcl/Forms.h"
#include "workstation/RegisterWorkstation.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <regex>

using namespace yorde::test;

namespace {

const TSourceTree& tree() {
    static const TSourceTree t = ReadSourceTree(YORDE_SOURCE_DIR);
    return t;
}

const std::string& page() {
    static const std::string p = ReadText(std::string(YORDE_SOURCE_DIR) + "/docs/ARCHITECTURE.md");
    return p;
}

std::vector<std::smatch> allMatches(const std::string& Text, const std::regex& Pattern) {
    return {std::sregex_iterator(Text.begin(), Text.end(), Pattern), std::sregex_iterator()};
}

TEST(ArchitecturePage, NamesEveryLayoutBesideTheClassItBuilds) {
    ASSERT_FALSE(page().empty());
    const std::regex root(R"((?:^|\n)object \w+: (\w+))");
    int layouts = 0;
    for (const auto& [path, text] : ReadFiles(tree(), "resources/forms", {".layout"})) {
        const std::string unit = path.substr(path.rfind('/') + 1, path.size() - path.rfind('/') - 8);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, root)) << path;
        EXPECT_TRUE(RowNames(page(), {unit, m[1].str()}))
            << "no row of the forms table names " << unit << " and " << m[1].str();
        ++layouts;
    }
    EXPECT_GE(layouts, 17);
}

TEST(ArchitecturePage, NamesEveryRegisteredFormFrameAndDataModule) {
    RegisterWorkstationClasses();
    const std::string source = ReadText(std::string(YORDE_SOURCE_DIR) + "/workstation/RegisterWorkstation.cpp");
    int forms = 0;
    for (const std::smatch& m : allMatches(source, std::regex(R"((\w+)::StaticClass\(\))"))) {
        const TMetaClass* c = GetClass(m[1].str());
        ASSERT_NE(c, nullptr) << m[1].str();
        if (!c->InheritsFrom(TCustomForm::StaticClass()) && !c->InheritsFrom(TCustomFrame::StaticClass()) &&
            !c->InheritsFrom(TDataModule::StaticClass())) {
            continue;
        }
        EXPECT_TRUE(RowNames(page(), {m[1].str()})) << "no row of the forms table names " << m[1].str();
        ++forms;
    }
    EXPECT_GE(forms, 17);
}

TEST(ArchitecturePage, NamesEveryThreadBesideTheHeaderThatDeclaresIt) {
    // A thread class: one that derives from TThread or is called so; a
    // thread of its own: a std::thread member.
    const std::regex declared(R"(class\s+(\w+)\s*(?:final\s*)?(:[^{;]*)?\{)");
    const std::regex member(R"(std::thread\s+\w+\s*[;{])");
    int threads = 0;
    for (const char* folder : {"store", "devicelink", "workstation", "localization", "app"}) {
        for (const auto& [path, text] : ReadFiles(tree(), folder, {".h"})) {
            for (const std::smatch& m : allMatches(text, declared)) {
                const std::string name = m[1].str();
                if (m[2].str().find("TThread") == std::string::npos &&
                    (name.size() < 6 || name.compare(name.size() - 6, 6, "Thread") != 0)) {
                    continue;
                }
                EXPECT_TRUE(RowNames(page(), {name, path}))
                    << "no row of the threads table names " << name << " and " << path;
                ++threads;
            }
            if (std::regex_search(text, member)) {
                EXPECT_TRUE(RowNames(page(), {path})) << "no row of the threads table names " << path;
            }
        }
    }
    EXPECT_GE(threads, 6);
}

TEST(ArchitecturePage, NamesOnlyFilesAndNamesTheTreeHolds) {
    const std::vector<std::string> stale = StaleNames(page(), tree());
    for (const std::string& name : stale) ADD_FAILURE() << "docs/ARCHITECTURE.md names `" << name << "`";
}

// The rules of the look-up itself, on a tree of a few files.
TEST(ArchitecturePage, TellsGoneFilesFromPlaceholdersAndCode) {
    TSourceTree t;
    t.Paths = {"workstation/UnitmediaframeList.cpp", "devicelink/SyncRun.h", ".ci/run"};
    t.FileNames = {"UnitmediaframeList.cpp", "SyncRun.h", "run"};
    t.Stems = {"UnitmediaframeList", "SyncRun", "run"};
    t.Words = {"TThread", "Queue", "OKBtn"};
    const std::string held =
        "`workstation/UnitmediaframeList.cpp` `workstation/` `.ci/run` `SyncRun.h` `SyncRun*` `UnitmediaframeList` "
        "`OKBtn` `TThread::Queue` `workstation/<Unit>.h` `IDS_...` `...List` `.lang` `ninja -t deps` `InitLayout()` "
        "`devicelink/Sync*.h`";
    EXPECT_TRUE(StaleNames(held, t).empty()) << StaleNames(held, t).front();
    const std::string gone =
        "`workstation/UnitmediaframePending.cpp` `workstation/Unitmediaframe` `store/` `Pending.h` `Pend*` "
        "`UnitmediaframePending` `TThread::Dequeue` `devicelink/Gone*.h` `...Pending` `...Queue`";
    EXPECT_EQ(StaleNames(gone, t),
              (std::vector<std::string>{"workstation/UnitmediaframePending.cpp", "workstation/Unitmediaframe", "store/",
                                        "Pending.h", "Pend*", "UnitmediaframePending", "TThread::Dequeue",
                                        "devicelink/Gone*.h", "...Pending", "...Queue"}));
}

TEST(ArchitecturePage, ReadsTheTreeWithoutItsBuildsAndWithoutProse) {
    // A build folder holds copies and generated files; prose could vouch
    // for a name that no code has.
    const TTempFolder root("yorde-docs");
    root.Write("devicelink/SyncRun.h", "class HTTPThread;");
    root.Write(".ci/run", "");
    root.Write("build/devicelink/Gone.h", "class GoneThread;");
    root.Write("build-asan/x/Old.cpp", "");
    root.Write("README.md", "HTTPThread and Ghost");
    root.Write("tools/build/Kept.cpp", "");
    const TSourceTree t = ReadSourceTree(root.Dir());
    EXPECT_EQ(t.Paths, (std::set<std::string>{".ci/run", "README.md", "devicelink/SyncRun.h", "tools/build/Kept.cpp"}));
    EXPECT_TRUE(t.Words.count("HTTPThread"));
    EXPECT_FALSE(t.Words.count("GoneThread"));
    EXPECT_FALSE(t.Words.count("Ghost"));
    EXPECT_TRUE(t.Stems.count("Kept"));
    EXPECT_EQ(ReadFiles(t, "devicelink", {".h"}).at("devicelink/SyncRun.h"), "class HTTPThread;");
}

TEST(ArchitecturePage, FindsANameOnlyInATableRowWithItsCompanions) {
    const std::string page =
        "`HTTPThread` is in `devicelink/SyncRun.h`.\n"
        "| `DBThread` | `devicelink/RecordListWriter.h` |\n"
        "| `LoopThread` | refresh |\n";
    EXPECT_TRUE(RowNames(page, {"DBThread", "devicelink/RecordListWriter.h"}));
    EXPECT_FALSE(RowNames(page, {"HTTPThread", "devicelink/SyncRun.h"}));  // prose, no row
    EXPECT_FALSE(RowNames(page, {"LoopThread", "devicelink/RefreshLoop.h"}));
    EXPECT_FALSE(RowNames(page, {"DBThrea"}));
}

}  // namespace
