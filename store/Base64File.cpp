#include "store/Base64File.h"

#include "rtl/CodePages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

const char kEncode[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Indexed by byte - 43 for "+" .. "z"; "$" is not in the alphabet, any other
// entry is the value + 62.
const char kDecode[] = "|$$$}rstuvwxyz{$$$$$$$>?@ABCDEFGHIJKLMNOPQRSTUVW$$$$$$XYZ[\\]^_`abcdefghijklmnopq";
static_assert(sizeof kDecode == 80 + 1);

// The 6-bit value of an input byte, or -1 for a byte to skip.
int DecodeValue(int c) {
    if (c < 43 || c > 122) return -1;
    const char entry = kDecode[c - 43];
    return entry == '$' ? -1 : entry - 62;
}

// Both directions read one byte at a time from `get` (EOF at the end) and
// hand each output byte to `put`, so files and memory share one algorithm.
template <class Get, class Put>
void Encode(Get get, Put put, int lineSize) {
    const int groupsPerLine = std::max(1, lineSize / 4);
    int groups = 0;
    bool end = false;
    while (!end) {
        unsigned char in[3] = {0, 0, 0};
        int len = 0;
        for (int i = 0; i < 3 && !end; ++i) {
            const int c = get();
            if (c == EOF)
                end = true;
            else
                in[len++] = static_cast<unsigned char>(c);
        }
        if (len > 0) {
            unsigned char out[4];
            EncodeBlock(in, out, len);
            for (unsigned char ch : out) put(ch);
            ++groups;
        }
        if (groups >= groupsPerLine || end) {
            if (groups > 0) {
                put('\r');
                put('\n');
            }
            groups = 0;
        }
    }
}

template <class Get, class Put>
void Decode(Get get, Put put) {
    bool end = false;
    while (!end) {
        unsigned char in[4] = {0, 0, 0, 0};
        int count = 0;
        for (int i = 0; i < 4 && !end; ++i) {
            int value = -1;
            while (value < 0) {
                const int c = get();
                if (c == EOF) {
                    end = true;
                    break;
                }
                value = DecodeValue(c);
            }
            if (value >= 0) {
                in[i] = static_cast<unsigned char>(value);
                ++count;
            }
        }
        if (count > 0) {
            unsigned char out[3];
            DecodeBlock(in, out);
            for (int i = 0; i < count - 1; ++i) put(out[i]);
        }
    }
}

void ReportSystemError(const char* what) {
    const int err = errno;
    std::fprintf(stderr, "%s: %s\n", what, std::strerror(err));
}

// A C stream that is closed once; the standard streams are never closed.
class CStream {
public:
    CStream(std::FILE* f, bool owned) : f_(f), owned_(owned) {}
    ~CStream() { Close(); }
    CStream(const CStream&) = delete;
    CStream& operator=(const CStream&) = delete;

    std::FILE* get() const { return f_; }
    int Close() {
        std::FILE* f = std::exchange(f_, nullptr);
        if (!f) return 0;
        return owned_ ? std::fclose(f) : std::fflush(f);
    }

private:
    std::FILE* f_;
    bool owned_;
};

std::FILE* OpenNamed(const char* name, const char* mode) { return std::fopen(ToOsText(name).c_str(), mode); }

}  // namespace

void EncodeBlock(const unsigned char in[3], unsigned char out[4], int len) {
    out[0] = static_cast<unsigned char>(kEncode[in[0] >> 2]);
    out[1] = static_cast<unsigned char>(kEncode[((in[0] & 0x03) << 4) | ((in[1] & 0xF0) >> 4)]);
    out[2] = static_cast<unsigned char>(len > 1 ? kEncode[((in[1] & 0x0F) << 2) | ((in[2] & 0xC0) >> 6)] : '=');
    out[3] = static_cast<unsigned char>(len > 2 ? kEncode[in[2] & 0x3F] : '=');
}

void DecodeBlock(const unsigned char in[4], unsigned char out[3]) {
    out[0] = static_cast<unsigned char>(in[0] << 2 | in[1] >> 4);
    out[1] = static_cast<unsigned char>(in[1] << 4 | in[2] >> 2);
    out[2] = static_cast<unsigned char>(((in[2] << 6) & 0xC0) | in[3]);
}

void EncodeStream(std::FILE* inFile, std::FILE* outFile, int lineSize) {
    Encode([inFile] { return std::getc(inFile); }, [outFile](unsigned char c) { std::putc(c, outFile); }, lineSize);
}

void DecodeStream(std::FILE* inFile, std::FILE* outFile) {
    Decode([inFile] { return std::getc(inFile); }, [outFile](unsigned char c) { std::putc(c, outFile); });
}

const char* B64Message(int code) {
    static const char* const messages[] = {
        "b64:000:Invalid Message Code.",
        "b64:001:Syntax Error -- check help for usage.",
        "b64:002:File Error Opening/Creating Files.",
        "b64:003:File I/O Error -- Note: output file not removed.",
        "b64:004:Error on output file close.",
        "b64:004:linesize set to minimum.",
    };
    return messages[code >= 1 && code <= 5 ? code : 0];
}

int B64File(char option, const char* inName, const char* outName) {
    CStream in(inName ? OpenNamed(inName, "rbe") : stdin, inName != nullptr);
    if (!in.get()) {
        ReportSystemError(inName);
        return B64_FILE_ERROR;
    }
    CStream out(outName ? OpenNamed(outName, "wbe") : stdout, outName != nullptr);
    if (!out.get()) {
        ReportSystemError(outName);
        return B64_FILE_ERROR;
    }
    if (option == 'e')
        EncodeStream(in.get(), out.get(), B64_LINE_SIZE);
    else
        DecodeStream(in.get(), out.get());

    int result = B64_OK;
    if (std::ferror(in.get()) || std::ferror(out.get())) {
        std::fprintf(stderr, "%s\n", B64Message(B64_FILE_IO_ERROR));
        result = B64_FILE_IO_ERROR;
    }
    if (out.Close() != 0) {
        ReportSystemError(B64Message(B64_ERROR_OUT_CLOSE));
        result = B64_FILE_IO_ERROR;
    }
    in.Close();
    return result;
}

int Base64EncodeFile(const AnsiString& inName, const AnsiString& outName) {
    return B64File('e', inName.c_str(), outName.c_str());
}

int Base64DecodeFile(const AnsiString& inName, const AnsiString& outName) {
    return B64File('d', inName.c_str(), outName.c_str());
}

AnsiString Base64Encode(std::string_view bytes, int lineSize) {
    // The same text as the stream encoder, written straight into its final size.
    const std::size_t groupsPerLine = std::size_t(std::max(1, lineSize / 4));
    const std::size_t groups = (bytes.size() + 2) / 3;
    const std::size_t lines = (groups + groupsPerLine - 1) / groupsPerLine;
    AnsiString text(groups * 4 + lines * 2, '\0');
    auto* out = reinterpret_cast<unsigned char*>(text.data());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    std::size_t onLine = 0;
    while (left > 0) {
        const int len = int(std::min<std::size_t>(left, 3));
        const unsigned char block[3] = {in[0], len > 1 ? in[1] : (unsigned char)0, len > 2 ? in[2] : (unsigned char)0};
        EncodeBlock(block, out, len);
        out += 4;
        in += len;
        left -= std::size_t(len);
        if (++onLine == groupsPerLine || left == 0) {
            *out++ = '\r';
            *out++ = '\n';
            onLine = 0;
        }
    }
    return text;
}

AnsiString Base64Decode(std::string_view text) {
    AnsiString bytes;
    bytes.reserve(text.size() / 4 * 3 + 3);
    std::size_t pos = 0;
    Decode([&] { return pos < text.size() ? static_cast<unsigned char>(text[pos++]) : EOF; },
           [&](unsigned char c) { bytes.push_back(static_cast<char>(c)); });
    return bytes;
}

bool IsBase64Text(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return DecodeValue(static_cast<unsigned char>(c)) >= 0 || c == '=' || c == '\r' || c == '\n' || c == ' ' ||
               c == '\t';
    });
}
