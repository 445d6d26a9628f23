#pragma once
// The 10-byte x87 extended float of component images (vaExtended), kept as
// its bytes so that images convert to text and back unchanged on any CPU.
#include <array>
#include <cstdint>

using TExtended80 = std::array<uint8_t, 10>;  // little-endian: 64-bit mantissa, then sign and 15-bit exponent

TExtended80 DoubleToExtended80(double value);           // exact
TExtended80 LongDoubleToExtended80(long double value);  // rounded to 64 mantissa bits where wider
double Extended80ToDouble(const TExtended80& value);    // rounded to nearest
long double Extended80ToLongDouble(const TExtended80& value);
// True when the value is a double exactly (then DoubleToExtended80 gives it back).
bool Extended80IsDouble(const TExtended80& value);
