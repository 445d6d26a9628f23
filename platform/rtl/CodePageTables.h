#pragma once
// The code pages with tables of our own (no system converter needed).

// 128 characters for the bytes 0x80..0xFF, 0 where the byte is undefined;
// nullptr for code pages without an own table.
const char16_t* OwnCodePageTable(int codePage) noexcept;
