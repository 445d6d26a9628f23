#pragma once
// Base64 (RFC 4648 alphabet) for the settings and user files.
//
// Encoded text: 4 characters per 3 bytes, "=" padding, lines of 18 groups
// (72 characters), every line ended by CR LF including the last; empty input
// gives empty output. The decoder skips every byte outside the alphabet, so
// other line lengths, blanks and missing padding decode the same, and a lone
// trailing character yields nothing.
//
// The file routines work on C streams and report on stderr; a missing name
// (nullptr) stands for the standard input or output.
#include "rtl/AnsiString.h"

#include <cstdio>
#include <string_view>

// Result and message codes of B64File / B64Message.
enum : int {
    B64_OK = 0,
    B64_SYNTAX_ERROR = 1,
    B64_FILE_ERROR = 2,     // a file cannot be opened
    B64_FILE_IO_ERROR = 3,  // read, write or close failed
    B64_ERROR_OUT_CLOSE = 4,
    B64_LINE_SIZE_TO_MIN = 5,
};

constexpr int B64_LINE_SIZE = 72;

// One group: len (1 to 3) valid bytes of in; out[2] is "=" when len < 2,
// out[3] when len < 3.
void EncodeBlock(const unsigned char in[3], unsigned char out[4], int len);
// Four 6-bit values to three bytes.
void DecodeBlock(const unsigned char in[4], unsigned char out[3]);

void EncodeStream(std::FILE* inFile, std::FILE* outFile, int lineSize);
void DecodeStream(std::FILE* inFile, std::FILE* outFile);

// The text of a message code; codes outside 1 to 5 give message 0.
const char* B64Message(int code);

// 'e' encodes, any other option decodes. Names are ANSI texts. Returns
// B64_OK, B64_FILE_ERROR or B64_FILE_IO_ERROR; the output is not removed
// after an error.
int B64File(char option, const char* inName, const char* outName);
int Base64EncodeFile(const AnsiString& inName, const AnsiString& outName);
int Base64DecodeFile(const AnsiString& inName, const AnsiString& outName);

// The same transforms in memory, so plain forms of the files never have
// to touch the disk.
AnsiString Base64Encode(std::string_view bytes, int lineSize = B64_LINE_SIZE);
AnsiString Base64Decode(std::string_view text);
// True when text holds nothing but the alphabet, "=" and blanks or line
// breaks: what the encoder writes, wrapped any way. Any other byte means a
// damaged or foreign file, although the decoder would pass over it.
bool IsBase64Text(std::string_view text);
