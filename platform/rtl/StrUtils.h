#pragma once
// Text routines of the run-time library on code-page bytes: positions are
// 1-based, 0 means "not found", out-of-range arguments are clamped.
#include "rtl/AnsiString.h"

#include <initializer_list>

// Position of the first SubStr in S, 1-based; 0 when absent or SubStr is empty.
int Pos(const AnsiString& SubStr, const AnsiString& S);
int AnsiPos(const AnsiString& SubStr, const AnsiString& S);
// The same, searching from Offset (1-based).
int PosEx(const AnsiString& SubStr, const AnsiString& S, int Offset = 1);
// Position of the last byte of S that is one of Delimiters; 0 when none.
int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S);

// Count bytes from Index (1-based); never throws.
AnsiString Copy(const AnsiString& S, int Index, int Count);
// Index past the end appends, below 1 inserts at the front.
void Insert(const AnsiString& Source, AnsiString& S, int Index);
void Delete(AnsiString& S, int Index, int Count);
AnsiString StringOfChar(char Ch, int Count);

// Blanks and control bytes (<= ' ') at the ends.
AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);

// ASCII letters only.
AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
int CompareText(const AnsiString& S1, const AnsiString& S2);
int CompareStr(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);

// Letters of the ANSI code page (GetACP(), Windows-1250 by default).
AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };

class TReplaceFlags {
public:
    constexpr TReplaceFlags() = default;
    constexpr TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
        for (TReplaceFlag f : flags) *this << f;
    }
    constexpr TReplaceFlags& operator<<(TReplaceFlag f) {
        bits_ |= 1u << f;
        return *this;
    }
    constexpr TReplaceFlags& operator>>(TReplaceFlag f) {
        bits_ &= ~(1u << f);
        return *this;
    }
    constexpr bool Contains(TReplaceFlag f) const { return (bits_ >> f) & 1u; }

private:
    unsigned bits_ = 0;
};

// rfIgnoreCase compares with the ANSI code page's case.
AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern, const AnsiString& NewPattern,
                         TReplaceFlags Flags);

// 'text' with inner quotes doubled.
AnsiString QuotedStr(const AnsiString& S);
