// INI-style translation files with many keys: loading one list, loading
// every list, merging into a filled list, and taking one language by name.
#include "TestComponents.h"

#include "classes/MemoryStream.h"
#include "classes/Strings.h"
#include "localization/Lxcomp.h"
#include "rtl/Convert.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace {

using yorde::test::TTestForm;

struct Free {
    void operator()(TObject* o) const { TObject::Free(o); }
};

// A form whose translation component holds Keys message entries in three
// languages, in shuffled order; the file holds nine in ten of them with new
// texts and a tenth of keys the list lacks, so that a merge both replaces
// and keeps.
struct Fixture {
    std::unique_ptr<TTestForm, Free> Form{new TTestForm(nullptr)};
    TlxLang* Lang;
    TStringList Original;
    AnsiString FileText;
    std::string Path;

    explicit Fixture(int Keys) {
        static const bool registered = [] {
            RegisterLocalizationClasses();
            yorde::test::RegisterTestComponents();
            return true;
        }();
        (void)registered;
        Form->SetName("Form1");
        Lang = new TlxLang(Form.get());
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);

        std::vector<int> order(size_t(Keys) + size_t(Keys) / 10);
        for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
        std::mt19937 random(20);
        std::shuffle(order.begin(), order.end(), random);
        auto key = [](int i) { return "IDS_MESSAGE_" + IntToStr(i); };
        auto texts = [](int i, const char* Mark) {
            const AnsiString n = IntToStr(i);
            return AnsiString("Komunikat numer ") + n + Mark + '\1' + "Message number " + n + Mark + '\1' +
                   "Soobshchenie " + n + Mark + '\1';
        };
        // The file: keys 0 .. 1.1 Keys except every tenth below Keys.
        std::unique_ptr<TTestForm, Free> writerForm(new TTestForm(nullptr));
        TlxLang* writer = new TlxLang(writerForm.get());
        writer->SetNumLang(3);
        writer->SetLangNames(&names);
        for (int i : order)
            if (i >= Keys || i % 10 != 0) writer->Strings()->Add(key(i) + '\1' + texts(i, " (nowy)"));
        for (int i : order)
            if (i < Keys) Original.Add(key(i) + '\1' + texts(i, ""));
        TStringStream file("");
        writer->SaveToStream(stStrings, &file, "~!@#");
        FileText = file.DataString();

        char dir[] = "/tmp/yorde-bench-lx-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        Path = std::string(dir) + "/strings.ini";
        std::FILE* f = std::fopen(Path.c_str(), "wb");
        if (!f) std::abort();
        std::fwrite(FileText.data(), 1, FileText.size(), f);
        std::fclose(f);
    }
    ~Fixture() {
        std::remove(Path.c_str());
        rmdir(Path.substr(0, Path.rfind('/')).c_str());
    }
    void Reset() {
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);
        Lang->Strings()->Assign(&Original);
        Lang->UpdateStrCollections();
    }
};

template <class Work>
void run(benchmark::State& State, Work Do) {
    Fixture f(int(State.range(0)));
    for (auto _ : State) {
        State.PauseTiming();
        f.Reset();
        TStringStream stream(f.FileText);
        State.ResumeTiming();
        Do(f, stream);
    }
    State.counters["keys"] = double(State.range(0));
    State.SetItemsProcessed(State.iterations() * State.range(0));
}

void BM_IniLoadStrings(benchmark::State& State) {
    run(State,
        [](Fixture& f, TStringStream& s) { benchmark::DoNotOptimize(f.Lang->LoadFromStream(stStrings, &s, true)); });
}

void BM_IniLoadAll(benchmark::State& State) {
    run(State, [](Fixture& f, TStringStream& s) { f.Lang->LoadAllFromStream(&s, true); });
}

void BM_IniMergeStrings(benchmark::State& State) {
    run(State, [](Fixture& f, TStringStream& s) { benchmark::DoNotOptimize(f.Lang->MergeFromStream(stStrings, &s)); });
}

void BM_IniMergeAll(benchmark::State& State) {
    run(State, [](Fixture& f, TStringStream& s) { benchmark::DoNotOptimize(f.Lang->MergeAllFromStream(&s)); });
}

void BM_IniLoadLanguage(benchmark::State& State) {
    run(State, [](Fixture& f, TStringStream&) { f.Lang->LoadLanguage(f.Path, "Angielski"); });
}

void BM_IniSaveStrings(benchmark::State& State) {
    run(State, [](Fixture& f, TStringStream&) {
        TStringStream out("");
        benchmark::DoNotOptimize(f.Lang->SaveToStream(stStrings, &out, "~!@#"));
    });
}

double fewest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }
double most(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

#define LX_BENCH(name)                     \
    BENCHMARK(name)                        \
        ->Arg(5000)                        \
        ->Arg(20000)                       \
        ->Unit(benchmark::kMillisecond)    \
        ->UseRealTime()                    \
        ->ComputeStatistics("min", fewest) \
        ->ComputeStatistics("max", most)
LX_BENCH(BM_IniLoadStrings);
LX_BENCH(BM_IniLoadAll);
LX_BENCH(BM_IniMergeStrings);
LX_BENCH(BM_IniMergeAll);
LX_BENCH(BM_IniLoadLanguage);
LX_BENCH(BM_IniSaveStrings);

}  // namespace
