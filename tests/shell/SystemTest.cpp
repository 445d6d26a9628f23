#include "ShellTestUtil.h"
#include "shell/CapsLock.h"

#include <gtest/gtest.h>

TEST(ShellCapsLock, ReadsTheKeyboardLed) {
    TTempFolder leds("yorde shell");
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Dir()));
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Path("missing")));

    leds.Write("input3::numlock/brightness", "1\n");
    leds.Write("input3::capslock/brightness", "0\n");
    EXPECT_FALSE(CapsLockFromLedFolder(leds.Dir()));
    // A second keyboard with Caps Lock on.
    leds.Write("input7::capslock/brightness", "1\n");
    EXPECT_TRUE(CapsLockFromLedFolder(leds.Dir()));
}
