// Conversions of the 10-byte extended float, by its fields, without
// relying on the layout of the C++ long double.
#include "classes/Float80.h"

#include <bit>
#include <cfloat>
#include <cmath>

namespace {

constexpr int kBias = 16383;

TExtended80 pack(bool negative, int exponent, uint64_t mantissa) {
    TExtended80 r{};
    for (int i = 0; i < 8; ++i) r[size_t(i)] = uint8_t(mantissa >> (8 * i));
    uint16_t se = uint16_t((negative ? 0x8000 : 0) | (exponent & 0x7FFF));
    r[8] = uint8_t(se);
    r[9] = uint8_t(se >> 8);
    return r;
}

void unpack(const TExtended80& v, bool& negative, int& exponent, uint64_t& mantissa) {
    mantissa = 0;
    for (int i = 0; i < 8; ++i) mantissa |= uint64_t(v[size_t(i)]) << (8 * i);
    uint16_t se = uint16_t(v[8] | (v[9] << 8));
    negative = (se & 0x8000) != 0;
    exponent = se & 0x7FFF;
}

}  // namespace

TExtended80 DoubleToExtended80(double value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    bool negative = (bits >> 63) != 0;
    int exp = int((bits >> 52) & 0x7FF);
    uint64_t frac = bits & ((uint64_t(1) << 52) - 1);
    if (exp == 0x7FF)  // infinity, NaN (payload kept)
        return pack(negative, 0x7FFF, (uint64_t(1) << 63) | (frac << 11));
    if (exp == 0) {
        if (frac == 0) return pack(negative, 0, 0);
        // A subnormal double is a normal extended.
        int e = 1 - 1023;
        while (!(frac & (uint64_t(1) << 52))) {
            frac <<= 1;
            --e;
        }
        return pack(negative, e + kBias, frac << 11);
    }
    return pack(negative, exp - 1023 + kBias, (uint64_t(1) << 63) | (frac << 11));
}

long double Extended80ToLongDouble(const TExtended80& value) {
    bool negative;
    int exp;
    uint64_t mantissa;
    unpack(value, negative, exp, mantissa);
    long double r;
    if (exp == 0x7FFF) {
        r = (mantissa << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        // Denormals have exponent 0 but scale like exponent 1.
        int e = (exp == 0 ? 1 : exp) - kBias - 63;
        r = std::ldexp(static_cast<long double>(mantissa), e);
    }
    return negative ? -r : r;
}

double Extended80ToDouble(const TExtended80& value) {
    bool negative;
    int exp;
    uint64_t mantissa;
    unpack(value, negative, exp, mantissa);
    if (exp == 0x7FFF) {
        if ((mantissa << 1) == 0) return negative ? -HUGE_VAL : HUGE_VAL;
        uint64_t bits = (uint64_t(negative) << 63) | (uint64_t(0x7FF) << 52) | (uint64_t(1) << 51) |
                        ((mantissa >> 11) & ((uint64_t(1) << 52) - 1));
        return std::bit_cast<double>(bits);
    }
    if constexpr (LDBL_MANT_DIG >= 64) {
        return double(Extended80ToLongDouble(value));  // exact, then one rounding
    } else {
        // Round the mantissa to 53 bits by hand (ties to even), then scale.
        int e = (exp == 0 ? 1 : exp) - kBias - 63;
        if (mantissa == 0) return negative ? -0.0 : 0.0;
        int shift = 64 - std::bit_width(mantissa);
        mantissa <<= shift;
        e -= shift;
        uint64_t top = mantissa >> 11, rest = mantissa & 0x7FF;
        if (rest > 0x400 || (rest == 0x400 && (top & 1))) ++top;
        double r = std::ldexp(double(top), e + 11);
        return negative ? -r : r;
    }
}

TExtended80 LongDoubleToExtended80(long double value) {
    bool negative = std::signbit(value);
    long double a = std::fabs(value);
    if (std::isnan(a)) return pack(negative, 0x7FFF, uint64_t(3) << 62);
    if (std::isinf(a)) return pack(negative, 0x7FFF, uint64_t(1) << 63);
    if (a == 0) return pack(negative, 0, 0);
    int e = 0;
    long double m = std::frexp(a, &e);  // a = m * 2^e, m in [0.5, 1)
    long double scaled = std::nearbyint(std::ldexp(m, 64));
    if (scaled >= std::ldexp(1.0L, 64)) {  // rounding carried into a new bit
        scaled = std::ldexp(scaled, -1);
        ++e;
    }
    uint64_t mantissa = uint64_t(scaled);
    int exp = e - 1 + kBias;
    if (exp >= 0x7FFF) return pack(negative, 0x7FFF, uint64_t(1) << 63);
    if (exp <= 0) {
        // Denormal extended: shift right, keep exponent field 0.
        int shift = 1 - exp;
        mantissa = shift >= 64 ? 0 : mantissa >> shift;
        exp = 0;
    }
    return pack(negative, exp, mantissa);
}

bool Extended80IsDouble(const TExtended80& value) { return DoubleToExtended80(Extended80ToDouble(value)) == value; }
