#pragma once
// Format: the class library's formatting of an argument list.
//   "%" [index ":"] ["-"] [width] ["." precision] type
// with the types d u x X e f g n m p s c and "%%"; index, width and
// precision may be "*" (taken from the arguments). Unlike printf, a width
// never pads with zeros ("%.3d" does). A missing or unsuitable argument
// raises EConvertError.
#include "rtl/AnsiString.h"
#include "rtl/FormatSettings.h"

#include <concepts>
#include <cstdarg>
#include <cstdint>
#include <initializer_list>
#include <string_view>

// One argument of Format. It refers to the caller's text, which lives as
// long as the Format call.
class TVarRec {
public:
    enum class TKind { Integer, Float, String, Char, Pointer };

    template <std::integral T>
    requires(!std::same_as<T, char>) TVarRec(T v)
        : Kind(TKind::Integer), Int(std::int64_t(v)), Wide(sizeof(T) > 4), Unsigned(std::is_unsigned_v<T>) {}
    template <std::floating_point T>
    TVarRec(T v) : Kind(TKind::Float), Float(double(v)) {}
    TVarRec(char c) : Kind(TKind::Char), Chr(c) {}
    TVarRec(const char* s) : Kind(TKind::String), Str(s ? std::string_view(s) : std::string_view()) {}
    TVarRec(const AnsiString& s) : Kind(TKind::String), Str(s) {}
    TVarRec(std::string_view s) : Kind(TKind::String), Str(s) {}
    TVarRec(const void* p) : Kind(TKind::Pointer), Ptr(p) {}

    TKind Kind;
    std::int64_t Int = 0;
    bool Wide = false;      // integer of more than 32 bits
    bool Unsigned = false;  // integer of an unsigned type
    double Float = 0;
    std::string_view Str;
    char Chr = 0;
    const void* Ptr = nullptr;
};

AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
AnsiString Format(const AnsiString& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings);

// The C printf family into a text (always the "C" number format, whatever
// locale the process runs under).
AnsiString Sprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
AnsiString VSprintf(const char* fmt, va_list args) __attribute__((format(printf, 1, 0)));
