#pragma once
// Number <-> text conversions of the run-time library. Floating-point text
// uses the format settings' DecimalSeparator, never the C locale.
#include "rtl/AnsiString.h"
#include "rtl/FormatSettings.h"

#include <concepts>
#include <cstdint>
#include <type_traits>

namespace rtl_detail {
AnsiString SignedToStr(std::int64_t v);
AnsiString UnsignedToStr(std::uint64_t v);
AnsiString BitsToHex(std::uint64_t bits, int width, int digits);
}  // namespace rtl_detail

// Decimal text of any integer type.
template <std::integral T>
AnsiString IntToStr(T Value) {
    if constexpr (std::is_signed_v<T>)
        return rtl_detail::SignedToStr(std::int64_t(Value));
    else
        return rtl_detail::UnsignedToStr(std::uint64_t(Value));
}

// Capital hex digits, at least Digits of them; a negative value shows its
// two's complement in the width of its type.
template <std::integral T>
AnsiString IntToHex(T Value, int Digits) {
    return rtl_detail::BitsToHex(std::uint64_t(std::make_unsigned_t<T>(Value)), int(sizeof(T)) * 8, Digits);
}

// Accepted: leading blanks, an optional sign, then decimal digits or "$",
// "0x", "0X" and hex digits, and nothing after. A hex value may use the
// full unsigned range and wraps into the type, as in the class library.
bool TryStrToInt(const AnsiString& S, int& Value);
bool TryStrToInt64(const AnsiString& S, std::int64_t& Value);
int StrToInt(const AnsiString& S);  // EConvertError
std::int64_t StrToInt64(const AnsiString& S);
int StrToIntDef(const AnsiString& S, int Default);
std::int64_t StrToInt64Def(const AnsiString& S, std::int64_t Default);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// General format with 15 significant digits: 1234567 -> "1234567",
// 0.1 -> "0.1", 1e20 -> "1E20".
AnsiString FloatToStr(double Value);
AnsiString FloatToStr(double Value, const TFormatSettings& Settings);
// Precision: significant digits (general, exponent); Digits: exponent
// digits (general, exponent) or decimals (fixed, number, currency).
AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& Settings);

// Blanks, sign, digits with the DecimalSeparator, optional exponent.
bool TryStrToFloat(const AnsiString& S, double& Value);
bool TryStrToFloat(const AnsiString& S, double& Value, const TFormatSettings& Settings);
double StrToFloat(const AnsiString& S);  // EConvertError
double StrToFloat(const AnsiString& S, const TFormatSettings& Settings);
double StrToFloatDef(const AnsiString& S, double Default);
