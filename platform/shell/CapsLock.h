#pragma once
// Caps Lock toggle state where the platform can tell. Linux exposes it as the
// keyboard LED in sysfs; without such an LED (no keyboard, a remote session,
// a container) the answer is false.
#include "rtl/AnsiString.h"

#include <functional>

bool CapsLockOn();

// Any "<device>::capslock" LED under the folder with a non-zero brightness.
bool CapsLockFromLedFolder(const AnsiString& ledsFolder);

// Tests inject the state; an empty function restores the real one.
using TCapsLockProvider = std::function<bool()>;
TCapsLockProvider SetCapsLockProvider(TCapsLockProvider provider);
