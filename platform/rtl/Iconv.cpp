#include "rtl/Iconv.h"

#include "rtl/Utf8.h"

#include <iconv.h>
#include <cerrno>

namespace rtl_iconv {
namespace {

// One conversion descriptor; iconv_t is not shareable between threads, so
// each conversion opens its own.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) : handle_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns 0 or the errno that stopped it.
    int Run(const char*& in, std::size_t& inLeft, std::string& out) {
        char buffer[256];
        while (inLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            const std::size_t r = iconv(handle_, &src, &inLeft, &dst, &dstLeft);
            const int err = r == std::size_t(-1) ? errno : 0;
            in = src;
            out.append(buffer, dst - buffer);
            if (err != 0 && err != E2BIG) return err;
        }
        return 0;
    }

    void Reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t handle_;
};

// A byte that the code page rejects on its own (not merely the start of a
// multi-byte sequence) is undefined there.
bool ByteUndefined(Converter& decoder, unsigned char byte) {
    const char one = char(byte);
    const char* in = &one;
    std::size_t left = 1;
    std::string sink;
    decoder.Reset();
    const int err = decoder.Run(in, left, sink);
    decoder.Reset();
    return err == EILSEQ;
}

}  // namespace

std::string CodePageName(int codePage) {
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

bool Supported(int codePage) { return Converter("UTF-8", CodePageName(codePage)).ok(); }

bool Decode(std::string_view bytes, int codePage, std::string& utf8) {
    Converter conv("UTF-8", CodePageName(codePage));
    if (!conv.ok()) return false;
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (conv.Run(in, left, utf8) == 0) break;
        // A byte the code page rejects keeps its value as a character.
        rtl_utf8::Append(utf8, static_cast<unsigned char>(*in));
        ++in;
        --left;
        conv.Reset();
    }
    return true;
}

bool Encode(std::string_view utf8, int codePage, std::string& bytes) {
    const std::string name = CodePageName(codePage);
    Converter conv(name, "UTF-8");
    Converter decoder("UTF-8", name);
    if (!conv.ok() || !decoder.ok()) return false;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const char32_t c = rtl_utf8::Next(utf8, pos);
        if (c == rtl_utf8::Invalid) {
            bytes += '?';
            continue;
        }
        const char* in = utf8.data() + start;
        std::size_t left = pos - start;
        std::string out;
        conv.Reset();
        if (conv.Run(in, left, out) == 0) {
            bytes += out;
        } else if (c >= 0x80 && c <= 0xFF && ByteUndefined(decoder, static_cast<unsigned char>(c))) {
            bytes += char(c);
        } else {
            bytes += '?';
        }
    }
    return true;
}

}  // namespace rtl_iconv
