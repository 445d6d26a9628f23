#pragma once
// The system converter (glibc iconv) for the rare code pages without an
// own table, with the same undefined-byte rule as the own tables.
#include <string>
#include <string_view>

namespace rtl_iconv {

// The converter's name for a Windows code page ("CP932", "MACINTOSH").
std::string CodePageName(int codePage);

bool Supported(int codePage);

// Both return false when the system has no converter for the code page.
bool Decode(std::string_view bytes, int codePage, std::string& utf8);
bool Encode(std::string_view utf8, int codePage, std::string& bytes);

}  // namespace rtl_iconv
