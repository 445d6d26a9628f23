#pragma once
// The device link's text routines: the nonce's bytes and the encoding of the
// recording name in a download request, by the device's own rules.
#include "rtl/AnsiString.h"

// The first N byte values of a text of hexadecimal pairs; a pair is read
// up to its first non-hex character, and reading stops at the text's end.
void HexToBytes(const AnsiString& Hex, unsigned char* Out, int N);
// Two lower-case hexadecimal digits, the high nibble first.
AnsiString ByteToHex(unsigned char B);
// The device's URL encoding: letters, digits and . _ ~ ! * ( ) ' : stay;
// every other byte becomes %xx in lower case; the text ends at a NUL.
AnsiString UrlEncode(const AnsiString& Text);
