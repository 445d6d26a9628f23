#pragma once
// Simple (one-to-one) case mapping for the scripts of the program's code
// pages: Latin-1, Latin Extended-A, Greek and Cyrillic. Locale-free.

char32_t UnicodeToUpper(char32_t c) noexcept;
char32_t UnicodeToLower(char32_t c) noexcept;
