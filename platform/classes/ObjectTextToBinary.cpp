// Text form -> binary component image.
#include "classes/Filer.h"
#include "classes/Float80.h"
#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"

#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

enum class Tok { End, Ident, String, Integer, Float, Symbol };

struct Token {
    Tok Kind = Tok::End;
    std::string Text;      // identifier, number text, or the symbol
    std::u16string Units;  // string value, one unit per byte or #n
    bool Wide = false;     // some #n above 255
    char FloatType = 0;    // 's', 'c', 'd' or 0
    int Line = 1;
    int Column = 1;
};

class Lexer {
public:
    explicit Lexer(const std::string& text) : s_(text) {}

    Token next() {
        skipBlanks();
        Token t;
        t.Line = line_;
        t.Column = column();
        if (pos_ >= s_.size()) return t;
        unsigned char c = static_cast<unsigned char>(s_[pos_]);
        if (isAlpha(c)) {
            size_t start = pos_;
            while (pos_ < s_.size() && isAlnum(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            t.Kind = Tok::Ident;
            t.Text = s_.substr(start, pos_ - start);
        } else if (c == '\'' || c == '#') {
            stringToken(t);
        } else if (isDigit(c) || c == '$' ||
                   ((c == '-' || c == '+') && pos_ + 1 < s_.size() &&
                    (isDigit(static_cast<unsigned char>(s_[pos_ + 1])) || s_[pos_ + 1] == '$'))) {
            numberToken(t);
        } else {
            t.Kind = Tok::Symbol;
            t.Text = std::string(1, char(c));
            ++pos_;
        }
        return t;
    }

    // Hex digits up to '}' (blanks and line breaks between them ignored).
    std::string hexBlock() {
        std::string bytes;
        int high = -1;
        for (;;) {
            skipBlanks();
            if (pos_ >= s_.size()) error("'}' expected but end of text found", line_, column());
            char c = s_[pos_];
            if (c == '}') {
                if (high >= 0) error("Odd number of hexadecimal digits", line_, column());
                ++pos_;
                return bytes;
            }
            int v = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                           : -1;
            if (v < 0) error("Invalid hexadecimal digit '" + std::string(1, c) + "'", line_, column());
            ++pos_;
            if (high < 0) {
                high = v;
            } else {
                bytes.push_back(char(high * 16 + v));
                high = -1;
            }
        }
    }

    [[noreturn]] void error(const std::string& message, int line, int col) const {
        throw EParserError("Line " + std::to_string(line) + ", column " + std::to_string(col) + ": " + message, line,
                           col);
    }

private:
    static bool isAlpha(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    static bool isAlnum(unsigned char c) { return isAlpha(c) || isDigit(c); }
    static bool isHex(unsigned char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

    int column() const { return int(pos_ - lineStart_) + 1; }

    void newLine() {
        ++line_;
        lineStart_ = pos_;
    }

    void skipBlanks() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n') {
                ++pos_;
                newLine();
            } else if (c == '\r') {
                ++pos_;
                if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                newLine();
            } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n' && s_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    // 'quoted' pieces and #n codes, side by side.
    void stringToken(Token& t) {
        t.Kind = Tok::String;
        for (;;) {
            if (pos_ < s_.size() && s_[pos_] == '\'') {
                int col = column();
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r')
                        error("Unterminated string", line_, col);
                    char c = s_[pos_++];
                    if (c == '\'') {
                        if (pos_ < s_.size() && s_[pos_] == '\'') {
                            ++pos_;
                        } else {
                            break;
                        }
                    }
                    t.Units.push_back(char16_t(static_cast<unsigned char>(c)));
                }
            } else if (pos_ < s_.size() && s_[pos_] == '#') {
                int col = column();
                ++pos_;
                uint32_t v = 0;
                size_t start = pos_;
                if (pos_ < s_.size() && s_[pos_] == '$') {
                    ++pos_;
                    start = pos_;
                    while (pos_ < s_.size() && isHex(static_cast<unsigned char>(s_[pos_]))) {
                        char h = s_[pos_];
                        v = v * 16 + uint32_t(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                        if (v > 0xFFFF) error("Character code out of range", line_, col);
                        ++pos_;
                    }
                } else {
                    while (pos_ < s_.size() && isDigit(static_cast<unsigned char>(s_[pos_]))) {
                        v = v * 10 + uint32_t(s_[pos_] - '0');
                        if (v > 0xFFFF) error("Character code out of range", line_, col);
                        ++pos_;
                    }
                }
                if (pos_ == start) error("Character code expected after #", line_, col);
                if (v > 255) t.Wide = true;
                t.Units.push_back(char16_t(v));
            } else {
                break;
            }
        }
    }

    void numberToken(Token& t) {
        size_t start = pos_;
        int col = column();
        if (s_[pos_] == '-' || s_[pos_] == '+') ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '$') {
            ++pos_;
            size_t digits = pos_;
            while (pos_ < s_.size() && isHex(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            if (pos_ == digits) error("Hexadecimal digits expected", line_, col);
            t.Kind = Tok::Integer;
            t.Text = s_.substr(start, pos_ - start);
            return;
        }
        bool isFloat = false;
        while (pos_ < s_.size() && isDigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        if (pos_ + 1 < s_.size() && s_[pos_] == '.' && isDigit(static_cast<unsigned char>(s_[pos_ + 1]))) {
            isFloat = true;
            ++pos_;
            while (pos_ < s_.size() && isDigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            size_t p = pos_ + 1;
            if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
            if (p < s_.size() && isDigit(static_cast<unsigned char>(s_[p]))) {
                isFloat = true;
                pos_ = p;
                while (pos_ < s_.size() && isDigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
            }
        }
        t.Text = s_.substr(start, pos_ - start);
        t.Kind = isFloat ? Tok::Float : Tok::Integer;
        if (pos_ < s_.size()) {
            char suffix = char(s_[pos_] | 0x20);
            if (suffix == 's' || suffix == 'c' || suffix == 'd') {
                t.FloatType = suffix;
                t.Kind = Tok::Float;
                ++pos_;
            }
        }
        if (pos_ < s_.size() && isAlnum(static_cast<unsigned char>(s_[pos_])))
            error("Invalid number '" + s_.substr(start, pos_ - start + 1) + "'", line_, col);
    }

    const std::string& s_;
    size_t pos_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;
};

class TextToBinary {
public:
    TextToBinary(const std::string& text, TWriter& writer) : lex_(text), w_(writer) { advance(); }

    void image() {
        w_.WriteSignature();
        object();
        if (tok_.Kind != Tok::End) fail("End of text expected");
    }

private:
    struct Nest {
        Nest(int& d, TextToBinary& p) : d_(d) {
            if (d_ >= MaxFilerNesting) p.fail("Nested too deeply");
            ++d_;
        }
        ~Nest() { --d_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;
        int& d_;
    };

    void advance() { tok_ = lex_.next(); }

    [[noreturn]] void fail(const std::string& message) { lex_.error(message, tok_.Line, tok_.Column); }

    std::string describe() const {
        switch (tok_.Kind) {
        case Tok::End: return "end of text";
        case Tok::Ident: return "'" + tok_.Text + "'";
        case Tok::String: return "a string";
        case Tok::Integer:
        case Tok::Float: return "number " + tok_.Text;
        case Tok::Symbol: return "'" + tok_.Text + "'";
        }
        return {};
    }

    [[noreturn]] void expected(const std::string& what) { fail(what + " expected but " + describe() + " found"); }

    bool isSymbol(char c) const { return tok_.Kind == Tok::Symbol && tok_.Text[0] == c; }
    bool isWord(const char* w) const { return tok_.Kind == Tok::Ident && SameText(tok_.Text, w); }

    void symbol(char c) {
        if (!isSymbol(c)) expected(std::string("'") + c + "'");
        advance();
    }

    std::string ident(const char* what) {
        if (tok_.Kind != Tok::Ident) expected(what);
        std::string s = tok_.Text;
        advance();
        return s;
    }

    // Name or Name.Sub.Sub
    std::string dottedIdent(const char* what) {
        std::string s = ident(what);
        while (isSymbol('.')) {
            advance();
            s += '.';
            s += ident("Identifier");
        }
        return s;
    }

    void checkLength(const std::string& s, const char* what) {
        if (s.size() > 255) fail(std::string(what) + " longer than 255 characters");
    }

    bool atObject() const { return isWord("object") || isWord("inherited") || isWord("inline"); }

    void object() {
        Nest nest(depth_, *this);
        if (!atObject()) expected("'object'");
        TFilerFlags flags;
        if (isWord("inherited")) flags << ffInherited;
        if (isWord("inline")) flags << ffInline;
        advance();
        std::string name;
        std::string className = ident("Class name");
        if (isSymbol(':')) {
            advance();
            name = className;
            className = ident("Class name");
        }
        int childPos = 0;
        if (isSymbol('[')) {
            advance();
            childPos = int(integerValue(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
            symbol(']');
            flags << ffChildPos;
        }
        w_.WritePrefix(flags, childPos);
        w_.WriteStr(className);
        w_.WriteStr(name);
        while (!isWord("end") && !atObject()) property();
        w_.WriteListEnd();
        while (!isWord("end")) object();
        w_.WriteListEnd();
        advance();  // end
    }

    void property() {
        std::string name = dottedIdent("Property name");
        checkLength(name, "Property name");
        w_.WriteStr(name);
        symbol('=');
        value();
    }

    int64_t integerValue(int64_t low, int64_t high) {
        if (tok_.Kind != Tok::Integer) expected("Integer");
        int64_t v = parseInteger();
        if (v < low || v > high) fail("Integer " + tok_.Text + " out of range");
        advance();
        return v;
    }

    int64_t parseInteger() {
        const std::string& s = tok_.Text;
        int64_t v = 0;
        if (s.find('$') != std::string::npos) {
            if (!TryStrToInt64(s, v)) fail("Invalid number " + s);
            return v;
        }
        const char* b = s.data() + (s[0] == '+' ? 1 : 0);
        auto res = std::from_chars(b, s.data() + s.size(), v);
        if (res.ec != std::errc() || res.ptr != s.data() + s.size()) fail("Integer " + s + " out of range");
        return v;
    }

    void value() {
        switch (tok_.Kind) {
        case Tok::Integer:
            w_.WriteInteger(parseInteger());
            advance();
            return;
        case Tok::Float:
            floatValue();
            advance();
            return;
        case Tok::String: stringValue(); return;
        case Tok::Ident: {
            std::string id = dottedIdent("Value");
            checkLength(id, "Identifier");
            w_.WriteIdent(id);
            return;
        }
        case Tok::Symbol: break;
        case Tok::End: expected("Value");
        }
        switch (tok_.Text[0]) {
        case '[': {
            advance();
            std::vector<AnsiString> names;
            if (!isSymbol(']')) {
                for (;;) {
                    names.push_back(ident("Set element"));
                    checkLength(names.back(), "Set element");
                    if (!isSymbol(',')) break;
                    advance();
                }
            }
            symbol(']');
            w_.WriteSet(names);
            return;
        }
        case '(': {
            Nest nest(depth_, *this);
            advance();
            w_.WriteListBegin();
            while (!isSymbol(')')) value();
            advance();
            w_.WriteListEnd();
            return;
        }
        case '{': binaryValue(); return;
        case '<': collectionValue(); return;
        default: expected("Value");
        }
    }

    void stringValue() {
        std::u16string units;
        bool wide = false;
        for (;;) {
            units += tok_.Units;
            wide = wide || tok_.Wide;
            advance();
            if (!isSymbol('+')) break;
            advance();
            if (tok_.Kind != Tok::String) expected("String");
        }
        if (wide) {
            w_.WriteWideString(units);
        } else {
            std::string bytes(units.size(), '\0');
            for (size_t i = 0; i < units.size(); ++i) bytes[i] = char(units[i]);
            w_.WriteString(bytes);
        }
    }

    static size_t significantDigits(const std::string& s) {
        size_t count = 0;
        bool leading = true;
        for (char c : s) {
            if (c == 'e' || c == 'E') break;
            if (c < '0' || c > '9') continue;
            if (leading && c == '0') continue;
            leading = false;
            ++count;
        }
        return count;
    }

    void floatValue() {
        std::string s = tok_.Text;
        if (!s.empty() && s[0] == '+') s.erase(0, 1);
        const char* b = s.data();
        const char* e = s.data() + s.size();
        auto bad = [&] { fail("Invalid floating point number " + tok_.Text); };
        switch (tok_.FloatType) {
        case 's': {
            float f = 0;
            auto res = std::from_chars(b, e, f);
            if (res.ec != std::errc() || res.ptr != e) bad();
            w_.WriteSingle(f);
            return;
        }
        case 'c':
            w_.WriteValue(vaCurrency);
            writeLE64(uint64_t(currencyValue(s)));
            return;
        case 'd': {
            double d = 0;
            auto res = std::from_chars(b, e, d);
            if (res.ec != std::errc() || res.ptr != e) bad();
            w_.WriteDate(d);
            return;
        }
        default: break;
        }
        TExtended80 x;
        if (significantDigits(s) > 17) {
            long double ld = 0;
            auto res = std::from_chars(b, e, ld);
            if (res.ec != std::errc() || res.ptr != e) bad();
            x = LongDoubleToExtended80(ld);
        } else {
            double d = 0;
            auto res = std::from_chars(b, e, d);
            if (res.ec != std::errc() || res.ptr != e) bad();
            x = DoubleToExtended80(d);
        }
        w_.WriteValue(vaExtended);
        w_.Write(x.data(), 10);
    }

    // Exactly, in units of 1/10000.
    int64_t currencyValue(const std::string& s) {
        bool negative = !s.empty() && s[0] == '-';
        size_t p = negative ? 1 : 0;
        if (s.find_first_of("eE") == std::string::npos) {
            std::string whole, frac;
            size_t dot = s.find('.', p);
            whole = s.substr(p, dot == std::string::npos ? std::string::npos : dot - p);
            if (dot != std::string::npos) frac = s.substr(dot + 1);
            if (frac.size() <= 4 && !whole.empty() && whole.size() <= 15) {
                frac.append(4 - frac.size(), '0');
                int64_t v = std::stoll(whole) * 10000 + std::stoll(frac);
                return negative ? -v : v;
            }
        }
        double d = 0;
        auto res = std::from_chars(s.data(), s.data() + s.size(), d);
        if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !(std::fabs(d) < 9.2e14))
            fail("Invalid currency value " + tok_.Text);
        return int64_t(std::nearbyint(d * 10000.0));
    }

    void writeLE64(uint64_t v) {
        uint8_t b[8];
        for (int i = 0; i < 8; ++i) b[i] = uint8_t(v >> (8 * i));
        w_.Write(b, 8);
    }

    void binaryValue() {
        // The lexer stands right after '{'.
        std::string bytes = lex_.hexBlock();
        advance();
        w_.WriteBinary(bytes.data(), int64_t(bytes.size()));
    }

    void collectionValue() {
        Nest nest(depth_, *this);
        advance();
        w_.WriteValue(vaCollection);
        while (!isSymbol('>')) {
            if (!isWord("item")) expected("'item'");
            advance();
            if (isSymbol('[')) {
                advance();
                w_.WriteInteger(integerValue(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
                symbol(']');
            }
            w_.WriteListBegin();
            while (!isWord("end")) property();
            advance();
            w_.WriteListEnd();
        }
        advance();
        w_.WriteListEnd();
    }

    Lexer lex_;
    TWriter& w_;
    Token tok_;
    int depth_ = 0;
};

}  // namespace

void ObjectTextToBinary(TStream& Input, TStream& Output) {
    int64_t size = Input.Size() - Input.Position();
    std::string text(size_t(std::max<int64_t>(size, 0)), '\0');
    if (!text.empty()) Input.ReadBuffer(text.data(), int64_t(text.size()));
    // The whole image is built first, so a syntax error leaves Output untouched.
    TMemoryStream image;
    {
        TWriter writer(image);
        TextToBinary(text, writer).image();
    }
    if (image.Size() > 0) Output.WriteBuffer(image.Memory(), image.Size());
}

std::string ObjectTextToBinary(const AnsiString& Text) {
    TMemoryStream in;
    if (!Text.empty()) in.WriteBuffer(Text.data(), int64_t(Text.size()));
    in.SetPosition(0);
    TMemoryStream out;
    ObjectTextToBinary(in, out);
    return out.Size() ? std::string(static_cast<const char*>(out.Memory()), size_t(out.Size())) : std::string();
}
