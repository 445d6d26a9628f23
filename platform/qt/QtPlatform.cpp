#include "qt/QtPlatform.h"

#include "qt/QtPeer.h"
#include "qt/QtPeerFactory.h"

#include "vcl/Forms.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>

#include <atomic>

namespace yorde::qt {

namespace {

// Lives on the main thread; runs the queued calls of worker threads.
class MainThreadWaker : public QObject {
public:
    static QEvent::Type eventType() {
        static const auto type = QEvent::Type(QEvent::registerEventType());
        return type;
    }
    void wake() {
        if (!pending_.exchange(true)) QCoreApplication::postEvent(this, new QEvent(eventType()));
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() != eventType()) return QObject::event(e);
        pending_ = false;
        for (int round = 0; round < 1000; ++round) {
            if (TPeerInput::Dispatch([] { CheckSynchronize(); })) break;
        }
        return true;
    }

private:
    std::atomic<bool> pending_{false};
};

struct Installed {
    std::unique_ptr<QtPeerFactory> factory;
    std::unique_ptr<MainThreadWaker> waker;
};

Installed& installed() {
    static Installed i;
    return i;
}

}  // namespace

void InstallQtPlatform() {
    Installed& i = installed();
    if (i.factory) return;
    if (!qApp) throw EInvalidOperation("InstallQtPlatform needs a QApplication");
    InitMainThread();
    QApplication::setQuitOnLastWindowClosed(false);
    i.factory = std::make_unique<QtPeerFactory>();
    i.waker = std::make_unique<MainThreadWaker>();
    MainThreadWaker* waker = i.waker.get();
    WakeMainThread = [waker] { waker->wake(); };
    InstallPeerFactory(i.factory.get());
}

void UninstallQtPlatform() {
    Installed& i = installed();
    if (!i.factory) return;
    Application->DestroyComponents();
    // Forms that nobody freed lose their windows now; they stay usable as state.
    for (int n = Screen->FormCount() - 1; n >= 0; --n)
        if (IControlPeer* p = Screen->Forms(n)->Peer()) p->SetVisible(false);
    FlushRetiredWidgets();
    WakeMainThread = nullptr;
    InstallPeerFactory(nullptr);
    i.waker.reset();
    i.factory.reset();
}

QtApplication::QtApplication(int& argc, char** argv) : app_(std::make_unique<QApplication>(argc, argv)) {
    InstallQtPlatform();
}

QtApplication::~QtApplication() { UninstallQtPlatform(); }

QWidget* WidgetOf(TControl* Control) {
    if (!Control) return nullptr;
    Control->HandleNeeded();
    return PeerWidgetOf(Control);
}

bool SaveScreenshot(TControl* FormOrControl, const AnsiString& PngPath) {
    QWidget* w = WidgetOf(FormOrControl);
    if (!w) return false;
    // Let pending layout and paint requests settle first.
    QCoreApplication::sendPostedEvents();
    QPixmap shot = w->grab();
    if (shot.isNull()) return false;
    return shot.save(QString::fromStdString(ToOsText(PngPath)), "PNG");
}

}  // namespace yorde::qt
