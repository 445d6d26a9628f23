// Shared libraries loaded at run time.
#include "rtl/DynLib.h"

#include <gtest/gtest.h>

#include <utility>

TEST(DynLib, LoadsResolvesAndReportsFailures) {
    TDynLib missing("libyorde-does-not-exist.so.9");
    EXPECT_FALSE(missing.Loaded());
    EXPECT_FALSE(missing.Error().empty());
    EXPECT_EQ(missing.Symbol("anything"), nullptr);

    TDynLib math("libm.so.6");
    ASSERT_TRUE(math.Loaded()) << math.Error();
    auto cosine = math.Function<double (*)(double)>("cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(math.Symbol("no_such_symbol_here"), nullptr);
    EXPECT_FALSE(math.Error().empty());

    TDynLib moved(std::move(math));
    EXPECT_TRUE(moved.Loaded());
    EXPECT_FALSE(math.Loaded());  // NOLINT(bugprone-use-after-move): moved-from state is defined
}
