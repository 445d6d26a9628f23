#include "store/Rc4.h"

#include <cstring>

void Rc4Init(Rc4State& state, const char* key) {
    std::memset(&state, 0, sizeof state);
    const std::size_t length = key ? std::strlen(key) : 0;
    for (unsigned n = 0; n < 256; ++n) {
        state.S[n] = std::uint8_t(n);
        if (length) state.K[n] = std::uint8_t(key[n % length]);
    }
    state.j = 0;
    for (state.i = 0; state.i < 256; ++state.i) {
        state.j = (state.j + state.S[state.i] + state.K[state.i]) % 256;
        state.Swap = state.S[state.i];
        state.S[state.i] = state.S[state.j];
        state.S[state.j] = state.Swap;
    }
    state.i = 0;
    state.j = 0;
}

void Rc4Crypt(Rc4State& state, unsigned char* buffer, std::size_t length) {
    for (std::size_t n = 0; n < length; ++n) {
        state.i = (state.i + 1) % 256;
        state.j = (state.j + state.S[state.i]) % 256;
        state.Swap = state.S[state.i];
        state.S[state.i] = state.S[state.j];
        state.S[state.j] = state.Swap;
        state.t = (unsigned(state.S[state.i]) + state.S[state.j]) % 256;
        state.Out = state.S[state.t];
        buffer[n] ^= state.Out;
        ++state.Count;
    }
}
