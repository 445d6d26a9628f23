#pragma once
// Windows code pages. Texts inside the program are bytes in a code page;
// Unicode (UTF-8) appears only where a text leaves for the screen or the
// file system. Decoding is lossless for every byte: a byte the code page
// leaves undefined becomes U+0080..U+00FF with the byte's value, and
// encoding turns that character back into the same byte.
#include "rtl/AnsiString.h"

#include <string>
#include <string_view>

// The process-wide "system" ANSI code page (1250 unless set) and the OEM
// code page of a Polish system.
int GetACP() noexcept;
void SetACP(int codePage) noexcept;
int GetOEMCP() noexcept;

// Font character sets.
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SYMBOL_CHARSET = 2;
constexpr int MAC_CHARSET = 77;
constexpr int SHIFTJIS_CHARSET = 128;
constexpr int HANGEUL_CHARSET = 129;
constexpr int HANGUL_CHARSET = 129;
constexpr int JOHAB_CHARSET = 130;
constexpr int GB2312_CHARSET = 134;
constexpr int CHINESEBIG5_CHARSET = 136;
constexpr int GREEK_CHARSET = 161;
constexpr int TURKISH_CHARSET = 162;
constexpr int VIETNAMESE_CHARSET = 163;
constexpr int HEBREW_CHARSET = 177;
constexpr int ARABIC_CHARSET = 178;
constexpr int BALTIC_CHARSET = 186;
constexpr int RUSSIAN_CHARSET = 204;
constexpr int THAI_CHARSET = 222;
constexpr int EASTEUROPE_CHARSET = 238;
constexpr int OEM_CHARSET = 255;

constexpr int CP_UTF8 = 65001;

// DEFAULT_CHARSET and unknown charsets give the ANSI code page,
// OEM_CHARSET the OEM code page.
int CharsetToCodePage(int charset) noexcept;

// Bytes in a code page -> UTF-8. Never fails.
std::string CodePageToUtf8(std::string_view bytes, int codePage);
// UTF-8 -> bytes in a code page; characters the code page cannot hold
// (and malformed UTF-8 bytes) become '?'.
AnsiString Utf8ToCodePage(std::string_view utf8, int codePage);

// The same with the ANSI code page.
std::string AnsiToUtf8(std::string_view bytes);
AnsiString Utf8ToAnsi(std::string_view utf8);

// One byte of a single-byte code page as a Unicode character.
char32_t CodePageByteToUnicode(unsigned char byte, int codePage);

// True when CodePageToUtf8/Utf8ToCodePage know the code page (own table or
// the system converter); unknown code pages are treated as Latin-1.
bool IsCodePageSupported(int codePage);

// Paths and environment texts: the file system speaks UTF-8, the program
// the ANSI code page. Pure ASCII passes unchanged.
std::string ToOsText(std::string_view ansi);
AnsiString FromOsText(std::string_view utf8);

// Case mapping of a single-byte code page (1250, 1251, 1252; ASCII only
// for the others). Built once, read-only afterwards: safe on any thread.
struct TCaseTable {
    unsigned char Upper[256];
    unsigned char Lower[256];
};
const TCaseTable& CaseTableFor(int codePage);
