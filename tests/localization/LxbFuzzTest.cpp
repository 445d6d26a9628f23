// Mutated LXB files: every one either loads or is refused with an
// exception that leaves the component as it was; none may crash (run it
// under AddressSanitizer with more inputs: YORDE_FUZZ_ITERATIONS, and other
// ones: YORDE_FUZZ_SEED).
#include "FuzzMutator.h"
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
        const std::string input = yorde::fuzz::Mutate(good, random);
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
