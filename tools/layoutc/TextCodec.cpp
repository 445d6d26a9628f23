#include "TextCodec.h"

#include "rtl/CodePages.h"
#include "rtl/Utf8.h"

#include <cstdio>

std::string DescribeChar(char32_t C) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(C));
    std::string s = code;
    if (C >= 0x20 && !(C >= 0x7F && C <= 0x9F)) {
        s += " '";
        rtl_utf8::Append(s, C);
        s += "'";
    }
    return s;
}

TEncoded EncodeUtf8(std::string_view Utf8, int CodePage) {
    TEncoded out;
    size_t pos = 0;
    while (pos < Utf8.size()) {
        const size_t start = pos;
        const char32_t c = rtl_utf8::Next(Utf8, pos);
        if (c == rtl_utf8::Invalid) {
            out.Ok = false;
            out.Problem = "malformed UTF-8 at byte " + std::to_string(start + 1) + " of the text";
            return out;
        }
        if (c < 0x80) {
            out.Bytes.push_back(char(c));
            continue;
        }
        const AnsiString b = c <= 0x9F ? AnsiString("?") : Utf8ToCodePage(Utf8.substr(start, pos - start), CodePage);
        if (b.size() != 1 || b == "?") {
            out.Ok = false;
            out.Problem = "character " + DescribeChar(c) + " has no Windows-" + std::to_string(CodePage) + " form";
            return out;
        }
        out.Bytes += b;
    }
    return out;
}

std::string QuoteBytes(std::string_view Bytes, int CodePage) { return "'" + CodePageToUtf8(Bytes, CodePage) + "'"; }
