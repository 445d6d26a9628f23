#pragma once
// Waiting and the millisecond counter.
#include <cstdint>

void Sleep(std::uint32_t Milliseconds);
// Milliseconds of a monotonic clock; the 32-bit count wraps after 49 days.
std::uint32_t GetTickCount();
std::uint64_t GetTickCount64();
