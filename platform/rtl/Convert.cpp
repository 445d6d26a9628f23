#include "rtl/Convert.h"

#include "rtl/Exceptions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace rtl_detail {

AnsiString SignedToStr(std::int64_t v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return AnsiString(buf, r.ptr);
}

AnsiString UnsignedToStr(std::uint64_t v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return AnsiString(buf, r.ptr);
}

AnsiString BitsToHex(std::uint64_t bits, int width, int digits) {
    if (width < 64) bits &= (std::uint64_t(1) << width) - 1;
    static const char hex[] = "0123456789ABCDEF";
    AnsiString r;
    do {
        r.insert(r.begin(), hex[bits & 15]);
        bits >>= 4;
    } while (bits != 0);
    if (int(r.size()) < digits) r.insert(0, std::size_t(digits - int(r.size())), '0');
    return r;
}

}  // namespace rtl_detail

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses into a value of `bits` width; false on junk or overflow.
bool ParseInteger(const AnsiString& s, int bits, std::int64_t& out) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return false;
    const std::uint64_t unsignedMax = bits == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << bits) - 1;
    const std::uint64_t signedMax = unsignedMax >> 1;
    // Decimal text must fit the signed range (one more for the minus);
    // hexadecimal text the unsigned range.
    const std::uint64_t limit = hex ? unsignedMax : signedMax + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const int d = hex ? HexValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (d < 0) return false;
        if (magnitude > (limit - unsigned(d)) / base) return false;
        magnitude = magnitude * base + unsigned(d);
    }
    std::uint64_t value = negative ? (~magnitude + 1) : magnitude;
    value &= unsignedMax;
    // Sign-extend from the target width.
    if (bits < 64 && (value >> (bits - 1)) & 1) value |= ~unsignedMax;
    out = std::int64_t(value);
    return true;
}

[[noreturn]] void ThrowNotInteger(const AnsiString& s) {
    throw EConvertError("'" + s + "' is not a valid integer value");
}

}  // namespace

bool TryStrToInt(const AnsiString& S, int& Value) {
    std::int64_t v;
    if (!ParseInteger(S, 32, v)) return false;
    Value = int(v);
    return true;
}

bool TryStrToInt64(const AnsiString& S, std::int64_t& Value) { return ParseInteger(S, 64, Value); }

int StrToInt(const AnsiString& S) {
    int v;
    if (!TryStrToInt(S, v)) ThrowNotInteger(S);
    return v;
}

std::int64_t StrToInt64(const AnsiString& S) {
    std::int64_t v;
    if (!TryStrToInt64(S, v)) ThrowNotInteger(S);
    return v;
}

int StrToIntDef(const AnsiString& S, int Default) {
    int v;
    return TryStrToInt(S, v) ? v : Default;
}

std::int64_t StrToInt64Def(const AnsiString& S, std::int64_t Default) {
    std::int64_t v;
    return TryStrToInt64(S, v) ? v : Default;
}

AnsiString FloatToStr(double Value) { return FloatToStr(Value, FormatSettings()); }

AnsiString FloatToStr(double Value, const TFormatSettings& Settings) {
    return FloatToStrF(Value, ffGeneral, 15, 0, Settings);
}

bool TryStrToFloat(const AnsiString& S, double& Value) { return TryStrToFloat(S, Value, FormatSettings()); }

bool TryStrToFloat(const AnsiString& S, double& Value, const TFormatSettings& Settings) {
    std::size_t i = 0;
    const std::size_t n = S.size();
    const auto blank = [&](std::size_t k) { return static_cast<unsigned char>(S[k]) <= ' '; };
    while (i < n && blank(i)) ++i;
    std::string plain;  // the number in C notation for from_chars
    if (i < n && (S[i] == '+' || S[i] == '-')) {
        if (S[i] == '-') plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && S[i] >= '0' && S[i] <= '9') plain += S[i++], ++mantissaDigits;
    if (i < n && S[i] == Settings.DecimalSeparator) {
        plain += '.';
        ++i;
        while (i < n && S[i] >= '0' && S[i] <= '9') plain += S[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    bool negativeExponent = false;
    if (i < n && (S[i] == 'e' || S[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < n && (S[i] == '+' || S[i] == '-')) {
            negativeExponent = S[i] == '-';
            if (negativeExponent) plain += '-';
            ++i;
        }
        int expDigits = 0;
        while (i < n && S[i] >= '0' && S[i] <= '9') plain += S[i++], ++expDigits;
        if (expDigits == 0) return false;
    }
    while (i < n && blank(i)) ++i;
    if (i != n) return false;
    double v = 0;
    const auto r = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        if (!negativeExponent) return false;
        v = 0;  // too small to hold: zero, as the class library gives
    } else if (r.ec != std::errc() || r.ptr != plain.data() + plain.size()) {
        return false;
    }
    Value = v;
    return true;
}

double StrToFloat(const AnsiString& S) { return StrToFloat(S, FormatSettings()); }

double StrToFloat(const AnsiString& S, const TFormatSettings& Settings) {
    double v;
    if (!TryStrToFloat(S, v, Settings)) throw EConvertError("'" + S + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const AnsiString& S, double Default) {
    double v;
    return TryStrToFloat(S, v) ? v : Default;
}
