#pragma once
// The text form of component images, in which layouts are written by hand:
//
//   object MainForm: TMainForm
//     Caption = 'Main'#13#10'window'
//     Font.Style = [fsBold, fsItalic]
//     Width = 320
//     Ratio = 1.5
//     LangNames.Strings = (
//       'Polski'
//       'English')
//     TranslationData = {
//       0A0B0C}
//     OnClose = FormClose
//     Dispatcher = DMLang.lxLangDispatcher1
//     Columns = <
//       item
//         Caption = 'Number'
//       end>
//     object OKButton: TButton
//     end
//     inline UsersFrame1: TUsersFrame
//     end
//   end
//
// "inline" marks an inline frame, "inherited" an inherited component, and
// "[n]" after the class name a child position. Strings are quoted with '
// (doubled inside) and joined with #n codes and "+"; floats take a suffix
// s (single), c (currency) or d (date); "//" starts a comment to the end of
// the line. The parser works on bytes: bytes above 127 inside quotes are
// kept as they are (so a UTF-8 layout converted to the ANSI code page first
// gives code-page strings), and a #n above 255 makes the string wide.
//
// Binary -> text -> binary gives the same bytes for images made by TWriter.
#include "classes/Streams.h"

#include <string>

// A syntax error in the text form, with its position (1-based).
class EParserError : public Exception {
public:
    EParserError(const AnsiString& Message, int ALine, int AColumn)
        : Exception(Message), Line(ALine), Column(AColumn) {}
    const char* ClassName() const noexcept override { return "EParserError"; }
    int Line;
    int Column;
};

// Both read from the input's current position. Malformed binary input
// raises EReadError, malformed text EParserError ("Line 3, column 9: ...").
void ObjectBinaryToText(TStream& Input, TStream& Output);
void ObjectTextToBinary(TStream& Input, TStream& Output);

AnsiString ObjectBinaryToText(const std::string& Binary);
std::string ObjectTextToBinary(const AnsiString& Text);
