// System colours and colour/charset identifiers.
#include "vcl/Graphics.h"

#include "rtl/Convert.h"

namespace {

// Our fixed palette for the system colours, written as 0xRRGGBB.
constexpr uint32_t kSystemRgb[] = {
    0xC8C8C8, 0x3A6EA5, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000, 0xB4B4B4,
    0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969,
    0xE3E3E3, 0x000000, 0xFFFFE1, 0xB5B5B5, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,
};

}  // namespace

TColor ColorToRGB(TColor Color) {
    if (int32_t(Color) >= 0) return Color;
    unsigned index = unsigned(Color) & 0xFF;
    uint32_t rgb = index < std::size(kSystemRgb) ? kSystemRgb[index] : 0;
    return TColor(int32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16)));
}

bool ColorToIdent(int32_t Color, AnsiString& Ident) { return IntToIdent(TypeInfo<TColor>(), Color, Ident); }

bool IdentToColor(const AnsiString& Ident, int32_t& Color) {
    int64_t v = 0;
    if (!IdentToInt(TypeInfo<TColor>(), Ident, v)) return false;
    Color = int32_t(v);
    return true;
}

AnsiString ColorToString(TColor Color) {
    AnsiString ident;
    if (ColorToIdent(Color, ident)) return ident;
    return "$" + IntToHex(uint32_t(Color), 8);
}

bool CharsetToIdent(int Charset, AnsiString& Ident) { return IntToIdent(TypeInfo<TFontCharset>(), Charset, Ident); }

bool IdentToCharset(const AnsiString& Ident, int& Charset) {
    int64_t v = 0;
    if (!IdentToInt(TypeInfo<TFontCharset>(), Ident, v)) return false;
    Charset = int(v);
    return true;
}
