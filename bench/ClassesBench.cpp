// Component images, their text form, sorted string lists and text splitting.
#include "BenchComponents.h"

#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"
#include "classes/Strings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kFormControls = 300;
constexpr int kNames = 100000;
constexpr size_t kTextBytes = 10u << 20;

struct Free {
    void operator()(TObject* o) const { TObject::Free(o); }
};

// Built on first use, so that a filtered run (and its peak memory) holds
// only what it needs.
const std::string& FormImage() {
    static const std::string image = [] {
        std::unique_ptr<TBnForm, Free> form(MakeBenchForm(kFormControls));
        return ImageOf(form.get());
    }();
    return image;
}

const AnsiString& FormText() {
    static const AnsiString text = ObjectBinaryToText(FormImage());
    return text;
}

// Surnames with Polish letters (Windows-1250) and a number, in random order.
const std::vector<AnsiString>& Names() {
    static const std::vector<AnsiString> names = [] {
        const char* stems[] = {"Kowalski",
                               "\xA3"
                               "ukasiewicz",
                               "Nowak",
                               "\x8Cwi\xEAtek",
                               "Wi\xB6niewska",
                               "\xAF\xF3\xB3kowski",
                               "Zieli\xF1ska",
                               "Szyma\xF1ski",
                               "W\xF3jcik",
                               "Kami\xF1ski"};
        std::vector<AnsiString> v;
        v.reserve(kNames);
        for (int i = 0; i < kNames; ++i)
            v.push_back(AnsiString(stems[i % 10]) + " " + std::to_string(i * 7919 % 1000003));
        std::shuffle(v.begin(), v.end(), std::mt19937(42));
        return v;
    }();
    return names;
}

const AnsiString& BigText() {
    static const AnsiString text = [] {
        AnsiString t;
        t.reserve(kTextBytes + 128);
        for (int i = 0; t.size() < kTextBytes; ++i)
            t += "2024-03-01 08:" + std::to_string(i % 60) +
                 " po\xB3\xB9"
                 "czenie 0123456789 -> 0987654321\r\n";
        return t;
    }();
    return text;
}

void BM_ImageWrite(benchmark::State& state) {
    std::unique_ptr<TBnForm, Free> form(MakeBenchForm(kFormControls));
    int64_t bytes = 0;
    for (auto _ : state) {
        TMemoryStream ms;
        ms.WriteComponent(form.get());
        bytes += ms.Size();
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ImageWrite)->Unit(benchmark::kMillisecond);

void BM_ImageRead(benchmark::State& state) {
    const std::string& image = FormImage();
    for (auto _ : state) {
        TMemoryStream ms;
        ms.WriteBuffer(image.data(), int64_t(image.size()));
        ms.SetPosition(0);
        std::unique_ptr<TComponent, Free> root(ms.ReadComponent(nullptr));
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
    state.counters["image_bytes"] = double(image.size());
}
BENCHMARK(BM_ImageRead)->Unit(benchmark::kMillisecond);

void BM_ImageBinaryToText(benchmark::State& state) {
    const std::string& image = FormImage();
    for (auto _ : state) benchmark::DoNotOptimize(ObjectBinaryToText(image));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(BM_ImageBinaryToText)->Unit(benchmark::kMillisecond);

void BM_ImageTextToBinary(benchmark::State& state) {
    const AnsiString& text = FormText();
    for (auto _ : state) benchmark::DoNotOptimize(ObjectTextToBinary(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["text_bytes"] = double(text.size());
}
BENCHMARK(BM_ImageTextToBinary)->Unit(benchmark::kMillisecond);

// Each Add inserts into the array in place, so the cost grows with the
// square of the count: 10 000 shows the curve next to 100 000.
void BM_StringListSortedAdd(benchmark::State& state) {
    const auto& names = Names();
    const auto count = size_t(state.range(0));
    for (auto _ : state) {
        TStringList list;
        list.SetSorted(true);
        for (size_t i = 0; i < count; ++i) list.Add(names[i]);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(count));
}
BENCHMARK(BM_StringListSortedAdd)->Arg(kNames / 10)->Arg(kNames)->Unit(benchmark::kMillisecond);

// The same list loaded unsorted and sorted once.
void BM_StringListAddThenSort(benchmark::State& state) {
    const auto& names = Names();
    for (auto _ : state) {
        TStringList list;
        for (const AnsiString& n : names) list.Add(n);
        list.SetSorted(true);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kNames);
}
BENCHMARK(BM_StringListAddThenSort)->Unit(benchmark::kMillisecond);

void BM_StringListFind(benchmark::State& state) {
    const auto& names = Names();
    TStringList list;
    list.SetSorted(true);
    for (const AnsiString& n : names) list.Add(n);
    for (auto _ : state) {
        int index = 0;
        for (const AnsiString& n : names) benchmark::DoNotOptimize(list.Find(n, index));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kNames);
}
BENCHMARK(BM_StringListFind)->Unit(benchmark::kMillisecond);

void BM_TextSplit(benchmark::State& state) {
    const AnsiString& text = BigText();
    for (auto _ : state) {
        TStringList list;
        list.SetText(text);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_TextSplit)->Unit(benchmark::kMillisecond);

void BM_TextJoin(benchmark::State& state) {
    const AnsiString& text = BigText();
    TStringList list;
    list.SetText(text);
    for (auto _ : state) benchmark::DoNotOptimize(list.Text());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_TextJoin)->Unit(benchmark::kMillisecond);

}  // namespace
