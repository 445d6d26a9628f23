// Look-ups from worker threads while the GUI thread switches languages and
// rebuilds the identifier collection (meant to run under ThreadSanitizer too).
#include "LocTestSupport.h"

#include "rtl/Convert.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
using namespace loctest;

TEST(Threads, LookupsDuringSwitchesAndRebuilds) {
    RegisterTestClasses();
    TTestDataModule dm(nullptr);
    auto* dispatcher = new TlxLangDispatcher(&dm);
    dispatcher->SetNumOfLanguages(3);
    TTestForm form(nullptr);
    auto* lang = new TlxLang(&form);
    lang->SetLangDispatcher(dispatcher);
    constexpr int ids = 200;
    TStringList strings;
    for (int i = 0; i < ids; ++i)
        strings.Add(E("IDS_" + IntToStr(i), {"pl" + IntToStr(i), "en" + IntToStr(i), i % 2 ? "" : "ru" + IntToStr(i)}));
    lang->SetStrings(&strings);

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&, w] {
            for (int n = 0; !stop.load() || n < 2000; ++n) {
                const int i = (n * 7 + w) % ids;
                const AnsiString text = lang->GetTextOrDefault("IDS_" + IntToStr(i));
                const AnsiString num = IntToStr(i);
                // Any language's text (or language 1 standing in), capitals in test mode.
                if (text != "pl" + num && text != "en" + num && text != "ru" + num && text != "PL" + num) ++wrong;
            }
        });
    }
    for (int round = 0; round < 300; ++round) {
        dispatcher->SetActiveLanguage(round % 3 + 1);
        dispatcher->SetTestMode(round % 5 == 0);
        if (round % 10 == 0) lang->SetStrings(&strings);
        if (round % 25 == 0) lang->AddString("IDS_EXTRA", {"a", "b", "c"});
    }
    stop = true;
    for (std::thread& t : workers) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
