// Code-page conversion, locale-aware comparison and date-time text.
#include "rtl/CodePages.h"
#include "rtl/DateTimeText.h"
#include "rtl/StrUtils.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t kTextBytes = 10u << 20;
constexpr int kPairs = 100000;
constexpr int kDates = 10000;

// 10 MB of text in a code page: Polish in 1250 (mostly ASCII, some letters
// above 127), Russian in 1251 (mostly bytes above 127).
const AnsiString& CodePageText(int codePage) {
    static const AnsiString polish = [] {
        AnsiString t;
        while (t.size() < kTextBytes)
            t += "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1. Po\xB3\xB9"
                 "czenie od 0123456789 trwa\xB3o 00:01:27.\r\n";
        return t;
    }();
    static const AnsiString russian = [] {
        AnsiString t;
        while (t.size() < kTextBytes)
            t += "\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8 \xFD\xF2\xE8\xF5 \xEC\xFF\xE3\xEA\xE8\xF5 "
                 "\xF4\xF0\xE0\xED\xF6\xF3\xE7\xF1\xEA\xE8\xF5 \xE1\xF3\xEB\xEE\xEA.\r\n";
        return t;
    }();
    return codePage == 1251 ? russian : polish;
}

void BM_CodePageToUtf8(benchmark::State& state) {
    const int cp = int(state.range(0));
    const AnsiString& text = CodePageText(cp);
    for (auto _ : state) benchmark::DoNotOptimize(CodePageToUtf8(text, cp));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_CodePageToUtf8)->Arg(1250)->Arg(1251)->Unit(benchmark::kMillisecond);

void BM_Utf8ToCodePage(benchmark::State& state) {
    const int cp = int(state.range(0));
    const std::string utf8 = CodePageToUtf8(CodePageText(cp), cp);
    for (auto _ : state) benchmark::DoNotOptimize(Utf8ToCodePage(utf8, cp));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(utf8.size()));
}
BENCHMARK(BM_Utf8ToCodePage)->Arg(1250)->Arg(1251)->Unit(benchmark::kMillisecond);

// Pairs of names as a list compares them: mostly different, some equal but
// for case, all sharing long prefixes.
void BM_AnsiCompareText(benchmark::State& state) {
    const char* stems[] = {"\xA3ukasz \xAF\xF3\xB3kowski",
                           "\xB3ukasz \xBF\xF3\xB3kowski",
                           "\x8Cwi\xEAtos\xB3"
                           "aw Nowak",
                           "\x9Cwi\xEAtos\xB3"
                           "aw NOWAK",
                           "Kowalski Jan",
                           "Kowalska Anna"};
    std::vector<std::pair<AnsiString, AnsiString>> pairs;
    std::mt19937 rng(7);
    for (int i = 0; i < kPairs; ++i)
        pairs.emplace_back(AnsiString(stems[rng() % 6]) + " " + std::to_string(rng() % 100),
                           AnsiString(stems[rng() % 6]) + " " + std::to_string(rng() % 100));
    for (auto _ : state)
        for (const auto& p : pairs) benchmark::DoNotOptimize(AnsiCompareText(p.first, p.second));
    state.SetItemsProcessed(int64_t(state.iterations()) * kPairs);
}
BENCHMARK(BM_AnsiCompareText)->Unit(benchmark::kMillisecond);

// Call times a few minutes apart, as a recordings list shows them.
std::vector<TDateTime> CallTimes() {
    std::vector<TDateTime> v;
    const TDateTime start = EncodeDateTime(2024, 3, 1, 8, 0, 0, 0);
    for (int i = 0; i < kDates; ++i) v.push_back(start + i * (7.0 + i % 5 / 10.0) / MinsPerDay);
    return v;
}

void BM_FormatDateTime(benchmark::State& state) {
    const auto times = CallTimes();
    const AnsiString format = "yyyy-mm-dd hh:nn:ss";
    for (auto _ : state)
        for (TDateTime t : times) benchmark::DoNotOptimize(FormatDateTime(format, t));
    state.SetItemsProcessed(int64_t(state.iterations()) * kDates);
}
BENCHMARK(BM_FormatDateTime)->Unit(benchmark::kMillisecond);

void BM_DateTimeToStr(benchmark::State& state) {
    const auto times = CallTimes();
    for (auto _ : state)
        for (TDateTime t : times) benchmark::DoNotOptimize(DateTimeToStr(t));
    state.SetItemsProcessed(int64_t(state.iterations()) * kDates);
}
BENCHMARK(BM_DateTimeToStr)->Unit(benchmark::kMillisecond);

void BM_StrToDateTime(benchmark::State& state) {
    std::vector<AnsiString> texts;
    for (TDateTime t : CallTimes()) texts.push_back(DateTimeToStr(t));
    for (auto _ : state)
        for (const AnsiString& s : texts) benchmark::DoNotOptimize(StrToDateTime(s));
    state.SetItemsProcessed(int64_t(state.iterations()) * kDates);
}
BENCHMARK(BM_StrToDateTime)->Unit(benchmark::kMillisecond);

}  // namespace
