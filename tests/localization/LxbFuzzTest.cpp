// Mutated LXB files: every one either loads or is refused with an
// exception that leaves the component as it was; none may crash (run it
// under AddressSanitizer with more inputs: YORDE_FUZZ_ITERATIONS, and other
// ones: YORDE_FUZZ_SEED).
#include "LocTestSupport.h"
#include "LxbTestSupport.h"

#include "classes/MemoryStream.h"
#include "localization/LXBFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>

namespace {
using namespace loctest;

std::string fileOf(TLXBFileManager& Manager) {
    TMemoryStream s;
    Manager.SaveToStream(&s);
    return std::string(static_cast<const char*>(s.Memory()), size_t(s.Size()));
}

// One to eight edits of the kinds that break lengths, offsets and values.
std::string mutate(std::string Bytes, std::mt19937& Random) {
    auto pick = [&](size_t n) { return n ? size_t(Random() % n) : size_t(0); };
    static const uint8_t interesting[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0xF0, 0x0A, 0x0D};
    const int edits = 1 + int(Random() % 8);
    for (int e = 0; e < edits; ++e) {
        const size_t at = pick(Bytes.size());
        switch (Random() % 7) {
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
        default:
            // A counted field (16 or 32 bits) set to a boundary value.
            for (size_t k = 0; k < 4 && at + k < Bytes.size(); ++k) Bytes[at + k] = (Random() & 1) ? '\xFF' : '\x00';
        }
    }
    return Bytes;
}

TEST(LxbFuzz, MutatedFilesLoadOrAreRefusedCleanly) {
    RegisterTestClasses();
    LxbForm source;
    source.Fill();
    LxbModule module;
    TLXBFileManager writer;
    writer.Add(module.Lang);
    writer.Add(source.Lang);
    TStringList fixed;
    fixed.Add("Polski");
    writer.SetFixedLanguages(&fixed);
    const std::string good = fileOf(writer);

    int iterations = 3000;
    if (const char* n = std::getenv("YORDE_FUZZ_ITERATIONS")) iterations = std::atoi(n);
    unsigned seed = 20240607u;
    if (const char* s = std::getenv("YORDE_FUZZ_SEED")) seed = unsigned(std::strtoul(s, nullptr, 10));
    std::mt19937 random(seed);
    int accepted = 0;
    int refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const std::string input = mutate(good, random);
        LxbForm target;
        target.Lang->Strings()->Add("IDS_MINE\1m\1");
        const std::vector<AnsiString> before = Lines(target.Lang->Strings());
        TMemoryStream s;
        s.WriteBuffer(input.data(), int64_t(input.size()));
        s.SetPosition(0);
        try {
            target.Lang->LoadAllFromBinaryStream(&s);
            ++accepted;
        } catch (const std::exception&) {
            ++refused;
            ASSERT_EQ(Lines(target.Lang->Strings()), before) << "input " << i << " changed the lists before failing";
        }
        s.SetPosition(0);
        TLXBFileManager reader;
        try {
            reader.ReadStreamContent(&s);
        } catch (const std::exception&) {
            EXPECT_EQ(reader.GetCompCount(), 0) << "input " << i;
        }
    }
    std::cout << "LXB inputs: " << iterations << ", loaded " << accepted << ", refused " << refused << std::endl;
    ::testing::Test::RecordProperty("inputs", iterations);
    EXPECT_EQ(accepted + refused, iterations);
    EXPECT_GT(refused, 0);
}

}  // namespace
