#pragma once
// UTF-16 <-> UTF-8 for the wide strings of component images.
#include <string>
#include <string_view>

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// Malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
