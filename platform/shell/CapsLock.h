#pragma once
// Caps Lock toggle state. The display server keeps it for the keyboard it
// serves, which is also the keyboard of a remote desktop or a virtual
// display; without a display the keyboard LED in sysfs tells; without
// either (no keyboard, a container) the answer is false.
#include "rtl/AnsiString.h"

#include <functional>
#include <optional>

bool CapsLockOn();

// The lock state the X server DisplayName (empty: $DISPLAY) keeps for its
// core keyboard; nothing when the server cannot be reached or has no
// keyboard extension.
std::optional<bool> CapsLockFromDisplay(const AnsiString& DisplayName);

// Any "<device>::capslock" LED under the folder with a non-zero brightness.
bool CapsLockFromLedFolder(const AnsiString& ledsFolder);

// Tests inject the state; an empty function restores the real one.
using TCapsLockProvider = std::function<bool()>;
TCapsLockProvider SetCapsLockProvider(TCapsLockProvider provider);
