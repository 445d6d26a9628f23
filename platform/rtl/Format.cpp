#include "rtl/Format.h"

#include "rtl/Convert.h"
#include "rtl/Exceptions.h"

#include <locale.h>
#include <cstdio>

namespace {

class Formatter {
public:
    Formatter(const AnsiString& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& settings)
        : fmt_(fmt), args_(args), settings_(settings) {}

    AnsiString Run() {
        AnsiString out;
        std::size_t i = 0;
        while (i < fmt_.size()) {
            const std::size_t pct = fmt_.find('%', i);
            if (pct == AnsiString::npos) {
                out.append(fmt_, i, AnsiString::npos);
                break;
            }
            out.append(fmt_, i, pct - i);
            i = pct + 1;
            if (i < fmt_.size() && fmt_[i] == '%') {
                out += '%';
                ++i;
                continue;
            }
            out += Spec(i);
        }
        return out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + fmt_ + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (next_ >= args_.size()) throw EConvertError("No argument for format '" + fmt_ + "'");
        return args_.begin()[next_++];
    }

    // Digits or "*" at i; -1 when neither is there.
    int Number(std::size_t& i) {
        if (i < fmt_.size() && fmt_[i] == '*') {
            ++i;
            const TVarRec& a = NextArg();
            if (a.Kind != TVarRec::TKind::Integer) Invalid();
            return int(a.Int);
        }
        if (i >= fmt_.size() || fmt_[i] < '0' || fmt_[i] > '9') return -1;
        int n = 0;
        while (i < fmt_.size() && fmt_[i] >= '0' && fmt_[i] <= '9') {
            n = n * 10 + (fmt_[i++] - '0');
            if (n > 100000) Invalid();
        }
        return n;
    }

    bool IndexFollows(std::size_t i) const {
        if (i < fmt_.size() && fmt_[i] == '*') return i + 1 < fmt_.size() && fmt_[i + 1] == ':';
        while (i < fmt_.size() && fmt_[i] >= '0' && fmt_[i] <= '9') ++i;
        return i < fmt_.size() && fmt_[i] == ':';
    }

    AnsiString Spec(std::size_t& i) {
        if (IndexFollows(i)) {
            const int index = Number(i);
            ++i;  // ':'
            if (index < 0) Invalid();
            next_ = std::size_t(index);
        }
        bool left = false;
        if (i < fmt_.size() && fmt_[i] == '-') {
            left = true;
            ++i;
        }
        int width = Number(i);
        if (width < 0) width = 0;
        int precision = -1;
        if (i < fmt_.size() && fmt_[i] == '.') {
            ++i;
            precision = Number(i);
            if (precision < 0) precision = 0;
        }
        if (i >= fmt_.size()) Invalid();
        const char type = fmt_[i++];
        AnsiString text = Convert(type, precision);
        if (int(text.size()) < width) {
            const AnsiString pad(std::size_t(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        return text;
    }

    AnsiString Convert(char type, int precision) {
        switch (type) {
        case 'd':
        case 'D': return Decimal(NextInteger(), precision);
        case 'u':
        case 'U': {
            const TVarRec& a = NextInteger();
            std::uint64_t v = std::uint64_t(a.Int);
            if (!a.Wide && !a.Unsigned) v &= 0xFFFFFFFFu;
            return ZeroPad(IntToStr(v), precision);
        }
        case 'x':
        case 'X': {
            const TVarRec& a = NextInteger();
            return ZeroPad(rtl_detail::BitsToHex(std::uint64_t(a.Int), a.Wide ? 64 : 32, 1), precision);
        }
        case 'e':
        case 'E': return FloatToStrF(NextFloat(), ffExponent, precision < 0 ? 15 : precision, 3, settings_);
        case 'f':
        case 'F': return FloatToStrF(NextFloat(), ffFixed, 15, precision < 0 ? 2 : precision, settings_);
        case 'g':
        case 'G': return FloatToStrF(NextFloat(), ffGeneral, precision < 0 ? 15 : precision, 3, settings_);
        case 'n':
        case 'N': return FloatToStrF(NextFloat(), ffNumber, 15, precision < 0 ? 2 : precision, settings_);
        case 'm':
        case 'M':
            return FloatToStrF(NextFloat(), ffCurrency, 15, precision < 0 ? settings_.CurrencyDecimals : precision,
                               settings_);
        case 'p':
        case 'P': {
            const TVarRec& a = NextArg();
            if (a.Kind != TVarRec::TKind::Pointer) Invalid();
            return rtl_detail::BitsToHex(std::uint64_t(reinterpret_cast<std::uintptr_t>(a.Ptr)), 64, 16);
        }
        case 's':
        case 'S': {
            const TVarRec& a = NextArg();
            AnsiString s;
            if (a.Kind == TVarRec::TKind::String)
                s = AnsiString(a.Str);
            else if (a.Kind == TVarRec::TKind::Char)
                s = AnsiString(1, a.Chr);
            else
                Invalid();
            if (precision >= 0 && std::size_t(precision) < s.size()) s.resize(std::size_t(precision));
            return s;
        }
        case 'c':
        case 'C': {
            const TVarRec& a = NextArg();
            if (a.Kind == TVarRec::TKind::Char) return AnsiString(1, a.Chr);
            if (a.Kind == TVarRec::TKind::Integer) return AnsiString(1, char(a.Int));
            Invalid();
        }
        default: Invalid();
        }
    }

    const TVarRec& NextInteger() {
        const TVarRec& a = NextArg();
        if (a.Kind != TVarRec::TKind::Integer) Invalid();
        return a;
    }

    double NextFloat() {
        const TVarRec& a = NextArg();
        if (a.Kind != TVarRec::TKind::Float) Invalid();
        return a.Float;
    }

    static AnsiString ZeroPad(AnsiString digits, int precision) {
        if (int(digits.size()) < precision) digits.insert(0, std::size_t(precision) - digits.size(), '0');
        return digits;
    }

    static AnsiString Decimal(const TVarRec& a, int precision) {
        if (a.Unsigned && a.Wide) return ZeroPad(IntToStr(std::uint64_t(a.Int)), precision);
        if (a.Int < 0) return "-" + ZeroPad(IntToStr(std::uint64_t(0) - std::uint64_t(a.Int)), precision);
        return ZeroPad(IntToStr(a.Int), precision);
    }

    const AnsiString& fmt_;
    std::initializer_list<TVarRec> args_;
    const TFormatSettings& settings_;
    std::size_t next_ = 0;
};

// The "C" locale for the printf family, installed per thread so that a
// locale the GUI toolkit set for the process does not change the output.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(CLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t CLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return c;
    }
    locale_t previous_;
};

}  // namespace

AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
    return Format(Fmt, Args, FormatSettings());
}

AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings) {
    return Formatter(Fmt, Args, Settings).Run();
}

AnsiString VSprintf(const char* fmt, va_list args) {
    if (!fmt) return AnsiString();
    CLocaleScope cLocale;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return AnsiString();
    if (std::size_t(n) < sizeof small) return AnsiString(small, std::size_t(n));
    AnsiString big(std::size_t(n) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), fmt, args);
    big.resize(std::size_t(n));
    return big;
}

AnsiString Sprintf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    AnsiString r = VSprintf(fmt, args);
    va_end(args);
    return r;
}
