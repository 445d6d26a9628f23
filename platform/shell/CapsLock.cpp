#include "CapsLock.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>

namespace {

std::mutex providerMutex;
TCapsLockProvider capsProvider;

bool EndsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::optional<bool> CapsLockFromDisplay(const AnsiString& DisplayName) {
    if (DisplayName.empty() && !std::getenv("DISPLAY")) return std::nullopt;
    int event = 0, error = 0, reason = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    // A connection of its own for each question: a display that goes away
    // between two questions then costs nothing.
    std::unique_ptr<Display, int (*)(Display*)> display(
        XkbOpenDisplay(DisplayName.empty() ? nullptr : DisplayName.c_str(), &event, &error, &major, &minor, &reason),
        XCloseDisplay);
    if (!display) return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display.get(), XkbUseCoreKbd, &state) != Success) return std::nullopt;
    return (state.locked_mods & LockMask) != 0;
}

bool CapsLockFromLedFolder(const AnsiString& ledsFolder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(ledsFolder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!EndsWith(it->path().filename().string(), "::capslock")) continue;
        std::ifstream in(it->path() / "brightness");
        long value = 0;
        if (in >> value && value > 0) return true;
    }
    return false;
}

bool CapsLockOn() {
    TCapsLockProvider provider;
    {
        std::lock_guard lock(providerMutex);
        provider = capsProvider;
    }
    if (provider) return provider();
    if (const std::optional<bool> shown = CapsLockFromDisplay(AnsiString())) return *shown;
    return CapsLockFromLedFolder("/sys/class/leds");
}

TCapsLockProvider SetCapsLockProvider(TCapsLockProvider provider) {
    std::lock_guard lock(providerMutex);
    std::swap(capsProvider, provider);
    return provider;
}
