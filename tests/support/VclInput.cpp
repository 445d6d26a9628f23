#include "VclInput.h"

#include "qt/QtPlatform.h"
#include "qt/QtText.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>

namespace yorde::test {

namespace {

QWidget* widgetOf(TControl* c) {
    QWidget* w = yorde::qt::WidgetOf(c);
    if (!w) throw EInvalidOperation("The control has no widget (is it on a form?)");
    return w;
}

// A scroll area drops mouse events sent to itself; real ones arrive on its viewport.
QWidget* mouseTarget(TControl* c) {
    QWidget* w = widgetOf(c);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area->viewport();
    return w;
}

QPoint pointIn(QWidget* w, int x, int y) { return QPoint(x < 0 ? w->width() / 2 : x, y < 0 ? w->height() / 2 : y); }

Qt::MouseButton qtButton(TMouseButton b) {
    return b == mbRight ? Qt::RightButton : b == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
}

Qt::KeyboardModifiers qtModifiers(TShiftState s) {
    Qt::KeyboardModifiers m;
    if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
    if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
    if (s.Contains(ssAlt)) m |= Qt::AltModifier;
    return m;
}

Qt::MouseButtons held;

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint p, TShiftState shift) {
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) held |= button;
    if (type == QEvent::MouseButtonRelease) held &= ~button;
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, qtModifiers(shift));
    QApplication::sendEvent(w, &e);
}

QString keyText(WORD key, TShiftState shift) {
    if (key >= 'A' && key <= 'Z') return QString(QChar(char16_t(shift.Contains(ssShift) ? key : key + 32)));
    if (key >= '0' && key <= '9') return QString(QChar(char16_t(key)));
    switch (key) {
    case VK_SPACE: return " ";
    case VK_RETURN: return "\r";
    case VK_ESCAPE: return QString(QChar(27));
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    default: return QString();
    }
}

void key(QWidget* w, QEvent::Type type, int qtKey, Qt::KeyboardModifiers m, const QString& text) {
    QKeyEvent e(type, qtKey, m, text);
    QApplication::sendEvent(w, &e);
}

}  // namespace

void MouseDown(TControl* C, TMouseButton Button, int X, int Y, TShiftState Shift) {
    QWidget* w = mouseTarget(C);
    mouse(w, QEvent::MouseButtonPress, qtButton(Button), pointIn(w, X, Y), Shift);
}

void MouseUp(TControl* C, TMouseButton Button, int X, int Y, TShiftState Shift) {
    QWidget* w = mouseTarget(C);
    mouse(w, QEvent::MouseButtonRelease, qtButton(Button), pointIn(w, X, Y), Shift);
}

void MouseMove(TControl* C, int X, int Y, TShiftState Shift) {
    QWidget* w = mouseTarget(C);
    QPoint p = pointIn(w, X, Y);
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, held, qtModifiers(Shift));
    QApplication::sendEvent(w, &e);
}

void Click(TControl* C, int X, int Y) {
    QPointer<QWidget> w = mouseTarget(C);
    QPoint p = pointIn(w, X, Y);
    mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, p, {});
    if (w) mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, p, {});
    held = Qt::NoButton;
}

void DoubleClick(TControl* C, int X, int Y) {
    QPointer<QWidget> w = mouseTarget(C);
    QPoint p = pointIn(w, X, Y);
    mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, p, {});
    if (w) mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, p, {});
    if (w) mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, p, {});
    if (w) mouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, p, {});
    if (w) mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, p, {});
    held = Qt::NoButton;
}

void RightClick(TControl* C, int X, int Y, TShiftState Shift) {
    QPointer<QWidget> w = mouseTarget(C);
    QPoint p = pointIn(w, X, Y);
    mouse(w, QEvent::MouseButtonPress, Qt::RightButton, p, Shift);
    if (w) mouse(w, QEvent::MouseButtonRelease, Qt::RightButton, p, Shift);
    held = Qt::NoButton;
    if (!w) return;
    QContextMenuEvent e(QContextMenuEvent::Mouse, p, w->mapToGlobal(p), qtModifiers(Shift));
    QApplication::sendEvent(w, &e);
}

void Wheel(TControl* C, int Delta, int X, int Y, TShiftState Shift) {
    QWidget* w = mouseTarget(C);
    QPoint p = pointIn(w, X, Y);
    QWheelEvent e(QPointF(p), QPointF(w->mapToGlobal(p)), QPoint(), QPoint(0, Delta), held, qtModifiers(Shift),
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void KeyDown(TWinControl* C, WORD Key, TShiftState Shift) {
    key(widgetOf(C), QEvent::KeyPress, yorde::qt::QtKeyFromVirtualKey(Key), qtModifiers(Shift), keyText(Key, Shift));
}

void KeyUp(TWinControl* C, WORD Key, TShiftState Shift) {
    key(widgetOf(C), QEvent::KeyRelease, yorde::qt::QtKeyFromVirtualKey(Key), qtModifiers(Shift), keyText(Key, Shift));
}

void PressKey(TWinControl* C, WORD Key, TShiftState Shift) {
    QPointer<QWidget> w = widgetOf(C);
    int qtKey = yorde::qt::QtKeyFromVirtualKey(Key);
    key(w, QEvent::KeyPress, qtKey, qtModifiers(Shift), keyText(Key, Shift));
    if (w) key(w, QEvent::KeyRelease, qtKey, qtModifiers(Shift), keyText(Key, Shift));
}

void TypeText(TWinControl* C, const std::string& Utf8) {
    QPointer<QWidget> w = widgetOf(C);
    for (QChar ch : QString::fromStdString(Utf8)) {
        if (!w) return;
        int qtKey = Qt::Key_unknown;
        QChar up = ch.toUpper();
        if (up.unicode() < 128 && (up.isLetterOrNumber() || up == ' ')) qtKey = up.unicode();
        Qt::KeyboardModifiers m = ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        key(w, QEvent::KeyPress, qtKey, m, QString(ch));
        if (w) key(w, QEvent::KeyRelease, qtKey, m, QString(ch));
    }
}

void Paste(TWinControl* C, const std::string& Utf8) {
    QApplication::clipboard()->setText(QString::fromStdString(Utf8));
    QPointer<QWidget> w = widgetOf(C);
    key(w, QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    if (w) key(w, QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
}

void CloseBox(TCustomForm* F) { widgetOf(F)->close(); }

void ProcessEvents() { Application->ProcessMessages(); }

}  // namespace yorde::test
