// The libFuzzer program of one target (YORDE_FUZZ_TARGET names it): a broken
// promise or an exception that escapes the parser stops the run with the
// input kept as a crash file.
#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

const yorde::fuzz::TFuzzTarget& Target() {
    static const yorde::fuzz::TFuzzTarget* target = [] {
        const auto* t = yorde::fuzz::FindFuzzTarget(YORDE_FUZZ_TARGET);
        if (!t) {
            std::fprintf(stderr, "no fuzz target %s\n", YORDE_FUZZ_TARGET);
            std::abort();
        }
        return t;
    }();
    return *target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        Target().Run(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const yorde::fuzz::TFuzzFailure& f) {
        std::fprintf(stderr, "%s: %s\n", Target().Name, f.What.c_str());
        std::abort();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: exception escaped: %s\n", Target().Name, e.what());
        std::abort();
    }
    return 0;
}
