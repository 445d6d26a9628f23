// Every parser of outside input on its real inputs and on a fixed number of
// deterministic mutations of them: none may crash, hang, let an exception
// escape or break what it promises (FuzzTarget.h). More inputs:
// YORDE_FUZZ_ITERATIONS; other ones: YORDE_FUZZ_SEED; longer runs with
// libFuzzer: scripts/fuzz.
#include "FuzzMutator.h"
#include "FuzzTarget.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <functional>

namespace {

using namespace yorde::fuzz;

// The input as C escapes, to paste into a regression test.
std::string Escaped(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
            out += char(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
            out += "\"\"";
        }
    }
    return out;
}

// An empty text when the input passed; otherwise what went wrong.
std::string RunOne(const TFuzzTarget& target, std::string_view input) {
    try {
        target.Run(input);
    } catch (const TFuzzFailure& f) {
        return f.What;
    } catch (const std::exception& e) {
        return std::string("exception escaped: ") + e.what();
    }
    return {};
}

class FuzzTargetInSuite : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzTargetInSuite, KeepsItsPromisesOnSeedsAndMutations) {
    const TFuzzTarget* target = FindFuzzTarget(GetParam());
    ASSERT_NE(target, nullptr);
    const std::vector<std::string> seeds = AllSeeds(*target);
    ASSERT_FALSE(seeds.empty());
    for (size_t i = 0; i < seeds.size(); ++i) {
        const std::string failure = RunOne(*target, seeds[i]);
        ASSERT_EQ(failure, "") << "seed " << i << ": \"" << Escaped(seeds[i]) << "\"";
    }

    int iterations = target->SuiteInputs;
    if (const char* n = std::getenv("YORDE_FUZZ_ITERATIONS")) iterations = std::atoi(n);
    unsigned seed = 20240607u;
    if (const char* s = std::getenv("YORDE_FUZZ_SEED")) seed = unsigned(std::strtoul(s, nullptr, 10));
    std::mt19937 random(seed ^ unsigned(std::hash<std::string>()(target->Name)));
    for (int i = 0; i < iterations; ++i) {
        const std::string input = Mutate(seeds[size_t(i) % seeds.size()], random, seeds);
        const std::string failure = RunOne(*target, input);
        ASSERT_EQ(failure, "") << "input " << i << ": \"" << Escaped(input) << "\"";
    }
    ::testing::Test::RecordProperty("inputs", int(seeds.size()) + iterations);
}

std::vector<std::string> TargetNames() {
    std::vector<std::string> names;
    for (const TFuzzTarget& t : FuzzTargets()) names.push_back(t.Name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Parsers, FuzzTargetInSuite, ::testing::ValuesIn(TargetNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
