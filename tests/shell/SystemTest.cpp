#include "ShellTestUtil.h"
#include "shell/CapsLock.h"
#include "shell/DynLib.h"

#include <gtest/gtest.h>

TEST(ShellCapsLock, ReadsTheKeyboardLed) {
    TempFolder leds;
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Path().string()));
    EXPECT_FALSE(CapsLockFromLedFolder(leds / "missing"));

    std::filesystem::create_directory(leds / "input3::numlock");
    WriteFile(leds / "input3::numlock/brightness", "1\n");
    std::filesystem::create_directory(leds / "input3::capslock");
    WriteFile(leds / "input3::capslock/brightness", "0\n");
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Path().string()));
    // A second keyboard with Caps Lock on.
    std::filesystem::create_directory(leds / "input7::capslock");
    WriteFile(leds / "input7::capslock/brightness", "1\n");
    EXPECT_TRUE(CapsLockFromLedFolder(leds.Path().string()));
}

TEST(ShellDynLib, LoadsResolvesAndReportsFailures) {
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
