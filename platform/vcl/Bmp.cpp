// The BMP file format. Input is not trusted: every read is bounds-checked and
// a malformed file raises EInvalidGraphic.
#include "vcl/Graphics.h"

#include <cstring>

namespace {

[[noreturn]] void invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

struct Reader {
    const std::string& s;
    size_t need(size_t pos, size_t n) const {
        if (pos > s.size() || n > s.size() - pos) invalid();
        return pos;
    }
    uint32_t u8(size_t p) const {
        need(p, 1);
        return uint8_t(s[p]);
    }
    uint32_t u16(size_t p) const {
        need(p, 2);
        return uint8_t(s[p]) | uint32_t(uint8_t(s[p + 1])) << 8;
    }
    uint32_t u32(size_t p) const {
        need(p, 4);
        return u16(p) | u16(p + 2) << 16;
    }
};

void put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// Channel from a bit mask, scaled to 0..255.
uint32_t channel(uint32_t v, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t max = mask >> shift, c = (v & mask) >> shift;
    return max ? (c * 255 + max / 2) / max : 0;
}

}  // namespace

bool IsBmpData(const std::string& Bytes) { return Bytes.size() >= 26 && Bytes[0] == 'B' && Bytes[1] == 'M'; }

void DecodeBmp(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels) {
    Reader r{Bytes};
    if (!IsBmpData(Bytes)) invalid();
    uint32_t offBits = r.u32(10);
    uint32_t hdr = r.u32(14);
    int32_t w, h;
    uint32_t bits, compression = 0, clrUsed = 0;
    size_t paletteAt = 14 + hdr;
    size_t paletteEntry = 4;
    if (hdr == 12) {
        w = int16_t(r.u16(18));
        h = int16_t(r.u16(20));
        bits = r.u16(24);
        paletteEntry = 3;
    } else if (hdr >= 40) {
        w = int32_t(r.u32(18));
        h = int32_t(r.u32(22));
        bits = r.u16(28);
        compression = r.u32(30);
        clrUsed = r.u32(46);
    } else {
        invalid();
    }
    bool topDown = h < 0;
    if (h < 0) h = -h;
    if (w <= 0 || h <= 0 || w > 32768 || h > 32768 || int64_t(w) * h > (int64_t(1) << 26)) invalid();

    uint32_t rMask = 0x00FF0000, gMask = 0x0000FF00, bMask = 0x000000FF, aMask = 0;
    if (bits == 16) {
        rMask = 0x7C00;
        gMask = 0x03E0;
        bMask = 0x001F;
    }
    if (compression == 3) {  // bit fields: after a 40-byte header, or inside a larger one
        size_t at = 14 + 40;
        rMask = r.u32(at);
        gMask = r.u32(at + 4);
        bMask = r.u32(at + 8);
        if (hdr >= 56) aMask = r.u32(at + 12);
        if (hdr == 40) paletteAt += 12;
    } else if (compression != 0 && !(compression == 1 && bits == 8) && !(compression == 2 && bits == 4)) {
        invalid();
    }

    std::vector<uint32_t> palette;
    if (bits <= 8) {
        if (bits != 1 && bits != 4 && bits != 8) invalid();
        size_t count = clrUsed ? clrUsed : (size_t(1) << bits);
        if (count > 256) invalid();
        for (size_t i = 0; i < count; ++i) {
            size_t p = paletteAt + i * paletteEntry;
            palette.push_back(0xFF000000u | r.u8(p + 2) << 16 | r.u8(p + 1) << 8 | r.u8(p));
        }
    } else if (bits != 16 && bits != 24 && bits != 32) {
        invalid();
    }

    std::vector<uint32_t> out(size_t(w) * size_t(h), 0xFF000000u);
    auto rowOf = [&](int32_t y) { return topDown ? y : h - 1 - y; };  // file row -> image row
    auto pal = [&](uint32_t i) { return i < palette.size() ? palette[i] : 0xFF000000u; };

    if (compression == 1 || compression == 2) {
        // Run-length encoded, bottom-up only.
        if (topDown) invalid();
        size_t p = offBits;
        int32_t x = 0, y = 0;
        bool four = compression == 2;
        auto set = [&](uint32_t idx) {
            if (x < w && y < h) out[size_t(rowOf(y)) * size_t(w) + size_t(x)] = pal(idx);
            ++x;
        };
        while (y < h) {
            uint32_t n = r.u8(p), v = r.u8(p + 1);
            p += 2;
            if (n > 0) {
                for (uint32_t i = 0; i < n; ++i) set(four ? ((i & 1) ? v & 0xF : v >> 4) : v);
            } else if (v == 0) {
                x = 0;
                ++y;
            } else if (v == 1) {
                break;
            } else if (v == 2) {
                x += int32_t(r.u8(p));
                y += int32_t(r.u8(p + 1));
                p += 2;
            } else {
                size_t bytes = four ? (v + 1) / 2 : v;
                r.need(p, bytes);
                for (uint32_t i = 0; i < v; ++i) {
                    uint32_t b = r.u8(p + (four ? i / 2 : i));
                    set(four ? ((i & 1) ? b & 0xF : b >> 4) : b);
                }
                p += (bytes + 1) & ~size_t(1);
            }
        }
    } else {
        size_t stride = ((size_t(w) * bits + 31) / 32) * 4;
        r.need(offBits, stride * size_t(h));
        bool anyAlpha = false;
        for (int32_t y = 0; y < h; ++y) {
            size_t row = offBits + size_t(y) * stride;
            uint32_t* dst = &out[size_t(rowOf(y)) * size_t(w)];
            for (int32_t x = 0; x < w; ++x) {
                uint32_t px;
                switch (bits) {
                case 1: px = pal((r.u8(row + size_t(x) / 8) >> (7 - x % 8)) & 1); break;
                case 4: px = pal((r.u8(row + size_t(x) / 2) >> ((x % 2) ? 0 : 4)) & 0xF); break;
                case 8: px = pal(r.u8(row + size_t(x))); break;
                case 16: {
                    uint32_t v = r.u16(row + size_t(x) * 2);
                    px = 0xFF000000u | channel(v, rMask) << 16 | channel(v, gMask) << 8 | channel(v, bMask);
                    break;
                }
                case 24:
                    px = 0xFF000000u | r.u8(row + size_t(x) * 3 + 2) << 16 | r.u8(row + size_t(x) * 3 + 1) << 8 |
                         r.u8(row + size_t(x) * 3);
                    break;
                default: {
                    uint32_t v = r.u32(row + size_t(x) * 4);
                    uint32_t a = compression == 3 ? (aMask ? channel(v, aMask) : 255) : v >> 24;
                    if (a) anyAlpha = true;
                    px = a << 24 | channel(v, rMask) << 16 | channel(v, gMask) << 8 | channel(v, bMask);
                }
                }
                dst[x] = px;
            }
        }
        // 32-bit files whose fourth byte is all zero carry no alpha.
        if (bits == 32 && !anyAlpha)
            for (uint32_t& px : out) px |= 0xFF000000u;
    }
    Width = w;
    Height = h;
    Pixels = std::move(out);
}

std::string EncodeBmp(int Width, int Height, const std::vector<uint32_t>& Pixels, bool WithAlpha) {
    uint32_t bits = WithAlpha ? 32 : 24;
    size_t stride = ((size_t(Width) * bits + 31) / 32) * 4;
    size_t imageSize = stride * size_t(Height);
    std::string s;
    s.reserve(54 + imageSize);
    s += "BM";
    put32(s, uint32_t(54 + imageSize));
    put32(s, 0);
    put32(s, 54);
    put32(s, 40);
    put32(s, uint32_t(Width));
    put32(s, uint32_t(Height));
    put16(s, 1);
    put16(s, bits);
    put32(s, 0);
    put32(s, uint32_t(imageSize));
    put32(s, 3780);  // 96 dpi
    put32(s, 3780);
    put32(s, 0);
    put32(s, 0);
    for (int y = Height - 1; y >= 0; --y) {
        size_t start = s.size();
        for (int x = 0; x < Width; ++x) {
            uint32_t p = Pixels[size_t(y) * size_t(Width) + size_t(x)];
            s += char(p & 0xFF);
            s += char((p >> 8) & 0xFF);
            s += char((p >> 16) & 0xFF);
            if (WithAlpha) s += char(p >> 24);
        }
        s.append(stride - (s.size() - start), '\0');
    }
    return s;
}
