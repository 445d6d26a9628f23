// Binary component image -> text form.
#include "classes/Filer.h"
#include "classes/Float80.h"
#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"

#include "rtl/Convert.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace {

constexpr size_t kStringPiece = 64;  // source characters per line of a long string
constexpr size_t kBinaryLine = 32;   // bytes per line of a binary value

class BinaryToText {
public:
    BinaryToText(TReader& reader, std::string& out) : r_(reader), out_(out) {}

    void object(int level) {
        Nest nest(depth_);
        TFilerFlags flags;
        int childPos = 0;
        r_.ReadPrefix(flags, childPos);
        AnsiString className = r_.ReadStr();
        AnsiString name = r_.ReadStr();
        indent(level);
        out_ += flags.Contains(ffInline) ? "inline " : flags.Contains(ffInherited) ? "inherited " : "object ";
        if (!name.empty()) out_ += name + ": ";
        out_ += className;
        if (flags.Contains(ffChildPos)) out_ += " [" + IntToStr(childPos) + "]";
        out_ += '\n';
        while (!r_.EndOfList()) property(level + 1);
        r_.ReadListEnd();
        while (!r_.EndOfList()) object(level + 1);
        r_.ReadListEnd();
        indent(level);
        out_ += "end\n";
    }

private:
    struct Nest {
        explicit Nest(int& d) : d_(d) {
            if (d_ >= MaxFilerNesting) throw EReadError("Component image nested too deeply");
            ++d_;
        }
        ~Nest() { --d_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;
        int& d_;
    };

    void indent(int level) { out_.append(size_t(level) * 2, ' '); }

    void property(int level) {
        indent(level);
        out_ += r_.ReadStr();
        out_ += " = ";
        value(level);
        out_ += '\n';
    }

    void value(int level) {
        switch (r_.NextValue()) {
        case vaList: {
            Nest nest(depth_);
            r_.ReadValue();
            out_ += '(';
            while (!r_.EndOfList()) {
                out_ += '\n';
                indent(level + 1);
                value(level + 1);
            }
            r_.ReadListEnd();
            out_ += ')';
            break;
        }
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64: out_ += IntToStr(r_.ReadInt64()); break;
        case vaExtended: {
            r_.ReadValue();
            TExtended80 e;
            r_.Read(e.data(), 10);
            extended(e);
            break;
        }
        case vaSingle: {
            r_.ReadValue();
            uint8_t b[4];
            r_.Read(b, 4);
            float f = std::bit_cast<float>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                                           (uint32_t(b[3]) << 24));
            shortest(f);
            out_ += 's';
            break;
        }
        case vaCurrency: {
            r_.ReadValue();
            currency(int64_t(read64()));
            out_ += 'c';
            break;
        }
        case vaDate: {
            r_.ReadValue();
            shortest(std::bit_cast<double>(read64()));
            out_ += 'd';
            break;
        }
        case vaString:
        case vaLString: ansiString(r_.ReadString(), level); break;
        case vaWString:
        case vaUTF8String: wideString(r_.ReadWideString(), level); break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull: out_ += r_.ReadIdent(); break;
        case vaBinary: binary(r_.ReadBinary(), level); break;
        case vaSet: {
            out_ += '[';
            bool first = true;
            for (const AnsiString& name : r_.ReadSet()) {
                if (!first) out_ += ", ";
                out_ += name;
                first = false;
            }
            out_ += ']';
            break;
        }
        case vaCollection: collection(level); break;
        }
    }

    void collection(int level) {
        Nest nest(depth_);
        r_.ReadValue();
        out_ += '<';
        while (!r_.EndOfList()) {
            out_ += '\n';
            indent(level + 1);
            out_ += "item";
            TValueType t = r_.NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) out_ += " [" + IntToStr(r_.ReadInteger()) + "]";
            r_.CheckValue(vaList);
            out_ += '\n';
            while (!r_.EndOfList()) property(level + 2);
            r_.ReadListEnd();
            indent(level + 1);
            out_ += "end";
        }
        r_.ReadListEnd();
        out_ += '>';
    }

    uint64_t read64() {
        uint8_t b[8];
        r_.Read(b, 8);
        uint64_t v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
        return v;
    }

    template <class F>
    void shortest(F v) {
        if (!std::isfinite(v)) throw EReadError("Invalid floating point value");
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, v);
        std::string s(buf, res.ptr);
        // A float must not read back as an integer.
        if (s.find_first_of(".e") == std::string::npos) s += ".0";
        out_ += s;
    }

    void extended(const TExtended80& e) {
        if (Extended80IsDouble(e)) {
            shortest(Extended80ToDouble(e));
            return;
        }
        // Not a double: all 21 significant digits, which also tells the
        // parser to read it back as an extended.
        long double v = Extended80ToLongDouble(e);
        if (!std::isfinite(v)) throw EReadError("Invalid floating point value");
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 20);
        out_.append(buf, res.ptr);
    }

    void currency(int64_t v) {
        // Exact: the value is a count of 1/10000.
        bool negative = v < 0;
        uint64_t a = negative ? uint64_t(0) - uint64_t(v) : uint64_t(v);
        std::string frac = std::to_string(a % 10000);
        frac.insert(0, 4 - frac.size(), '0');
        while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
        out_ += (negative ? "-" : "") + std::to_string(a / 10000) + "." + frac;
    }

    // Printable ASCII in quotes, anything else as #n; long texts in pieces
    // joined by " +" on following lines.
    template <class S>
    void quoted(const S& s, int level) {
        if (s.empty()) {
            out_ += "''";
            return;
        }
        bool inQuote = false;
        for (size_t i = 0; i < s.size(); ++i) {
            if (i > 0 && i % kStringPiece == 0) {
                if (inQuote) out_ += '\'';
                inQuote = false;
                out_ += " +\n";
                indent(level + 1);
            }
            auto c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<typename S::value_type>>(s[i]));
            if (c >= 32 && c < 127 && c != '\'') {
                if (!inQuote) out_ += '\'';
                inQuote = true;
                out_ += char(c);
            } else {
                if (inQuote) out_ += '\'';
                inQuote = false;
                out_ += '#' + std::to_string(c);
            }
        }
        if (inQuote) out_ += '\'';
    }

    void ansiString(const AnsiString& s, int level) { quoted(s, level); }

    void wideString(const std::u16string& s, int level) { quoted(s, level); }

    void binary(const std::string& data, int level) {
        static const char hex[] = "0123456789ABCDEF";
        out_ += '{';
        for (size_t i = 0; i < data.size(); ++i) {
            if (i % kBinaryLine == 0) {
                out_ += '\n';
                indent(level + 1);
            }
            auto b = static_cast<unsigned char>(data[i]);
            out_ += hex[b >> 4];
            out_ += hex[b & 15];
        }
        out_ += '}';
    }

    TReader& r_;
    std::string& out_;
    int depth_ = 0;
};

}  // namespace

void ObjectBinaryToText(TStream& Input, TStream& Output) {
    std::string text;
    {
        TReader reader(Input);
        reader.ReadSignature();
        BinaryToText(reader, text).object(0);
    }
    Output.WriteBuffer(text.data(), int64_t(text.size()));
}

AnsiString ObjectBinaryToText(const std::string& Binary) {
    TMemoryStream in;
    in.WriteBuffer(Binary.data(), int64_t(Binary.size()));
    in.SetPosition(0);
    TMemoryStream out;
    ObjectBinaryToText(in, out);
    return AnsiString(static_cast<const char*>(out.Memory()), size_t(out.Size()));
}
