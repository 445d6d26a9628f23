// The tray icon as QSystemTrayIcon.
#include "qt/QtMenus.h"

#include "qt/QtPaint.h"
#include "qt/QtText.h"
#include "vcl/TrayIcon.h"

#include <QCursor>
#include <QSystemTrayIcon>

namespace yorde::qt {

namespace {

class QtTrayPeer : public ITrayPeer {
public:
    explicit QtTrayPeer(TTrayIcon* Tray) : icon_(new QSystemTrayIcon) {
        QObject::connect(icon_, &QSystemTrayIcon::activated, icon_, [Tray](QSystemTrayIcon::ActivationReason r) {
            switch (r) {
            case QSystemTrayIcon::Trigger: TTrayInput::Click(Tray); break;
            case QSystemTrayIcon::DoubleClick: TTrayInput::DoubleClick(Tray); break;
            case QSystemTrayIcon::Context: {
                QPoint p = QCursor::pos();
                TTrayInput::ContextMenu(Tray, p.x(), p.y());
                break;
            }
            default: break;
            }
        });
    }
    // A handler of the icon's own signal may free the tray icon: the Qt
    // object goes later, from the event loop.
    ~QtTrayPeer() override {
        QObject::disconnect(icon_, nullptr, nullptr, nullptr);
        icon_->hide();
        icon_->deleteLater();
    }

    bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void SetVisible(bool Visible) override { icon_->setVisible(Visible); }
    void SetIcon(const TPixelsView& Icon) override {
        QImage img = ToQImage(Icon, -1);
        icon_->setIcon(img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img)));
    }
    void SetHint(const AnsiString& Bytes, int CodePage) override { icon_->setToolTip(DecodeText(Bytes, CodePage)); }

private:
    QSystemTrayIcon* icon_;
};

}  // namespace

std::unique_ptr<ITrayPeer> MakeTrayPeer(TComponent* Tray) {
    auto* t = dynamic_cast<TTrayIcon*>(Tray);
    if (!t) return nullptr;
    return std::make_unique<QtTrayPeer>(t);
}

}  // namespace yorde::qt
