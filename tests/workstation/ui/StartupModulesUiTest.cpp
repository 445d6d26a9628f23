// The two application-wide objects around the main window: the language
// data module and the hidden debug log.
#include "MainWindowFixture.h"

#include "localization/Lxcomp.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdmlang.h"

#include <QCoreApplication>

#include <filesystem>
#include <thread>

using namespace mainwindowtest;

class LanguageModule : public MainWindowTest {};

TEST_F(LanguageModule, TheFirstMarkerFoundChoosesTheLanguage) {
    struct Case {
        std::vector<const char*> markers;
        int language;
    };
    const Case cases[] = {
        {{"pl.lang", "en.lang"}, 1}, {{"en.lang"}, 2}, {{"ru.lang"}, 3}, {{"en.lang", "ru.lang"}, 2},
        {{"ru.lang", "pl.lang"}, 1},
    };
    for (const Case& c : cases) {
        for (const char* m : {"pl.lang", "en.lang", "ru.lang"}) std::filesystem::remove(program.Path(m));
        for (const char* m : c.markers) program.Write(m, "");
        CreateLanguageModule();
        EXPECT_EQ(DMLang->lxLangDispatcher1->ActiveLanguage(), c.language) << c.markers[0];
        // A marker present: none is made.
        if (c.language != 1) {
            EXPECT_FALSE(program.Exists("pl.lang"));
        }
        // The toolkit's own texts (file dialogs) speak the same language.
        const char* const cancel[] = {"Anuluj", "Cancel", "Отмена"};
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(cancel[c.language - 1]));
        TObject::Free(DMLang);
        DMLang = nullptr;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
    }
}

TEST_F(LanguageModule, WithoutAMarkerPolishStaysAndItsMarkerIsMade) {
    CreateLanguageModule();
    TlxLangDispatcher* d = DMLang->lxLangDispatcher1;
    EXPECT_EQ(d->ActiveLanguage(), 1);
    EXPECT_EQ(d->NumOfLanguages(), 3);
    EXPECT_EQ(d->Language(), "Polski");
    EXPECT_EQ(d->LangNames()->Text(), "Polski\r\nAngielski\r\nRosyjski\r\n");
    EXPECT_TRUE(program.Exists("pl.lang"));
    EXPECT_EQ(program.Read("pl.lang"), "");
    EXPECT_FALSE(program.Exists("en.lang"));
}

class DebugLogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Application->CreateForm(DebugForm);
    }
    TStrings* Lines() { return DebugForm->Memo1->Lines(); }
};

TEST_F(DebugLogTest, TheTimerClearsTheWholeLogOnlyPast10000Lines) {
    EXPECT_FALSE(DebugForm->Visible());
    EXPECT_EQ(DebugForm->Caption(), "Debug");
    TStringList many;
    for (int i = 0; i < DebugLogMaxLines; ++i) many.Add("line " + std::to_string(i));
    Lines()->AddStrings(&many);
    DebugForm->Timer1Timer(nullptr);
    EXPECT_EQ(Lines()->Count(), DebugLogMaxLines);

    DebugLog("one more");
    EXPECT_EQ(Lines()->Strings(DebugLogMaxLines), "one more");
    DebugForm->Timer1Timer(nullptr);
    EXPECT_EQ(Lines()->Count(), 0);
    EXPECT_EQ(DebugForm->Timer1->Interval(), 5000u);
    EXPECT_TRUE(DebugForm->Timer1->Enabled());
}

TEST_F(DebugLogTest, LinesFromWorkersAllArriveEachThreadInItsOrder) {
    constexpr int kThreads = 4;
    constexpr int kLines = 300;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([t] {
            for (int n = 0; n < kLines; ++n) DebugLog(std::to_string(t) + ":" + std::to_string(n));
        });
    DebugLog("main");
    for (std::thread& w : workers) w.join();
    for (int round = 0; round < 1000 && Lines()->Count() < kThreads * kLines + 1; ++round) yorde::test::ProcessEvents();

    ASSERT_EQ(Lines()->Count(), kThreads * kLines + 1);
    std::vector<int> next(kThreads, 0);
    for (int i = 0; i < Lines()->Count(); ++i) {
        const std::string line = Lines()->Strings(i);
        if (line == "main") continue;
        const size_t colon = line.find(':');
        ASSERT_NE(colon, std::string::npos) << line;
        const int t = std::stoi(line.substr(0, colon));
        EXPECT_EQ(std::stoi(line.substr(colon + 1)), next[t]++) << line;
    }
}
