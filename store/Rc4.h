#pragma once
// The RC4 stream cipher of the stored recordings.
#include <cstddef>
#include <cstdint>

struct Rc4State {
    std::uint8_t S[256];
    std::uint8_t K[256];
    std::uint32_t i;
    std::uint32_t j;
    std::uint32_t t;
    std::uint32_t Count;  // bytes processed since Rc4Init
    std::uint8_t Swap;
    std::uint8_t Out;
};

// Key schedule from a NUL-terminated key text (its bytes, repeated to fill
// 256); an empty key schedules with zero bytes.
void Rc4Init(Rc4State& state, const char* key);
// XORs the buffer in place with the keystream: enciphering and deciphering
// are one operation.
void Rc4Crypt(Rc4State& state, unsigned char* buffer, std::size_t length);
