#pragma once
// Text routines of the translation engine.
#include "rtl/AnsiString.h"

class TStrings;

// C escapes: \a \b \f \n \r \t \v \\ \? \" \', octal \101 and hexadecimal
// \x41. An unknown escape, a trailing backslash and a bare trailing \x stay.
AnsiString DecodeEscapes(const AnsiString& S);

// Words are the fields between single delimiter bytes (any byte of
// Delims): word 1 starts at position 1, word k right after the (k-1)-th
// delimiter. 1-based position of word N, or 0 when the text has fewer
// than N-1 delimiters.
int WordPosition(int N, const AnsiString& S, const AnsiString& Delims);
// Word N; empty when absent.
AnsiString ExtractWord(int N, const AnsiString& S, const AnsiString& Delims);
// How many bytes of S are in Delims.
int CountDelimiters(const AnsiString& S, const AnsiString& Delims);
// Case-sensitive; the scan continues after each inserted replacement.
AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Search, const AnsiString& Replacement, bool All);
// Each byte XOR-ed with the key's byte at the same position, the key
// repeated; an empty key or text comes back unchanged.
AnsiString XorString(const AnsiString& Key, const AnsiString& Text);
// A decimal index of at most nine digits, nothing else.
bool ParseIndex(const AnsiString& S, int& Value);
// Makes Text (split into lines) the lines of Lines, changing only the lines
// that differ: unchanged lines keep their objects, surplus ones go from the end.
void ReplaceLines(TStrings* Lines, const AnsiString& Text);
