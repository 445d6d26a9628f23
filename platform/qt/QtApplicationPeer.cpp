// The event loop, the screen, message boxes, timers and the peer factory.
#include "qt/QtMenus.h"
#include "qt/QtPaint.h"
#include "qt/QtPeer.h"
#include "qt/QtPeerFactory.h"

#include "vcl/ExtCtrls.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <algorithm>

namespace yorde::qt {

namespace {

TRect toTRect(const QRect& r) { return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }

// A timer whose TTimer is destroyed by its own OnTimer handler must live
// until that handler has returned.
struct TimerState {
    QTimer timer;
    int firing = 0;
};

std::vector<std::shared_ptr<TimerState>>& retiredTimers() {
    static std::vector<std::shared_ptr<TimerState>> list;
    return list;
}

void flushRetiredTimers() {
    auto& list = retiredTimers();
    list.erase(std::remove_if(list.begin(), list.end(), [](const auto& s) { return s->firing == 0; }), list.end());
}

class QtApplicationPeer : public IApplicationPeer {
public:
    void ProcessMessages() override {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        FlushRetiredWidgets();
        flushRetiredTimers();
    }
    void HandleMessage() override {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        FlushRetiredWidgets();
        flushRetiredTimers();
    }
    void Wake() override {
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(qApp ? qApp->thread() : nullptr))
            d->wakeUp();
    }
    TRect ScreenRect() const override {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? toTRect(s->geometry()) : TRect(0, 0, 1024, 768);
    }
    TRect WorkAreaRect() const override {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? toTRect(s->availableGeometry()) : TRect(0, 0, 1024, 768);
    }
    TRect DesktopRect() const override {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? toTRect(s->virtualGeometry()) : TRect(0, 0, 1024, 768);
    }
    TPoint CursorPos() const override {
        QPoint p = QCursor::pos();
        return TPoint(p.x(), p.y());
    }
    // One override cursor at most: the screen's.
    void SetOverrideCursor(TCursor Cursor) override {
        if (Cursor == crDefault) {
            if (overridden_) QApplication::restoreOverrideCursor();
            overridden_ = false;
        } else if (overridden_) {
            QApplication::changeOverrideCursor(QCursor(CursorShapeOf(Cursor)));
        } else {
            QApplication::setOverrideCursor(QCursor(CursorShapeOf(Cursor)));
            overridden_ = true;
        }
    }
    // The display name would be appended to every window title; the
    // application name names the program without touching the titles.
    void SetTitle(const std::string& Utf8) override {
        QCoreApplication::setApplicationName(QString::fromStdString(Utf8));
    }
    void SetIcon(const TPixelsView& Icon) override {
        QImage img = ToQImage(Icon, -1);
        QApplication::setWindowIcon(img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img)));
    }
    void Beep() override { QApplication::beep(); }
    // Qt's own translations (Debian: qt6-translations-l10n).
    bool SetLanguage(const std::string& Code) override {
        if (translator_) QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
        if (Code.empty() || Code == "en") return true;
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QLocale(QString::fromStdString(Code)), QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            return false;
        QCoreApplication::installTranslator(translator.get());
        translator_ = std::move(translator);
        return true;
    }

private:
    bool overridden_ = false;
    std::unique_ptr<QTranslator> translator_;
};

class QtDialogPeer : public IDialogPeer {
public:
    int MessageBox(const std::string& TextUtf8, const std::string& CaptionUtf8, int Flags) override {
        QMessageBox box;
        box.setWindowTitle(QString::fromStdString(CaptionUtf8));
        box.setText(QString::fromStdString(TextUtf8));
        switch (Flags & 0xF0) {
        case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
        case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: box.setIcon(QMessageBox::NoIcon); break;
        }
        struct B {
            QMessageBox::StandardButton qt;
            int id;
        };
        std::vector<B> buttons;
        switch (Flags & 0xF) {
        case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
        case MB_ABORTRETRYIGNORE:
            buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
            break;
        case MB_YESNOCANCEL:
            buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
            break;
        case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
        case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
        default: buttons = {{QMessageBox::Ok, IDOK}}; break;
        }
        QMessageBox::StandardButtons set;
        for (const B& b : buttons) set |= b.qt;
        box.setStandardButtons(set);
        size_t def = (Flags & MB_DEFBUTTON3) ? 2 : (Flags & MB_DEFBUTTON2) ? 1 : 0;
        if (def < buttons.size()) box.setDefaultButton(buttons[def].qt);
        int r = box.exec();
        for (const B& b : buttons)
            if (r == b.qt) return b.id;
        // Closed without a button: Cancel when there is one, else the only answer.
        for (const B& b : buttons)
            if (b.id == IDCANCEL) return IDCANCEL;
        return buttons.size() == 1 ? buttons[0].id : IDCANCEL;
    }
    bool FileDialog(TFileDialogData& Data) override { return RunFileDialog(Data); }
};

class QtTimerPeer : public ITimerPeer {
public:
    explicit QtTimerPeer(TTimer* T) : s_(std::make_shared<TimerState>()) {
        s_->timer.setTimerType(Qt::CoarseTimer);
        TimerState* s = s_.get();
        QObject::connect(&s->timer, &QTimer::timeout, [s, T] {
            ++s->firing;
            TPeerInput::TimerFired(T);
            --s->firing;
        });
    }
    ~QtTimerPeer() override {
        s_->timer.stop();
        if (s_->firing > 0) retiredTimers().push_back(s_);
    }
    void Set(bool Enabled, unsigned Interval) override {
        if (Enabled && Interval > 0)
            s_->timer.start(int(std::min<unsigned>(Interval, 0x7FFFFFFF)));
        else
            s_->timer.stop();
    }

private:
    std::shared_ptr<TimerState> s_;
};

}  // namespace

std::unique_ptr<IApplicationPeer> MakeApplicationPeer() { return std::make_unique<QtApplicationPeer>(); }
std::unique_ptr<IDialogPeer> MakeDialogPeer() { return std::make_unique<QtDialogPeer>(); }

// ---------------------------------------------------------------------------

QtPeerFactory::QtPeerFactory()
    : app_(MakeApplicationPeer()), dialogs_(MakeDialogPeer()), measurer_(std::make_unique<QtMeasurer>()) {
    RegisterStandardPeers(*this);
}

QtPeerFactory::~QtPeerFactory() = default;

void QtPeerFactory::Register(TMetaClass* Class, TPeerCreator Creator) { creators_[Class] = std::move(Creator); }

std::unique_ptr<IControlPeer> QtPeerFactory::CreateControlPeer(TControl* Control, IControlPeer* Parent) {
    QWidget* parentWidget = nullptr;
    if (Parent) {
        auto* base = dynamic_cast<QtPeerBase*>(Parent);
        parentWidget = base ? base->Widget() : nullptr;
        if (!parentWidget) return nullptr;
    }
    for (TMetaClass* c = Control->ClassType(); c; c = c->ClassParent()) {
        auto it = creators_.find(c);
        if (it != creators_.end()) return it->second(Control, parentWidget);
    }
    return nullptr;
}

std::unique_ptr<ITimerPeer> QtPeerFactory::CreateTimerPeer(TTimer* Timer) {
    return std::make_unique<QtTimerPeer>(Timer);
}

std::unique_ptr<ITrayPeer> QtPeerFactory::CreateTrayPeer(TComponent* Tray) { return MakeTrayPeer(Tray); }

std::unique_ptr<IMenuPeer> QtPeerFactory::CreateMenuPeer(TComponent* Menu) { return MakeMenuPeer(Menu); }

std::unique_ptr<IPaintBackend> QtPeerFactory::CreateBitmapBackend(TBitmap* Bitmap) {
    return std::make_unique<QtBitmapBackend>(Bitmap);
}

bool QtPeerFactory::DecodeImage(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels) {
    return DecodeImageBytes(Bytes, Width, Height, Pixels);
}

bool QtPeerFactory::EncodeImage(const TPixelsView& Image, const char* Format, std::string& Bytes) {
    return EncodeImageBytes(Image, Format, Bytes);
}

}  // namespace yorde::qt
