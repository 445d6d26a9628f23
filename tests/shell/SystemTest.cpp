#include "ShellTestUtil.h"
#include "shell/CapsLock.h"

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

