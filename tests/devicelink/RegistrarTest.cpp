// The registrar's thread: hand-overs registered one at a time in the order
// given, and after a failure nothing more (its unfinished files removed).
#include "TempFolder.h"

#include "devicelink/Registrar.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TArrivals Owing(std::initializer_list<const char*> Names) {
    TArrivals arrivals;
    for (const char* name : Names) arrivals.Owed.emplace_back(name);
    return arrivals;
}

}  // namespace

TEST(Registrar, RegistersInOrderAndNothingAfterAFailure) {
    yorde::test::TTempFolder folder{"yorde-registrar"};
    std::vector<std::string> seen;  // the registrar's thread only, until Drain
    TRegistrar registrar([&](TArrivals& Arrivals) {
        for (const AnsiString& name : Arrivals.Owed) {
            if (name == "refused") throw Exception("refused");
            seen.push_back(name);
        }
    });
    EXPECT_TRUE(registrar.Idle());
    registrar.Submit(Owing({"a", "b"}));
    registrar.Submit(Owing({"c"}));
    registrar.Drain();
    EXPECT_FALSE(registrar.Failed());
    EXPECT_NO_THROW(registrar.ThrowIfFailed());
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));

    registrar.Submit(Owing({"d", "refused", "e"}));
    TArrivals after = Owing({"f"});
    after.Files.push_back({"late.wav", std::make_unique<TPartFile>(folder.Path("late.wav"))});
    ASSERT_TRUE(folder.Exists("late.wav.part"));
    registrar.Submit(std::move(after));
    registrar.Drain();
    EXPECT_TRUE(registrar.Failed());
    EXPECT_THROW(registrar.ThrowIfFailed(), Exception);
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_FALSE(folder.Exists("late.wav.part"));
    EXPECT_TRUE(registrar.Idle());
}
