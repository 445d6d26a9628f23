#pragma once
// Base64 written independently of the code under test, to check it against.
#include <string>
#include <string_view>

// Plain RFC 4648 Base64 without line breaks.
inline std::string ReferenceBase64(std::string_view bytes) {
    static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = unsigned((unsigned char)bytes[i]) << 16 | unsigned((unsigned char)bytes[i + 1]) << 8 |
                           unsigned((unsigned char)bytes[i + 2]);
        for (int s = 18; s >= 0; s -= 6) out += abc[(v >> s) & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = unsigned((unsigned char)bytes[i]) << 16;
        if (rest == 2) v |= unsigned((unsigned char)bytes[i + 1]) << 8;
        out += abc[(v >> 18) & 63];
        out += abc[(v >> 12) & 63];
        out += rest == 2 ? abc[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// The stored layout: 72-character lines, each followed by CR LF.
inline std::string ReferenceStoredBase64(std::string_view bytes) {
    const std::string flat = ReferenceBase64(bytes);
    std::string out;
    for (std::size_t i = 0; i < flat.size(); i += 72) out += flat.substr(i, 72) + "\r\n";
    return out;
}
