#pragma once
// Conversions between the component side and Qt: texts by code page,
// colours, fonts, keys, cursors.
#include "vcl/Controls.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>

namespace yorde::qt {

// Code-page bytes to a Qt text, cut at the first NUL byte.
QString DecodeText(const AnsiString& Bytes, int CodePage);
// A Qt text to code-page bytes; characters the code page lacks become '?'.
AnsiString EncodeText(const QString& Text, int CodePage);
// Whether the code page holds the character (NUL and halves of a pair never).
bool CanEncode(QChar Char, int CodePage);
// Text without the characters the code page cannot hold; Position (a place
// in Text, when given) moves back by those removed before it.
QString KeepEncodable(const QString& Text, int CodePage, int* Position = nullptr);

QColor ToQColor(TColor Rgb);
QFont ToQFont(const TFontData& Font);

// Virtual key codes from Qt keys and back (0 / Qt::Key_unknown when none).
WORD VirtualKeyFromQt(int QtKey, Qt::KeyboardModifiers Modifiers);
int QtKeyFromVirtualKey(WORD Key);
TShiftState ShiftFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
TMouseButton MouseButtonFromQt(Qt::MouseButton Button);

Qt::CursorShape CursorShapeOf(TCursor Cursor);

}  // namespace yorde::qt
