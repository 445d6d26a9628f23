#include "localization/LxTextRoutines.h"

#include "classes/Strings.h"

#include <algorithm>

namespace {
bool isOctal(char c) { return c >= '0' && c <= '7'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

AnsiString DecodeEscapes(const AnsiString& S) {
    AnsiString out;
    out.reserve(S.size());
    const size_t n = S.size();
    size_t i = 0;
    while (i < n) {
        const char c = S[i];
        if (c != '\\' || i + 1 == n) {
            out += c;
            ++i;
            continue;
        }
        const char e = S[i + 1];
        i += 2;
        switch (e) {
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'v': out += '\v'; break;
        case '\\': out += '\\'; break;
        case '?': out += '?'; break;
        case '"': out += '"'; break;
        case '\'': out += '\''; break;
        case 'x': {
            if (i >= n || hexValue(S[i]) < 0) {
                out += "\\x";
                break;
            }
            int value = hexValue(S[i++]);
            if (i < n && hexValue(S[i]) >= 0) value = value * 16 + hexValue(S[i++]);
            out += char(value);
            break;
        }
        default:
            if (isOctal(e)) {
                int value = e - '0';
                for (int more = 0; more < 2 && i < n && isOctal(S[i]); ++more) value = value * 8 + (S[i++] - '0');
                out += char(value % 256);
            } else {
                out += '\\';
                out += e;
            }
            break;
        }
    }
    return out;
}

int WordPosition(int N, const AnsiString& S, const AnsiString& Delims) {
    if (N < 1) return 0;
    size_t pos = 0;  // 0-based start of the current word
    for (int word = 1; word < N; ++word) {
        const size_t d = S.find_first_of(Delims, pos);
        if (d == AnsiString::npos) return 0;
        pos = d + 1;
    }
    return int(pos) + 1;
}

AnsiString ExtractWord(int N, const AnsiString& S, const AnsiString& Delims) {
    const int p = WordPosition(N, S, Delims);
    if (p == 0) return AnsiString();
    const size_t start = size_t(p - 1);
    const size_t end = S.find_first_of(Delims, start);
    return S.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start);
}

int CountDelimiters(const AnsiString& S, const AnsiString& Delims) {
    int count = 0;
    for (char c : S)
        if (Delims.find(c) != AnsiString::npos) ++count;
    return count;
}

AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Search, const AnsiString& Replacement, bool All) {
    if (Search.empty()) return S;
    AnsiString out;
    size_t pos = 0;
    while (true) {
        const size_t hit = S.find(Search, pos);
        if (hit == AnsiString::npos) break;
        out.append(S, pos, hit - pos);
        out += Replacement;
        pos = hit + Search.size();
        if (!All) break;
    }
    out.append(S, pos, AnsiString::npos);
    return out;
}

AnsiString XorString(const AnsiString& Key, const AnsiString& Text) {
    if (Key.empty()) return Text;
    AnsiString out = Text;
    for (size_t i = 0; i < out.size(); ++i) out[i] = char(out[i] ^ Key[i % Key.size()]);
    return out;
}

bool ParseIndex(const AnsiString& S, int& Value) {
    if (S.empty() || S.size() > 9) return false;
    Value = 0;
    for (char c : S) {
        if (c < '0' || c > '9') return false;
        Value = Value * 10 + (c - '0');
    }
    return true;
}

void ReplaceLines(TStrings* Lines, const AnsiString& Text) {
    TStringList fresh;
    fresh.SetText(Text);
    Lines->BeginUpdate();
    try {
        const int common = std::min(Lines->Count(), fresh.Count());
        for (int i = 0; i < common; ++i)
            if (Lines->Strings(i) != fresh.Strings(i)) Lines->SetStrings(i, fresh.Strings(i));
        while (Lines->Count() > fresh.Count()) Lines->Delete(Lines->Count() - 1);
        for (int i = Lines->Count(); i < fresh.Count(); ++i) Lines->Add(fresh.Strings(i));
    } catch (...) {
        Lines->EndUpdate();
        throw;
    }
    Lines->EndUpdate();
}
