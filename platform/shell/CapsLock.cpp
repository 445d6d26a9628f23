#include "CapsLock.h"

#include <filesystem>
#include <fstream>
#include <mutex>

namespace {

std::mutex providerMutex;
TCapsLockProvider capsProvider;

bool EndsWith(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

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
    return provider ? provider() : CapsLockFromLedFolder("/sys/class/leds");
}

TCapsLockProvider SetCapsLockProvider(TCapsLockProvider provider) {
    std::lock_guard lock(providerMutex);
    std::swap(capsProvider, provider);
    return provider;
}
