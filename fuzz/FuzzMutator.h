#pragma once
// Deterministic mutations of valid inputs, for the runs of the fuzz targets
// inside the test suite (libFuzzer mutates on its own): one to eight edits
// of the kinds that break lengths, offsets, numbers and nesting.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace yorde::fuzz {

// Pool: other valid inputs, whose pieces may be spliced in.
inline std::string Mutate(std::string Bytes, std::mt19937& Random, const std::vector<std::string>& Pool = {}) {
    auto pick = [&](size_t n) { return n ? size_t(Random() % n) : size_t(0); };
    static const uint8_t interesting[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xF0, 0x0A,
                                          0x0D, '"',  '\'', '[',  '{',  '0',  '9'};
    const int edits = 1 + int(Random() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t at = pick(Bytes.size());
        switch (Random() % 9) {
        case 0:
            if (!Bytes.empty()) Bytes[at] = char(Bytes[at] ^ (1 << (Random() % 8)));
            break;
        case 1:
            if (!Bytes.empty()) Bytes[at] = char(interesting[pick(sizeof(interesting))]);
            break;
        case 2: Bytes.insert(at, std::string(1 + pick(16), char(Random()))); break;
        case 3: Bytes.erase(at, 1 + pick(32)); break;
        case 4: Bytes.resize(pick(Bytes.size() + 1)); break;
        case 5: {
            const size_t from = pick(Bytes.size());
            Bytes.insert(at, Bytes.substr(from, 1 + pick(64)));
            break;
        }
        case 6: {
            // A counted field (16 or 32 bits) set to a boundary value.
            for (size_t k = 0; k < 4 && at + k < Bytes.size(); ++k) Bytes[at + k] = (Random() & 1) ? '\xFF' : '\x00';
            break;
        }
        case 7: {
            // A run of digits: a number grows past its type's range.
            Bytes.insert(at, std::string(1 + pick(24), char('0' + pick(10))));
            break;
        }
        default:
            if (!Pool.empty()) {
                const std::string& other = Pool[pick(Pool.size())];
                const size_t from = pick(other.size());
                Bytes.insert(at, other.substr(from, 1 + pick(128)));
            }
        }
    }
    return Bytes;
}

}  // namespace yorde::fuzz
