#include "rtl/Ticks.h"

#include <chrono>
#include <thread>

void Sleep(std::uint32_t Milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds)); }

std::uint64_t GetTickCount64() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::uint32_t GetTickCount() { return std::uint32_t(GetTickCount64()); }
