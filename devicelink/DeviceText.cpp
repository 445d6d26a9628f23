#include "devicelink/DeviceText.h"

#include <cstdlib>
#include <cstring>

void HexToBytes(const AnsiString& Hex, unsigned char* Out, int N) {
    for (int i = 0; i < N; ++i) {
        const size_t at = size_t(2 * i);
        char pair[3] = {at < Hex.size() ? Hex[at] : '\0', at + 1 < Hex.size() ? Hex[at + 1] : '\0', '\0'};
        // A pair cut by the text's end reads as far as it goes.
        if (pair[0] == '\0') pair[1] = '\0';
        Out[i] = static_cast<unsigned char>(std::strtol(pair, nullptr, 16));
    }
}

AnsiString ByteToHex(unsigned char B) {
    static const char digits[] = "0123456789abcdef";
    return AnsiString{digits[B >> 4], digits[B & 0x0F]};
}

AnsiString UrlEncode(const AnsiString& Text) {
    static const char kept[] = "._~!*()':";
    AnsiString out;
    for (char ch : Text) {
        if (ch == '\0') break;
        const unsigned char b = static_cast<unsigned char>(ch);
        const bool plain = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                           std::strchr(kept, ch) != nullptr;
        out += plain ? AnsiString(1, ch) : "%" + ByteToHex(b);
    }
    return out;
}
