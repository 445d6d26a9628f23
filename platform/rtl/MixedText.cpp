#include "rtl/MixedText.h"

#include "rtl/CodePages.h"

TMixedText& TMixedText::add(const AnsiString& Bytes, bool User) {
    if (!Bytes.empty()) parts_.push_back(Part{Bytes, User});
    return *this;
}

TMixedText& TMixedText::Translated(const AnsiString& Bytes) { return add(Bytes, false); }

TMixedText& TMixedText::UserText(const AnsiString& Bytes) { return add(Bytes, true); }

AnsiString TMixedText::Bytes() const {
    AnsiString out;
    for (const Part& p : parts_) out += p.Bytes;
    return out;
}

std::string TMixedText::Utf8(int FontCodePage) const {
    std::string out;
    for (const Part& p : parts_) out += CodePageToUtf8(p.Bytes, p.User ? GetACP() : FontCodePage);
    return out;
}
