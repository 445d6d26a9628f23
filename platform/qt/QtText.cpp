#include "qt/QtText.h"

#include <cstdlib>

namespace yorde::qt {

QString DecodeText(const AnsiString& Bytes, int CodePage) {
    AnsiString cut = Bytes.substr(0, Bytes.find('\0'));
    return QString::fromStdString(CodePageToUtf8(cut, CodePage));
}

AnsiString EncodeText(const QString& Text, int CodePage) { return Utf8ToCodePage(Text.toStdString(), CodePage); }

bool CanEncode(QChar Char, int CodePage) {
    if (Char.isNull() || Char.isSurrogate()) return false;
    if (Char.unicode() < 0x80) return true;
    const QString one(Char);
    return DecodeText(EncodeText(one, CodePage), CodePage) == one;
}

QString KeepEncodable(const QString& Text, int CodePage, int* Position) {
    QString kept;
    kept.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (CanEncode(Text[i], CodePage))
            kept += Text[i];
        else if (Position && i < *Position)
            --*Position;
    }
    return kept;
}

QColor ToQColor(TColor Rgb) {
    uint32_t c = uint32_t(ColorToRGB(Rgb));
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QFont ToQFont(const TFontData& Font) {
    QFont f(QString::fromStdString(AnsiToUtf8(Font.Name)));
    int h = Font.Height;
    // Negative: the character height; positive: the whole cell, of which the
    // character takes about four fifths.
    int px = h < 0 ? -h : (h > 0 ? std::max(1, h * 4 / 5) : 11);
    f.setPixelSize(std::max(1, px));
    f.setBold(Font.Style.Contains(fsBold));
    f.setItalic(Font.Style.Contains(fsItalic));
    f.setUnderline(Font.Style.Contains(fsUnderline));
    f.setStrikeOut(Font.Style.Contains(fsStrikeOut));
    if (Font.Pitch == fpFixed) f.setFixedPitch(true);
    return f;
}

namespace {
struct KeyPair {
    int qt;
    WORD vk;
};
const KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Menu, 93},
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};
}  // namespace

WORD VirtualKeyFromQt(int QtKey, Qt::KeyboardModifiers Modifiers) {
    if (Modifiers & Qt::KeypadModifier) {
        if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9) return WORD(96 + (QtKey - Qt::Key_0));
        switch (QtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)) return WORD(QtKey);
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24) return WORD(VK_F1 + (QtKey - Qt::Key_F1));
    for (const KeyPair& k : kKeys)
        if (k.qt == QtKey) return k.vk;
    return 0;
}

int QtKeyFromVirtualKey(WORD Key) {
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return Key;
    if (Key >= VK_F1 && Key < VK_F1 + 24) return Qt::Key_F1 + (Key - VK_F1);
    if (Key >= 96 && Key <= 105) return Qt::Key_0 + (Key - 96);
    for (const KeyPair& k : kKeys)
        if (k.vk == Key) return k.qt;
    return Qt::Key_unknown;
}

TShiftState ShiftFromQt(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    TShiftState s;
    if (Modifiers & Qt::ShiftModifier) s << ssShift;
    if (Modifiers & Qt::ControlModifier) s << ssCtrl;
    if (Modifiers & Qt::AltModifier) s << ssAlt;
    if (Buttons & Qt::LeftButton) s << ssLeft;
    if (Buttons & Qt::RightButton) s << ssRight;
    if (Buttons & Qt::MiddleButton) s << ssMiddle;
    return s;
}

TMouseButton MouseButtonFromQt(Qt::MouseButton Button) {
    switch (Button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

Qt::CursorShape CursorShapeOf(TCursor Cursor) {
    switch (Cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

}  // namespace yorde::qt
