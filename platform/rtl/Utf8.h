#pragma once
// Minimal UTF-8 reading and writing for the code page converters.
#include <cstddef>
#include <string>
#include <string_view>

namespace rtl_utf8 {

constexpr char32_t Invalid = 0xFFFFFFFF;

// Appends the UTF-8 form of one character.
void Append(std::string& out, char32_t c);

// Reads one character at s[pos] and advances pos. A malformed sequence
// (overlong, surrogate, out of range, truncated) yields Invalid and
// advances by one byte.
char32_t Next(std::string_view s, std::size_t& pos);

bool IsAscii(std::string_view s);

}  // namespace rtl_utf8
