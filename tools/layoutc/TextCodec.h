#pragma once
// UTF-8 source text -> bytes of a Windows code page, refusing what the code
// page cannot hold instead of turning it into '?'.
#include <string>
#include <string_view>

struct TEncoded {
    bool Ok = true;
    std::string Bytes;
    std::string Problem;  // what went wrong, when not Ok
};

// Every character must have a byte of its own in the code page. C1 control
// characters are refused too: the converters use them to carry the bytes a
// code page leaves undefined.
TEncoded EncodeUtf8(std::string_view Utf8, int CodePage);

// "U+0436 'ж'" for messages.
std::string DescribeChar(char32_t C);

// Code-page bytes back to UTF-8, for quoting a text in a message.
std::string QuoteBytes(std::string_view Bytes, int CodePage);
