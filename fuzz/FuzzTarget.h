#pragma once
// The parsers of outside input, each wrapped as a fuzz target: a body that
// takes any bytes and checks what the parser promises (no crash, no hang,
// malformed input refused cleanly, nothing half-built), and the real inputs
// it starts from. libFuzzer runs a body for as long as one likes
// (scripts/fuzz); the test suite feeds it the seeds and a fixed number of
// mutations of them on every run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yorde::fuzz {

// A broken promise. Not a std::exception, so that a body's own catch of
// the parser's errors never swallows it.
struct TFuzzFailure {
    std::string What;
};

[[noreturn]] void Fail(const std::string& What);

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) ::yorde::fuzz::Fail(std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #condition); \
    } while (false)

struct TFuzzTarget {
    const char* Name;
    // Throws TFuzzFailure when the parser breaks a promise; any other
    // exception escaping it is a failure as well.
    void (*Run)(std::string_view Input);
    // Real inputs, made by the program's own writers.
    std::vector<std::string> (*Seeds)();
    // Deterministic mutations the test suite runs on every build.
    int SuiteInputs;
};

const std::vector<TFuzzTarget>& FuzzTargets();
// Null when there is no target of that name.
const TFuzzTarget* FindFuzzTarget(std::string_view Name);

// The target's seeds, then the files committed in fuzz/seeds/<name>/ in
// the order of their names.
std::vector<std::string> AllSeeds(const TFuzzTarget& Target);

// A private folder for targets that parse files, removed at exit.
const std::string& FuzzScratchDir();

}  // namespace yorde::fuzz
