#pragma once
// Text inside the program: bytes in a Windows code page (Polish 1250,
// Russian 1251), exactly as the program's files and databases hold them.
#include <string>
#include <string_view>

using AnsiString = std::string;

// A text built from a null C string is empty, never undefined.
inline AnsiString FromCStr(const char* s) { return s ? AnsiString(s) : AnsiString(); }
