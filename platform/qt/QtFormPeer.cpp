// The peer of a form: a top-level window.
#include "qt/QtPaint.h"
#include "qt/QtPeer.h"

#include "vcl/Forms.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

namespace yorde::qt {

namespace {

class FormWidget : public PaintedWidget {
public:
    FormWidget() : PaintedWidget(nullptr) {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setFocusPolicy(Qt::NoFocus);
    }
    bool applying = false;

protected:
    TCustomForm* form() const { return static_cast<TCustomForm*>(control()); }

    // The window manager's close box (and anything else that closes the
    // window) goes through the form's Close; the form hides itself.
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (!gone()) TPeerInput::FormCloseRequest(form());
    }
    void resizeEvent(QResizeEvent* e) override {
        PaintedWidget::resizeEvent(e);
        if (!gone() && !applying) TPeerInput::FormResized(form(), width(), height());
    }
    void moveEvent(QMoveEvent* e) override {
        PaintedWidget::moveEvent(e);
        if (!gone() && !applying && isVisible()) TPeerInput::FormMoved(form(), x(), y());
    }
    void changeEvent(QEvent* e) override {
        PaintedWidget::changeEvent(e);
        if (gone()) return;
        if (e->type() == QEvent::ActivationChange) {
            TPeerInput::FormActivated(form(), isActiveWindow());
        } else if (e->type() == QEvent::WindowStateChange) {
            Qt::WindowStates s = windowState();
            TWindowState ws = (s & Qt::WindowMinimized)   ? wsMinimized
                              : (s & Qt::WindowMaximized) ? wsMaximized
                                                          : wsNormal;
            TPeerInput::FormWindowStateChanged(form(), ws);
        }
    }
    // Keys reach the form's own handlers only when the form itself has the focus.
    bool ownsKeys() const override {
        QWidget* f = focusWidget();
        return f == nullptr || f == this;
    }
};

class QtFormPeer : public QtPeer<IFormPeer, FormWidget> {
public:
    explicit QtFormPeer(TControl* C) : QtPeer(C, new FormWidget()) {}

    void SetBounds(int /*Left*/, int /*Top*/, int /*Width*/, int /*Height*/) override {}

    void SetFormBounds(int Left, int Top, int ClientWidth, int ClientHeight) override {
        FormWidget* f = w();
        if (!f) return;
        f->applying = true;
        if (sizeable_) {
            f->setMinimumSize(0, 0);
            f->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            f->resize(ClientWidth, ClientHeight);
        } else {
            f->setFixedSize(ClientWidth, ClientHeight);
        }
        f->move(Left, Top);
        f->applying = false;
    }

    void SetText(const AnsiString& Bytes, int CodePage) override {
        // Qt gives a window whose title is empty the program's name; a
        // blank one stays blank.
        const QString title = DecodeText(Bytes, CodePage);
        if (w()) w()->setWindowTitle(title.isEmpty() ? QStringLiteral(" ") : title);
    }

    void SetBorder(TFormBorderStyle Style, TBorderIcons Icons) override {
        FormWidget* f = w();
        if (!f) return;
        style_ = Style;
        icons_ = Icons;
        sizeable_ = Style == bsSizeable || Style == bsSizeToolWin;
        applyFlags();
        QSize s = f->size();
        f->applying = true;
        if (sizeable_) {
            f->setMinimumSize(0, 0);
            f->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else {
            f->setFixedSize(s);
        }
        f->applying = false;
    }

    void SetFormStyle(TFormStyle Style) override {
        stayOnTop_ = Style == fsStayOnTop;
        applyFlags();
    }

    void SetWindowState(TWindowState State) override {
        if (!w()) return;
        Qt::WindowStates s = w()->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
        if (State == wsMinimized)
            s |= Qt::WindowMinimized;
        else if (State == wsMaximized)
            s |= Qt::WindowMaximized;
        w()->setWindowState(s);
    }

    void SetModal(bool Modal) override {
        if (w()) w()->setWindowModality(Modal ? Qt::ApplicationModal : Qt::NonModal);
    }

    void Activate() override {
        if (!w() || !w()->isVisible()) return;
        // The offscreen platform has no stacking order (and says so on every raise).
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) w()->raise();
        w()->activateWindow();
    }

    bool Active() const override { return w() && w()->isActiveWindow(); }

    void SetIcon(const TPixelsView& Icon) override {
        if (!w()) return;
        QImage img = ToQImage(Icon, -1);
        w()->setWindowIcon(img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img)));
    }

private:
    void applyFlags() {
        FormWidget* f = w();
        if (!f) return;
        Qt::WindowFlags flags = Qt::Window;
        if (style_ == bsToolWindow || style_ == bsSizeToolWin) flags = Qt::Tool;
        if (style_ == bsNone) {
            flags |= Qt::FramelessWindowHint;
        } else {
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            if (icons_.Contains(biSystemMenu)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            bool dialog = style_ == bsDialog || style_ == bsToolWindow || style_ == bsSizeToolWin;
            if (icons_.Contains(biMinimize) && !dialog) flags |= Qt::WindowMinimizeButtonHint;
            if (icons_.Contains(biMaximize) && !dialog && sizeable_) flags |= Qt::WindowMaximizeButtonHint;
        }
        if (stayOnTop_) flags |= Qt::WindowStaysOnTopHint;
        if (flags == f->windowFlags()) return;
        bool visible = f->isVisible();
        f->applying = true;
        f->setWindowFlags(flags);
        f->applying = false;
        if (visible) f->show();
    }

    TFormBorderStyle style_ = bsSizeable;
    TBorderIcons icons_{biSystemMenu, biMinimize, biMaximize};
    bool sizeable_ = true;
    bool stayOnTop_ = false;
};

}  // namespace

std::unique_ptr<IControlPeer> MakeFormPeer(TControl* Control) { return std::make_unique<QtFormPeer>(Control); }

}  // namespace yorde::qt
