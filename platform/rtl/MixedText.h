#pragma once
// A text joined from parts in different code pages: a translated text, in
// the code page of its language, around what a user typed or the store
// keeps, in the ANSI code page in every language. Each part becomes Unicode
// with its own code page, so one label can show a Russian prompt followed by
// a Polish name.
#include "rtl/AnsiString.h"

#include <string>
#include <vector>

class TMixedText {
public:
    // A part in the code page of the font that shows the text.
    TMixedText& Translated(const AnsiString& Bytes);
    // A part in the ANSI code page, whatever the font.
    TMixedText& UserText(const AnsiString& Bytes);

    bool Empty() const { return parts_.empty(); }
    // The parts' bytes one after the other.
    AnsiString Bytes() const;
    // The parts decoded one by one, the translated ones with FontCodePage.
    std::string Utf8(int FontCodePage) const;

    bool operator==(const TMixedText&) const = default;

private:
    struct Part {
        AnsiString Bytes;
        bool User = false;
        bool operator==(const Part&) const = default;
    };
    TMixedText& add(const AnsiString& Bytes, bool User);

    std::vector<Part> parts_;
};
