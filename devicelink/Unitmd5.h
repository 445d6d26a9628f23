#pragma once
// MD5 (RFC 1321). The device checks every request's response digest, so this
// must stay bit-exact; the context is a plain structure the caller owns.
#include <cstddef>
#include <cstdint>

struct MD5_CTX {
    uint32_t A, B, C, D;
    uint32_t total[2];    // bytes hashed so far: low word, high word
    uint32_t buflen;      // bytes waiting in buffer
    uint8_t buffer[128];  // one partial block plus room for the final padding
};

void MD5Init(MD5_CTX* ctx);
void MD5Update(MD5_CTX* ctx, const void* data, uint32_t len);
// Pads, hashes the rest and writes the 16-byte digest; returns out.
void* MD5Final(MD5_CTX* ctx, void* out);
// The current state words as a digest, without finishing; returns out.
void* MD5ReadCtx(const MD5_CTX* ctx, void* out);
// Hashes len bytes (a multiple of 64) block by block and counts them.
void MD5Transform(MD5_CTX* ctx, const void* data, uint32_t len);
// Lower-case hex, two digits per byte while two still fit, then a NUL if one
// more fits: a 33-character buffer gets all 32 digits and the NUL.
void MD5ToHex(const void* digest, char* out, size_t size);
