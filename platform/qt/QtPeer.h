#pragma once
// The building blocks of the control peers:
// - PeerWidget<Base>: a Qt widget class that forwards mouse, key and focus
//   input to its control through TPeerInput and then lets Base do its own
//   handling (with the key possibly changed by a handler); ScrollPeerWidget
//   for scroll areas;
// - QtPeer<Iface, Widget>: implements the common IControlPeer calls on it.
// A peer may be destroyed by a handler while its widget is still inside an
// event: such a widget is hidden, cut off from the control and deleted once
// it is idle (see RetireWidget).
#include "qt/QtText.h"
#include "vcl/PeerInput.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QToolTip>
#include <QWidget>

namespace yorde::qt {

class QtPeerBase;

// State every peer widget carries.
struct PeerWidgetCore {
    QtPeerBase* peer = nullptr;  // null once the control is gone
    int busy = 0;                // events being handled right now
    bool retired = false;
};

// Deletes Widget now, or once neither it nor a child is inside an event.
void RetireWidget(QWidget* Widget);
// Deletes retired widgets that became idle (called from the event loop).
void FlushRetiredWidgets();
PeerWidgetCore* CoreOf(QWidget* Widget);

class QtPeerBase {
public:
    virtual ~QtPeerBase() = default;
    virtual QWidget* Widget() const = 0;
    virtual TControl* Control() const = 0;
};

// The widget of a control's peer (null when it has none).
QWidget* PeerWidgetOf(const TControl* Control);

template <class Base>
class PeerWidget : public Base, public PeerWidgetCore {
public:
    using Base::Base;

protected:
    TControl* control() const;
    TWinControl* winControl() const { return dynamic_cast<TWinControl*>(control()); }
    bool gone() const { return peer == nullptr; }

    bool event(QEvent* e) override {
        ++busy;
        bool r = Base::event(e);
        --busy;
        return r;
    }

    void mousePressEvent(QMouseEvent* e) override {
        if (!inDoubleClick_ && !gone()) {
            TPeerInput::MouseDown(control(), MouseButtonFromQt(e->button()), ShiftFromQt(e->modifiers(), e->buttons()),
                                  e->position().toPoint().x(), e->position().toPoint().y());
            if (gone()) return;
        }
        Base::mousePressEvent(e);
        e->accept();
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        if (!gone()) {
            TPeerInput::MouseUp(control(), MouseButtonFromQt(e->button()), ShiftFromQt(e->modifiers(), e->buttons()),
                                e->position().toPoint().x(), e->position().toPoint().y());
            if (gone()) return;
        }
        Base::mouseReleaseEvent(e);
        e->accept();
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (!gone()) {
            TPeerInput::DoubleClick(control(), MouseButtonFromQt(e->button()),
                                    ShiftFromQt(e->modifiers(), e->buttons()) + TShiftState{ssDouble},
                                    e->position().toPoint().x(), e->position().toPoint().y());
            if (gone()) return;
        }
        // The press that came with this double click was reported already.
        inDoubleClick_ = true;
        Base::mouseDoubleClickEvent(e);
        inDoubleClick_ = false;
        e->accept();
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (!gone()) {
            TPeerInput::MouseMove(control(), ShiftFromQt(e->modifiers(), e->buttons()), e->position().toPoint().x(),
                                  e->position().toPoint().y());
            if (gone()) return;
        }
        Base::mouseMoveEvent(e);
    }

    void contextMenuEvent(QContextMenuEvent* e) override {
        if (!gone()) {
            bool hasMenu = false;
            for (TControl* c = control(); c; c = c->Parent())
                if (c->PopupMenu()) hasMenu = true;
            if (hasMenu) {
                TPeerInput::ContextPopup(control(), e->globalPos().x(), e->globalPos().y());
                e->accept();
                return;
            }
        }
        Base::contextMenuEvent(e);
    }

    // Whether keys pressed while this widget has the focus are its own
    // (the form widget takes only those aimed at the form itself).
    virtual bool ownsKeys() const { return true; }

    void keyPressEvent(QKeyEvent* e) override {
        TWinControl* c = winControl();
        if (gone() || !c || !ownsKeys()) {
            Base::keyPressEvent(e);
            return;
        }
        WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
        WORD original = key;
        QString text = e->text();
        if (key != 0) {
            auto outcome = TPeerInput::KeyDown(c, key, ShiftFromQt(e->modifiers(), Qt::NoButton));
            if (gone() || outcome == TPeerInput::TKeyOutcome::Consumed) {
                e->accept();
                return;
            }
            if (outcome == TPeerInput::TKeyOutcome::Handled) {
                // The control does not see the key; its character still comes.
                deliverCharacter(c, e, text, true);
                return;
            }
        }
        if (key != original) {
            // A handler changed the key: the control handles the new one.
            int qtKey = QtKeyFromVirtualKey(key);
            QString newText = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE
                                  ? QString(QChar(char16_t(key)))
                                  : QString();
            if (key >= 'A' && key <= 'Z' && !(e->modifiers() & Qt::ShiftModifier)) newText = newText.toLower();
            QKeyEvent changed(QEvent::KeyPress, qtKey, e->modifiers(), newText, e->isAutoRepeat());
            deliverCharacter(c, &changed, newText, false);
            e->accept();
            return;
        }
        deliverCharacter(c, e, text, false);
    }

    void keyReleaseEvent(QKeyEvent* e) override {
        TWinControl* c = winControl();
        if (gone() || !c || !ownsKeys()) {
            Base::keyReleaseEvent(e);
            return;
        }
        WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
        if (key != 0 && !TPeerInput::KeyUp(c, key, ShiftFromQt(e->modifiers(), Qt::NoButton))) {
            e->accept();
            return;
        }
        if (gone()) return;
        Base::keyReleaseEvent(e);
        e->accept();
    }

    void focusInEvent(QFocusEvent* e) override {
        Base::focusInEvent(e);
        if (TWinControl* c = winControl();
            c && !gone() && e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            TPeerInput::FocusEnter(c);
    }

    void focusOutEvent(QFocusEvent* e) override {
        Base::focusOutEvent(e);
        if (TWinControl* c = winControl();
            c && !gone() && e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
            TPeerInput::FocusExit(c);
    }

private:
    // The character of the key (if any) goes to KeyPress; then, unless a
    // handler zeroed it, the widget handles the event (only its character
    // when the key itself was handled).
    void deliverCharacter(TWinControl* c, QKeyEvent* e, const QString& text, bool characterOnly) {
        QString out = text;
        if (text.size() == 1) {
            // A character the text's code page cannot hold is refused as it is typed.
            if (!CanEncode(text.at(0), c->DataCodePage())) {
                e->accept();
                return;
            }
            AnsiString bytes = EncodeText(text, c->DataCodePage());
            char ch = bytes.empty() ? '\0' : bytes[0];
            char before = ch;
            bool go = TPeerInput::KeyPress(c, ch);
            if (gone()) return;
            if (!go || ch == 0) {
                e->accept();
                return;
            }
            if (ch != before) out = DecodeText(AnsiString(1, ch), c->DataCodePage());
        }
        if (characterOnly) {
            if (!out.isEmpty() && out.at(0).isPrint()) {
                QKeyEvent only(QEvent::KeyPress, Qt::Key_unknown, e->modifiers(), out);
                Base::keyPressEvent(&only);
            }
        } else if (out != text) {
            QKeyEvent changed(QEvent::KeyPress, e->key(), e->modifiers(), out, e->isAutoRepeat());
            Base::keyPressEvent(&changed);
        } else {
            Base::keyPressEvent(e);
        }
        e->accept();
    }

    bool inDoubleClick_ = false;
};

// A peer widget that scrolls (memo, grid): mouse input arrives on its
// viewport, and a handler run from there may free the control too.
template <class Base>
class ScrollPeerWidget : public PeerWidget<Base> {
public:
    using PeerWidget<Base>::PeerWidget;

protected:
    bool viewportEvent(QEvent* e) override {
        ++this->busy;
        bool r = Base::viewportEvent(e);
        --this->busy;
        return r;
    }
};

// A widget that the component paints through its canvas.
class PaintedWidget : public PeerWidget<QWidget> {
public:
    explicit PaintedWidget(QWidget* Parent) : PeerWidget<QWidget>(Parent) {}

protected:
    void paintEvent(QPaintEvent* e) override;
};

// Common IControlPeer calls on widget W for interface Iface.
template <class Iface, class W>
class QtPeer : public Iface, public QtPeerBase {
public:
    QtPeer(TControl* C, W* Widget) : control_(C), widget_(Widget) {
        Widget->peer = this;
        Widget->setMouseTracking(true);
        Widget->setAttribute(Qt::WA_NoMousePropagation, false);
    }
    ~QtPeer() override {
        if (widget_) {
            widget_->peer = nullptr;
            RetireWidget(widget_);
        }
    }

    QWidget* Widget() const override { return widget_; }
    TControl* Control() const override { return control_; }
    W* w() const { return widget_; }

    void SetBounds(int Left, int Top, int Width, int Height) override {
        if (widget_) widget_->setGeometry(Left, Top, Width, Height);
    }
    void SetVisible(bool Visible) override {
        if (widget_) widget_->setVisible(Visible);
    }
    void SetEnabled(bool Enabled) override {
        if (widget_) widget_->setEnabled(Enabled);
    }
    void SetText(const AnsiString& /*Bytes*/, int /*CodePage*/) override {}
    void SetFont(const TFontData& Font) override {
        if (!widget_) return;
        widget_->setFont(ToQFont(Font));
        QPalette pal = widget_->palette();
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            setColors(pal, role, ToQColor(Font.Color), ToQColor(clGrayText));
        widget_->setPalette(pal);
    }
    void SetColor(TColor /*Color*/, bool /*ParentBackground*/) override {}
    void SetHint(const AnsiString& Bytes, int CodePage) override {
        if (widget_) widget_->setToolTip(DecodeText(Bytes, CodePage));
    }
    void SetCursor(TCursor Cursor) override {
        if (!widget_) return;
        if (Cursor == crDefault)
            widget_->unsetCursor();
        else
            widget_->setCursor(CursorShapeOf(Cursor));
    }
    void Invalidate() override {
        if (widget_) widget_->update();
    }
    void Repaint() override {
        if (widget_) widget_->repaint();
    }
    void Update() override;
    bool SetFocus() override {
        if (!widget_) return false;
        widget_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    bool Focused() const override { return widget_ && widget_->hasFocus(); }
    void BringToFront() override {
        if (widget_) widget_->raise();
    }
    void SendToBack() override {
        if (widget_) widget_->lower();
    }
    TPoint ClientToScreen(TPoint P) const override {
        if (!widget_) return P;
        QPoint g = widget_->mapToGlobal(QPoint(P.X, P.Y));
        return TPoint(g.x(), g.y());
    }
    TPoint ScreenToClient(TPoint P) const override {
        if (!widget_) return P;
        QPoint l = widget_->mapFromGlobal(QPoint(P.X, P.Y));
        return TPoint(l.x(), l.y());
    }
    void SetTabChain(const std::vector<IControlPeer*>& Chain) override;
    void SetTabStop(bool TabStop) override {
        if (!widget_ || widget_->focusPolicy() == Qt::NoFocus) return;
        widget_->setFocusPolicy(TabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }

protected:
    // Fills the background with Color (native widgets). A field that takes
    // no input while disabled shows the face colour instead of the window
    // colour; a colour of its own stays.
    void paintBackground(TColor Color, QPalette::ColorRole Role) {
        if (!widget_) return;
        QPalette pal = widget_->palette();
        const bool field = Role == QPalette::Base && Color == ColorToRGB(clWindow);
        setColors(pal, Role, ToQColor(Color), ToQColor(field ? clBtnFace : Color));
        widget_->setPalette(pal);
        widget_->setAutoFillBackground(true);
    }
    // Role in the palette: Enabled while the widget takes input, Disabled
    // while it does not (Qt draws disabled widgets from that group).
    static void setColors(QPalette& Palette, QPalette::ColorRole Role, const QColor& Enabled, const QColor& Disabled) {
        Palette.setColor(QPalette::Active, Role, Enabled);
        Palette.setColor(QPalette::Inactive, Role, Enabled);
        Palette.setColor(QPalette::Disabled, Role, Disabled);
    }

    TControl* control_;
    QPointer<W> widget_;
};

template <class Base>
TControl* PeerWidget<Base>::control() const {
    return peer ? peer->Control() : nullptr;
}

void UpdateWidgetNow(QWidget* Widget);
void ApplyTabChain(const std::vector<IControlPeer*>& Chain);

template <class Iface, class W>
void QtPeer<Iface, W>::Update() {
    if (widget_) UpdateWidgetNow(widget_);
}

template <class Iface, class W>
void QtPeer<Iface, W>::SetTabChain(const std::vector<IControlPeer*>& Chain) {
    ApplyTabChain(Chain);
}

}  // namespace yorde::qt
