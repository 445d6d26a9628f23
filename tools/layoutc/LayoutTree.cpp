#include "LayoutTree.h"

#include "rtl/StrUtils.h"

#include <stdexcept>

const TLayoutProperty* TLayoutObject::Find(const std::string& Path) const {
    for (auto it = Properties.rbegin(); it != Properties.rend(); ++it)
        if (SameText(it->Path, Path)) return &*it;
    return nullptr;
}

namespace {

struct Token {
    enum TKind { End, Ident, String, Number, Symbol } Kind = End;
    std::string Text;  // identifier, number, symbol; string bytes
    bool Wide = false;
    int Line = 1;
    size_t Offset = 0;
};

class Parser {
public:
    explicit Parser(const std::string& s) : s_(s) { advance(); }

    TLayoutObject root() {
        TLayoutObject o = object();
        if (tok_.Kind != Token::End) fail("end of text expected");
        return o;
    }

private:
    static bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    [[noreturn]] void fail(const std::string& m) {
        throw std::runtime_error("line " + std::to_string(tok_.Line) + ": " + m);
    }

    void skipBlanks() {
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == '\r') {
                ++pos_;
                if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
                ++line_;
            } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n' && s_[pos_] != '\r') ++pos_;
            } else {
                break;
            }
        }
    }

    void advance() {
        skipBlanks();
        tok_ = Token{};
        tok_.Line = line_;
        tok_.Offset = pos_;
        if (pos_ >= s_.size()) return;
        const char c = s_[pos_];
        if (isAlpha(c)) {
            const size_t b = pos_;
            while (pos_ < s_.size() && (isAlpha(s_[pos_]) || isDigit(s_[pos_]))) ++pos_;
            tok_.Kind = Token::Ident;
            tok_.Text = s_.substr(b, pos_ - b);
        } else if (c == '\'' || c == '#') {
            stringToken();
        } else if (isDigit(c) || c == '$' ||
                   ((c == '-' || c == '+') && pos_ + 1 < s_.size() && (isDigit(s_[pos_ + 1]) || s_[pos_ + 1] == '$'))) {
            const size_t b = pos_++;
            while (pos_ < s_.size() && (isDigit(s_[pos_]) || isAlpha(s_[pos_]) || s_[pos_] == '.' ||
                                        ((s_[pos_] == '-' || s_[pos_] == '+') && (s_[pos_ - 1] | 0x20) == 'e')))
                ++pos_;
            tok_.Kind = Token::Number;
            tok_.Text = s_.substr(b, pos_ - b);
        } else {
            tok_.Kind = Token::Symbol;
            tok_.Text = std::string(1, c);
            ++pos_;
        }
    }

    void stringToken() {
        tok_.Kind = Token::String;
        for (;;) {
            if (pos_ < s_.size() && s_[pos_] == '\'') {
                ++pos_;
                while (pos_ < s_.size()) {
                    const char c = s_[pos_++];
                    if (c == '\'') {
                        if (pos_ < s_.size() && s_[pos_] == '\'') {
                            ++pos_;
                        } else {
                            break;
                        }
                    }
                    tok_.Text.push_back(c);
                }
            } else if (pos_ < s_.size() && s_[pos_] == '#') {
                ++pos_;
                unsigned long v = 0;
                if (pos_ < s_.size() && s_[pos_] == '$') {
                    ++pos_;
                    while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_])) && v <= 0xFFFF) {
                        const char h = s_[pos_++];
                        v = v * 16 + unsigned(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                    }
                } else {
                    while (pos_ < s_.size() && isDigit(s_[pos_]) && v <= 0xFFFF)
                        v = v * 10 + unsigned(s_[pos_++] - '0');
                }
                if (v > 255) tok_.Wide = true;
                tok_.Text.push_back(char(v & 0xFF));
            } else {
                return;
            }
        }
    }

    bool isSymbol(char c) const { return tok_.Kind == Token::Symbol && tok_.Text[0] == c; }
    bool isWord(const char* w) const { return tok_.Kind == Token::Ident && SameText(tok_.Text, w); }
    bool atObject() const { return isWord("object") || isWord("inherited") || isWord("inline"); }

    void expectSymbol(char c) {
        if (!isSymbol(c)) fail(std::string("'") + c + "' expected");
        advance();
    }

    std::string ident() {
        if (tok_.Kind != Token::Ident) fail("identifier expected");
        std::string s = tok_.Text;
        advance();
        return s;
    }

    std::string dotted() {
        std::string s = ident();
        while (isSymbol('.')) {
            advance();
            s += '.' + ident();
        }
        return s;
    }

    TLayoutObject object() {
        if (!atObject()) fail("'object' expected");
        TLayoutObject o;
        o.Line = tok_.Line;
        o.Inherited = isWord("inherited");
        o.Inline = isWord("inline");
        advance();
        o.ClassName = ident();
        if (isSymbol(':')) {
            advance();
            o.Name = o.ClassName;
            o.ClassName = ident();
        }
        if (isSymbol('[')) {
            advance();
            advance();  // the child position
            expectSymbol(']');
        }
        o.PropertiesBegin = tok_.Offset;
        while (!isWord("end") && !atObject()) {
            if (tok_.Kind == Token::End) fail("'end' expected");
            o.Properties.push_back(property());
        }
        o.PropertiesEnd = tok_.Offset;
        while (!isWord("end")) {
            if (tok_.Kind == Token::End) fail("'end' expected");
            o.Children.push_back(object());
        }
        advance();
        return o;
    }

    TLayoutProperty property() {
        TLayoutProperty p;
        p.Line = tok_.Line;
        p.Path = dotted();
        expectSymbol('=');
        p.Value = value();
        return p;
    }

    TLayoutValue value() {
        TLayoutValue v;
        v.Line = tok_.Line;
        switch (tok_.Kind) {
        case Token::Number: {
            v.Text = tok_.Text;
            const bool isFloat = v.Text.find_first_of(".eEsScCdD") != std::string::npos && v.Text[0] != '$' &&
                                 v.Text.find('$') == std::string::npos;
            v.Kind = isFloat ? TLayoutValue::Float : TLayoutValue::Integer;
            advance();
            return v;
        }
        case Token::String:
            v.Kind = TLayoutValue::String;
            for (;;) {
                v.Text += tok_.Text;
                v.Wide = v.Wide || tok_.Wide;
                advance();
                if (!isSymbol('+')) break;
                advance();
            }
            return v;
        case Token::Ident:
            v.Kind = TLayoutValue::Ident;
            v.Text = dotted();
            return v;
        case Token::Symbol: break;
        case Token::End: fail("value expected");
        }
        const char c = tok_.Text[0];
        if (c == '[') {
            v.Kind = TLayoutValue::Set;
            advance();
            while (!isSymbol(']')) {
                v.Elements.push_back(ident());
                if (isSymbol(',')) advance();
            }
            advance();
        } else if (c == '(') {
            v.Kind = TLayoutValue::List;
            advance();
            while (!isSymbol(')')) {
                if (tok_.Kind == Token::End) fail("')' expected");
                v.Items.push_back(value());
            }
            advance();
        } else if (c == '{') {
            v.Kind = TLayoutValue::Binary;
            const size_t close = s_.find('}', pos_);
            if (close == std::string::npos) fail("'}' expected");
            for (size_t i = pos_; i < close; ++i)
                if (s_[i] == '\n') ++line_;
            pos_ = close + 1;
            advance();
        } else if (c == '<') {
            v.Kind = TLayoutValue::Collection;
            advance();
            while (!isSymbol('>')) {
                TLayoutItem item;
                item.Line = tok_.Line;
                if (!isWord("item")) fail("'item' expected");
                advance();
                if (isSymbol('[')) {
                    advance();
                    advance();
                    expectSymbol(']');
                }
                while (!isWord("end")) {
                    if (tok_.Kind == Token::End) fail("'end' expected");
                    item.Properties.push_back(property());
                }
                advance();
                v.CollectionItems.push_back(std::move(item));
            }
            advance();
        } else {
            fail("value expected");
        }
        return v;
    }

    const std::string& s_;
    size_t pos_ = 0;
    int line_ = 1;
    Token tok_;
};

}  // namespace

TLayoutObject ParseLayoutTree(const std::string& Text) { return Parser(Text).root(); }
