#include "devicelink/Unitmd5.h"

#include <cstring>

namespace {

inline uint32_t Rol(uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

inline uint32_t LoadLE(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void StoreLE(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// Per-step shifts and the sine table T[i] = floor(2^32 * |sin(i + 1)|).
constexpr int kShift[64] = {7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
                            14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
                            4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void Block(MD5_CTX* ctx, const uint8_t* p) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLE(p + 4 * i);
    uint32_t a = ctx->A, b = ctx->B, c = ctx->C, d = ctx->D;
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int k;
        switch (i / 16) {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        uint32_t t = d;
        d = c;
        c = b;
        b = b + Rol(a + f + kSine[i] + x[k], kShift[i]);
        a = t;
    }
    ctx->A += a;
    ctx->B += b;
    ctx->C += c;
    ctx->D += d;
}

void AddToTotal(MD5_CTX* ctx, uint32_t len) {
    ctx->total[0] += len;
    if (ctx->total[0] < len) ++ctx->total[1];
}

}  // namespace

void MD5Init(MD5_CTX* ctx) {
    ctx->A = 0x67452301;
    ctx->B = 0xefcdab89;
    ctx->C = 0x98badcfe;
    ctx->D = 0x10325476;
    ctx->total[0] = ctx->total[1] = 0;
    ctx->buflen = 0;
}

void MD5Transform(MD5_CTX* ctx, const void* data, uint32_t len) {
    const auto* p = static_cast<const uint8_t*>(data);
    AddToTotal(ctx, len);
    for (uint32_t done = 0; done + 64 <= len; done += 64) Block(ctx, p + done);
}

void MD5Update(MD5_CTX* ctx, const void* data, uint32_t len) {
    const auto* p = static_cast<const uint8_t*>(data);
    if (ctx->buflen != 0) {
        uint32_t left = ctx->buflen;
        uint32_t add = 128 - left < len ? 128 - left : len;
        std::memcpy(ctx->buffer + left, p, add);
        ctx->buflen += add;
        if (ctx->buflen > 64) {
            uint32_t whole = ctx->buflen & ~63u;
            MD5Transform(ctx, ctx->buffer, whole);
            ctx->buflen &= 63;
            std::memmove(ctx->buffer, ctx->buffer + whole, ctx->buflen);
        }
        p += add;
        len -= add;
    }
    if (len > 64) {
        // Keep the last 1..64 bytes back so the buffer never starts full.
        uint32_t whole = (len - 1) & ~63u;
        MD5Transform(ctx, p, whole);
        p += whole;
        len -= whole;
    }
    if (len > 0) {
        std::memcpy(ctx->buffer, p, len);
        ctx->buflen = len;
    }
}

void* MD5ReadCtx(const MD5_CTX* ctx, void* out) {
    auto* o = static_cast<uint8_t*>(out);
    StoreLE(o, ctx->A);
    StoreLE(o + 4, ctx->B);
    StoreLE(o + 8, ctx->C);
    StoreLE(o + 12, ctx->D);
    return out;
}

void* MD5Final(MD5_CTX* ctx, void* out) {
    uint32_t n = ctx->buflen;
    uint32_t pad = n < 56 ? 56 - n : 120 - n;
    AddToTotal(ctx, n);
    ctx->buffer[n] = 0x80;
    std::memset(ctx->buffer + n + 1, 0, pad - 1);
    StoreLE(ctx->buffer + n + pad, ctx->total[0] << 3);
    StoreLE(ctx->buffer + n + pad + 4, (ctx->total[1] << 3) | (ctx->total[0] >> 29));
    // The block function counts these bytes too; the bit count is already written.
    MD5Transform(ctx, ctx->buffer, n + pad + 8);
    ctx->buflen = 0;
    return MD5ReadCtx(ctx, out);
}

void MD5ToHex(const void* digest, char* out, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    const auto* d = static_cast<const uint8_t*>(digest);
    size_t pos = 0;
    for (int i = 0; i < 16 && pos + 2 <= size; ++i) {
        out[pos++] = kDigits[d[i] >> 4];
        out[pos++] = kDigits[d[i] & 15];
    }
    if (pos < size) out[pos] = '\0';
}
