#include "rtl/StrUtils.h"

#include "rtl/CodePages.h"

#include <algorithm>
#include <array>

namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

AnsiString MapBytes(const AnsiString& s, const unsigned char* table) {
    AnsiString r(s);
    for (char& c : r) c = char(table[Byte(c)]);
    return r;
}

int CompareMapped(const AnsiString& a, const AnsiString& b, const unsigned char* table) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = int(table[Byte(a[i])]) - int(table[Byte(b[i])]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

const TCaseTable& AnsiCase() { return CaseTableFor(GetACP()); }
const TCaseTable& AsciiCase() { return CaseTableFor(0); }

}  // namespace

int Pos(const AnsiString& SubStr, const AnsiString& S) { return PosEx(SubStr, S, 1); }

int AnsiPos(const AnsiString& SubStr, const AnsiString& S) { return PosEx(SubStr, S, 1); }

int PosEx(const AnsiString& SubStr, const AnsiString& S, int Offset) {
    if (SubStr.empty() || Offset < 1 || std::size_t(Offset) > S.size()) return 0;
    const std::size_t at = S.find(SubStr, std::size_t(Offset - 1));
    return at == AnsiString::npos ? 0 : int(at) + 1;
}

int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S) {
    const std::size_t at = S.find_last_of(Delimiters);
    return at == AnsiString::npos ? 0 : int(at) + 1;
}

AnsiString Copy(const AnsiString& S, int Index, int Count) {
    if (Index < 1) Index = 1;
    if (Count <= 0 || std::size_t(Index) > S.size()) return AnsiString();
    return S.substr(std::size_t(Index - 1), std::size_t(Count));
}

void Insert(const AnsiString& Source, AnsiString& S, int Index) {
    if (Index < 1) Index = 1;
    const std::size_t at = std::min(std::size_t(Index - 1), S.size());
    S.insert(at, Source);
}

void Delete(AnsiString& S, int Index, int Count) {
    if (Index < 1 || Count <= 0 || std::size_t(Index) > S.size()) return;
    S.erase(std::size_t(Index - 1), std::size_t(Count));
}

AnsiString StringOfChar(char Ch, int Count) { return Count > 0 ? AnsiString(std::size_t(Count), Ch) : AnsiString(); }

AnsiString Trim(const AnsiString& S) { return TrimLeft(TrimRight(S)); }

AnsiString TrimLeft(const AnsiString& S) {
    std::size_t i = 0;
    while (i < S.size() && Byte(S[i]) <= ' ') ++i;
    return S.substr(i);
}

AnsiString TrimRight(const AnsiString& S) {
    std::size_t n = S.size();
    while (n > 0 && Byte(S[n - 1]) <= ' ') --n;
    return S.substr(0, n);
}

AnsiString UpperCase(const AnsiString& S) { return MapBytes(S, AsciiCase().Upper); }
AnsiString LowerCase(const AnsiString& S) { return MapBytes(S, AsciiCase().Lower); }

// The class library folds to capitals for the ASCII comparison.
int CompareText(const AnsiString& S1, const AnsiString& S2) { return CompareMapped(S1, S2, AsciiCase().Upper); }

int CompareStr(const AnsiString& S1, const AnsiString& S2) {
    static const auto identity = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
        return t;
    }();
    return CompareMapped(S1, S2, identity.data());
}

bool SameText(const AnsiString& S1, const AnsiString& S2) { return S1.size() == S2.size() && CompareText(S1, S2) == 0; }

AnsiString AnsiUpperCase(const AnsiString& S) { return MapBytes(S, AnsiCase().Upper); }
AnsiString AnsiLowerCase(const AnsiString& S) { return MapBytes(S, AnsiCase().Lower); }

// Folding to small letters keeps punctuation ahead of letters, closer to
// the user-locale order than folding to capitals.
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2) { return CompareMapped(S1, S2, AnsiCase().Lower); }
int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) { return CompareStr(S1, S2); }
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) {
    return S1.size() == S2.size() && AnsiCompareText(S1, S2) == 0;
}
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) { return S1 == S2; }

AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags) {
    if (OldPattern.empty()) return S;
    const bool ignoreCase = Flags.Contains(rfIgnoreCase);
    const AnsiString haystack = ignoreCase ? AnsiUpperCase(S) : S;
    const AnsiString needle = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    AnsiString result;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = haystack.find(needle, from);
        if (at == AnsiString::npos) break;
        result.append(S, from, at - from);
        result += NewPattern;
        from = at + needle.size();
        if (!Flags.Contains(rfReplaceAll)) break;
    }
    result.append(S, from, AnsiString::npos);
    return result;
}

AnsiString QuotedStr(const AnsiString& S) {
    AnsiString r = "'";
    for (char c : S) {
        r += c;
        if (c == '\'') r += '\'';
    }
    r += '\'';
    return r;
}
