#pragma once
// What the INI-style translation files share: reading a stream into an
// in-memory INI file and writing it back, the option and language-name
// sections, and the text forms of values.
#include "localization/MemIni.h"

class TStream;

namespace lxini {

constexpr const char* DefaultDelimiter = "~!@#";
constexpr const char* OptionsSection = "OPTIONS";
constexpr const char* NamesSection = "Language names - for internal use only!";
// The misspelt name of older files.
constexpr const char* OldNamesSection = "Language names - for intenal use only!";
constexpr const char* ExtendedSection = "Extended";
// The value a reader gets for a key that vanished.
constexpr const char* Missing = "\xFF";

// The whole stream, from its beginning, parsed.
void ReadIni(TStream* Stream, TMemIniFile& Ini);
// Lines, each followed by CR LF, as the whole new content of Stream.
void WriteLines(TStream* Stream, TStrings* Lines);

// The value of texts Fields (each ended by LangDelim, as entries hold them)
// with Delimiter between the languages. ELanguageError when the delimiter
// cannot separate them again: empty, holding a line break or one of the
// line-break stand-ins, or met inside a text.
AnsiString JoinValue(const AnsiString& Fields, char LangDelim, const AnsiString& Delimiter);
// The fields of a value again, each ended by LangDelim. A value without any
// delimiter is language 1's text.
AnsiString SplitValue(const AnsiString& Value, char LangDelim, const AnsiString& Delimiter);
// Text of language N (1-based) of a value; empty beyond its languages.
AnsiString ValueLanguage(const AnsiString& Value, int N, const AnsiString& Delimiter);

// Keys "Language_1" ... from 1 to Names' count ("Language N<n>" for a missing or empty name).
void WriteLanguageNames(TMemIniFile& Ini, TStrings* Names, int Count);
// The file's language number of Name (exact), 0 when absent.
int FileLanguageNumber(TMemIniFile& Ini, const AnsiString& Name);

}  // namespace lxini
