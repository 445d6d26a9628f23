// Peers of the standard controls: painted controls, edits, buttons and check
// boxes; and the retirement of widgets whose control went away.
#include "qt/QtCommonPeers.h"
#include "qt/QtGridPeer.h"
#include "qt/QtPaint.h"
#include "qt/QtPeer.h"
#include "qt/QtPeerFactory.h"
#include "qt/QtTypedLine.h"

#include "vcl/Buttons.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPaintEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>

#include <vector>

namespace yorde::qt {

// ---------------------------------------------------------------------------
// Widget retirement

namespace {

std::vector<QPointer<QWidget>>& retired() {
    static std::vector<QPointer<QWidget>> list;
    return list;
}

bool busyTree(QWidget* w) {
    if (PeerWidgetCore* c = CoreOf(w); c && c->busy > 0) return true;
    for (QWidget* child : w->findChildren<QWidget*>())
        if (PeerWidgetCore* c = CoreOf(child); c && c->busy > 0) return true;
    return false;
}

}  // namespace

PeerWidgetCore* CoreOf(QWidget* Widget) { return dynamic_cast<PeerWidgetCore*>(Widget); }

void RetireWidget(QWidget* Widget) {
    if (!Widget) return;
    if (!busyTree(Widget)) {
        delete Widget;
        return;
    }
    // Still inside one of its events: cut it off and delete it later.
    Widget->hide();
    if (PeerWidgetCore* c = CoreOf(Widget)) c->retired = true;
    retired().push_back(Widget);
}

void FlushRetiredWidgets() {
    auto& list = retired();
    for (size_t i = 0; i < list.size();) {
        QWidget* w = list[i];
        if (!w) {
            list.erase(list.begin() + ptrdiff_t(i));
        } else if (!busyTree(w)) {
            list.erase(list.begin() + ptrdiff_t(i));
            delete w;
        } else {
            ++i;
        }
    }
}

QWidget* PeerWidgetOf(const TControl* Control) {
    auto* base = Control ? dynamic_cast<QtPeerBase*>(Control->Peer()) : nullptr;
    return base ? base->Widget() : nullptr;
}

void UpdateWidgetNow(QWidget* Widget) {
    if (QWidget* top = Widget->window()) QCoreApplication::sendPostedEvents(top, QEvent::UpdateRequest);
}

void ApplyTabChain(const std::vector<IControlPeer*>& Chain) {
    QWidget* previous = nullptr;
    for (IControlPeer* p : Chain) {
        auto* base = dynamic_cast<QtPeerBase*>(p);
        QWidget* w = base ? base->Widget() : nullptr;
        if (!w) continue;
        if (previous && previous->window() == w->window()) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void PaintedWidget::paintEvent(QPaintEvent* e) {
    if (gone()) return;
    QPainter painter(this);
    QtPainterBackend backend(&painter, e->rect());
    const QRect r = e->rect();
    TPeerInput::Paint(control(), backend, TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
}

// ---------------------------------------------------------------------------
// Painted controls: labels, images, panels, frames, paint boxes, custom controls

namespace {

class QtPaintedPeer : public QtPeer<IControlPeer, PaintedWidget> {
public:
    QtPaintedPeer(TControl* C, QWidget* Parent) : QtPeer(C, new PaintedWidget(Parent)) {
        w()->setFocusPolicy(Qt::NoFocus);
    }
    void SetTabStop(bool TabStop) override {
        if (w() && dynamic_cast<TWinControl*>(control_)) w()->setFocusPolicy(TabStop ? Qt::StrongFocus : Qt::NoFocus);
    }
};

// ---------------------------------------------------------------------------
// Edits

class EditWidget : public PeerWidget<QLineEdit> {
public:
    explicit EditWidget(QWidget* Parent) : PeerWidget<QLineEdit>(Parent) {}
};

// The style of an edit that masks its text with the control's own character
// rather than the platform's.
class PasswordCharStyle : public QProxyStyle {
public:
    explicit PasswordCharStyle(QChar Mask) : mask_(Mask) {}
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_LineEdit_PasswordCharacter) return mask_.unicode();
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }

private:
    QChar mask_;
};

class QtEditPeer : public QtPeer<IEditPeer, EditWidget> {
public:
    QtEditPeer(TControl* C, QWidget* Parent) : QtPeer(C, new EditWidget(Parent)) {
        w()->setFocusPolicy(Qt::StrongFocus);
        EditWidget* e = w();
        QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
            if (auto* p = dynamic_cast<QtEditPeer*>(e->peer)) p->userEdited(t);
        });
    }

    void SetText(const AnsiString& Bytes, int CodePage) override {
        shown_ = DecodeText(Bytes, CodePage);
        if (w() && w()->text() != shown_) {
            QSignalBlocker block(w());
            w()->setText(shown_);
        }
    }
    void SetColor(TColor Color, bool /*ParentBackground*/) override { paintBackground(Color, QPalette::Base); }
    // Qt's own limit would also cut text set from code, so the limit is kept here.
    void SetMaxLength(int MaxLength) override { maxLength_ = MaxLength; }
    void SetPasswordChar(char PasswordChar) override {
        EditWidget* e = w();
        if (!e) return;
        if (!PasswordChar) {
            e->setEchoMode(QLineEdit::Normal);
            return;
        }
        const QString mask = DecodeText(AnsiString(1, PasswordChar), control_->DataCodePage());
        if (!mask.isEmpty()) {
            auto* style = new PasswordCharStyle(mask.at(0));
            style->setParent(e);
            QStyle* old = e->style();
            e->setStyle(style);
            // A style made for an earlier mask goes with it.
            if (old && old->parent() == e) delete old;
        }
        // Qt takes the mask from the style when the echo mode is set.
        e->setEchoMode(QLineEdit::Normal);
        e->setEchoMode(QLineEdit::Password);
    }
    void SetReadOnly(bool ReadOnly) override {
        if (w()) w()->setReadOnly(ReadOnly);
    }
    void SetSelection(int Start, int Length) override {
        if (!w()) return;
        if (Length > 0)
            w()->setSelection(Start, Length);
        else
            w()->setCursorPosition(Start);
    }
    void GetSelection(int& Start, int& Length) const override {
        if (!w()) return;
        if (w()->hasSelectedText()) {
            Start = w()->selectionStart();
            Length = int(w()->selectedText().size());
        } else {
            Start = w()->cursorPosition();
            Length = 0;
        }
    }

private:
    void userEdited(const QString& Now) {
        EditWidget* e = w();
        if (!e || !e->peer) return;
        TTypedLine typed = TakeTypedLine(e, Now, shown_, maxLength_, control_->DataCodePage());
        shown_ = typed.Shown;
        TPeerInput::EditChanged(static_cast<TCustomEdit*>(control_), typed.Bytes);
    }

    QString shown_;
    int maxLength_ = 0;
};

// ---------------------------------------------------------------------------
// Buttons

class ButtonWidget : public PeerWidget<QPushButton> {
public:
    explicit ButtonWidget(QWidget* Parent) : PeerWidget<QPushButton>(Parent) {}
};

class QtButtonPeer : public QtPeer<IButtonPeer, ButtonWidget> {
public:
    QtButtonPeer(TControl* C, QWidget* Parent) : QtPeer(C, new ButtonWidget(Parent)) {
        ButtonWidget* b = w();
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::StrongFocus);
        // Qt emits clicked only for enabled buttons: a user cannot click a disabled one.
        QObject::connect(b, &QPushButton::clicked, b, [b] {
            if (b->peer) TPeerInput::Click(b->peer->Control());
        });
    }
    void SetText(const AnsiString& Bytes, int CodePage) override {
        if (w()) w()->setText(DecodeText(Bytes, CodePage));
    }
    void SetDefault(bool Default) override {
        if (w()) w()->setDefault(Default);
    }
    void SetGlyph(const TPixelsView& Glyph, int32_t TransparentKey) override {
        if (!w()) return;
        QImage img = ToQImage(Glyph, TransparentKey);
        if (img.isNull()) {
            w()->setIcon(QIcon());
            return;
        }
        w()->setIcon(QIcon(QPixmap::fromImage(img)));
        w()->setIconSize(img.size());
    }
};

// ---------------------------------------------------------------------------
// Check boxes

class CheckBoxWidget : public PeerWidget<QCheckBox> {
public:
    explicit CheckBoxWidget(QWidget* Parent) : PeerWidget<QCheckBox>(Parent) { setTristate(true); }

protected:
    // A click anywhere on the control toggles it, as on Windows.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    // The component decides the next state (and raises OnClick).
    void nextCheckState() override {
        if (peer) TPeerInput::CheckBoxToggled(static_cast<TCustomCheckBox*>(peer->Control()));
    }
};

class QtCheckBoxPeer : public QtPeer<ICheckBoxPeer, CheckBoxWidget> {
public:
    QtCheckBoxPeer(TControl* C, QWidget* Parent) : QtPeer(C, new CheckBoxWidget(Parent)) {
        w()->setFocusPolicy(Qt::StrongFocus);
    }
    void SetText(const AnsiString& Bytes, int CodePage) override {
        if (w()) w()->setText(DecodeText(Bytes, CodePage));
    }
    // A button paints its background with the Button role, not Window.
    void SetColor(TColor Color, bool /*ParentBackground*/) override {
        if (w()) paintBackground(Color, w()->backgroundRole());
    }
    void SetState(TCheckBoxState State) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setCheckState(State == cbChecked ? Qt::Checked : State == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    }
};

template <class P>
TPeerCreator creator() {
    return [](TControl* c, QWidget* parent) -> std::unique_ptr<IControlPeer> { return std::make_unique<P>(c, parent); };
}

}  // namespace

std::unique_ptr<IControlPeer> MakeFormPeer(TControl* Control);

void RegisterStandardPeers(QtPeerFactory& Factory) {
    Factory.Register(TControl::StaticClass(), creator<QtPaintedPeer>());
    Factory.Register(TCustomForm::StaticClass(), [](TControl* c, QWidget*) { return MakeFormPeer(c); });
    Factory.Register(TCustomEdit::StaticClass(), creator<QtEditPeer>());
    Factory.Register(TButton::StaticClass(), creator<QtButtonPeer>());
    Factory.Register(TCustomCheckBox::StaticClass(), creator<QtCheckBoxPeer>());
    RegisterCommonPeers(&Factory);
    RegisterGridPeers(&Factory);
}

}  // namespace yorde::qt
