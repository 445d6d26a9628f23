// FloatToStrF: the class library's float layouts on locale-free digits.
#include "rtl/Convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Value rounded to `precision` significant digits, as 0.DIGITS x 10^exponent
// with trailing zeros removed ("" for zero).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal ToDecimal(double magnitude, int precision) {
    Decimal d;
    if (magnitude == 0) return d;
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    const std::string_view text(buf, r.ptr - buf);
    const std::size_t e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.') d.digits += c;
    d.exponent = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

std::string ExponentText(int exponent, int minDigits, bool forcePlus) {
    std::string r = "E";
    if (exponent < 0)
        r += '-';
    else if (forcePlus)
        r += '+';
    std::string n = std::to_string(std::abs(exponent));
    if (int(n.size()) < minDigits) n.insert(0, std::size_t(minDigits - int(n.size())), '0');
    return r + n;
}

std::string General(double magnitude, int precision, int digits, char decimalSep) {
    const Decimal d = ToDecimal(magnitude, precision);
    if (d.digits.empty()) return "0";
    const int len = int(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        std::string r(1, d.digits[0]);
        if (len > 1) r += decimalSep + d.digits.substr(1);
        return r + ExponentText(d.exponent - 1, digits, false);
    }
    if (d.exponent <= 0)
        return "0" + std::string(1, decimalSep) + std::string(std::size_t(-d.exponent), '0') + d.digits;
    if (d.exponent >= len) return d.digits + std::string(std::size_t(d.exponent - len), '0');
    return d.digits.substr(0, std::size_t(d.exponent)) + decimalSep + d.digits.substr(std::size_t(d.exponent));
}

std::string Exponent(double magnitude, int precision, int digits, char decimalSep) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, precision - 1);
    const std::string_view text(buf, r.ptr - buf);
    const std::size_t e = text.find('e');
    std::string mantissa(text.substr(0, e));
    std::replace(mantissa.begin(), mantissa.end(), '.', decimalSep);
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    return mantissa + ExponentText(exponent, digits, true);
}

// Rounds the decimal form to `decimals` places, half away from zero, as
// the class library does after taking `precision` significant digits.
std::string Fixed(double magnitude, int precision, int decimals, char decimalSep, char thousandSep) {
    Decimal d = ToDecimal(magnitude, precision);
    const int kept = d.exponent + decimals;  // digits of d.digits left of the cut
    if (kept < 0 || d.digits.empty()) {
        d.digits.clear();
    } else if (kept < int(d.digits.size())) {
        const bool up = d.digits[std::size_t(kept)] >= '5';
        d.digits.resize(std::size_t(kept));
        if (up) {
            int k = kept - 1;
            while (k >= 0 && d.digits[std::size_t(k)] == '9') d.digits[std::size_t(k--)] = '0';
            if (k >= 0) {
                ++d.digits[std::size_t(k)];
            } else {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            }
        }
    }
    // Digit i of d.digits has the weight 10^(exponent - 1 - i).
    const auto digitAt = [&](int weight) {
        const int i = d.exponent - 1 - weight;
        return i >= 0 && i < int(d.digits.size()) ? d.digits[std::size_t(i)] : '0';
    };
    std::string text;
    const int top = std::max(d.exponent - 1, 0);
    for (int w = top; w >= 0; --w) {
        text += digitAt(w);
        if (thousandSep != 0 && w > 0 && w % 3 == 0) text += thousandSep;
    }
    if (decimals > 0) {
        text += decimalSep;
        for (int w = -1; w >= -decimals; --w) text += digitAt(w);
    }
    return text;
}

bool IsZeroText(const std::string& s) {
    return s.substr(0, s.find('E')).find_first_of("123456789") == std::string::npos;
}

}  // namespace

AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
    return FloatToStrF(Value, Format, Precision, Digits, FormatSettings());
}

AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings& Settings) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    Precision = std::clamp(Precision, 1, 17);
    Digits = std::clamp(Digits, 0, Format == ffGeneral || Format == ffExponent ? 4 : 18);
    const double magnitude = std::fabs(Value);
    std::string text;
    switch (Format) {
    case ffGeneral: text = General(magnitude, Precision, Digits, Settings.DecimalSeparator); break;
    case ffExponent: text = Exponent(magnitude, Precision, Digits, Settings.DecimalSeparator); break;
    case ffFixed: text = Fixed(magnitude, Precision, Digits, Settings.DecimalSeparator, 0); break;
    case ffNumber:
    case ffCurrency:
        text = Fixed(magnitude, Precision, Digits, Settings.DecimalSeparator, Settings.ThousandSeparator);
        break;
    }
    // A value that rounds to zero shows no sign.
    const bool negative = std::signbit(Value) && !IsZeroText(text);
    if (Format == ffCurrency) {
        const AnsiString& cur = Settings.CurrencyString;
        switch (Settings.CurrencyFormat) {
        case 0: text = cur + text; break;
        case 1: text = text + cur; break;
        case 2: text = cur + " " + text; break;
        default: text = text + " " + cur; break;
        }
    }
    return negative ? "-" + text : text;
}
