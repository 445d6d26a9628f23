// Popup menus as QMenu, built afresh from the menu's items each time.
#include "qt/QtMenus.h"

#include "qt/QtPaint.h"
#include "vcl/Menus.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPointer>

namespace yorde::qt {

namespace {

void addEntries(QMenu* Q, TMenu* Menu, const std::vector<TMenuEntry>& Items, const std::shared_ptr<bool>& Alive) {
    for (const TMenuEntry& e : Items) {
        if (e.Separator) {
            Q->addSeparator();
            continue;
        }
        QString caption = QString::fromStdString(e.Caption);
        if (!e.Items.empty()) {
            QMenu* sub = Q->addMenu(caption);
            sub->setEnabled(e.Enabled);
            addEntries(sub, Menu, e.Items, Alive);
            continue;
        }
        QAction* a = Q->addAction(caption);
        a->setEnabled(e.Enabled);
        if (e.Checked || e.RadioItem) {
            a->setCheckable(true);
            a->setChecked(e.Checked);
        }
        if (e.Default) {
            QFont f = a->font();
            f.setBold(true);
            a->setFont(f);
        }
        if (!e.Icon.empty()) {
            QImage img = ToQImage(TPixelsView{e.IconWidth, e.IconHeight, e.Icon.data()}, -1);
            a->setIcon(QIcon(QPixmap::fromImage(img)));
        }
        unsigned command = e.Command;
        std::weak_ptr<bool> alive = Alive;
        // The item's handler runs once the menu's own event is over: a
        // handler that opens a dialog runs a nested event loop, which would
        // otherwise delete the menu (deleteLater on hide) under the event.
        QObject::connect(
            a, &QAction::triggered, qApp,
            [Menu, command, alive] {
                if (!alive.expired()) TMenuInput::Command(Menu, command);
            },
            Qt::QueuedConnection);
    }
}

class QtMenuPeer : public IMenuPeer {
public:
    explicit QtMenuPeer(TMenu* Menu) : menu_(Menu), alive_(std::make_shared<bool>(true)) {}
    ~QtMenuPeer() override {
        alive_.reset();
        Close();
    }

    void Popup(const std::vector<TMenuEntry>& Items, TPoint ScreenPos) override {
        Close();
        QMenu* q = buildMenu(Items);
        open_ = q;
        // The chosen action fires after the menu hid, from the same event,
        // so deleting the menu later is safe.
        QObject::connect(q, &QMenu::aboutToHide, q, &QObject::deleteLater);
        q->popup(QPoint(ScreenPos.X, ScreenPos.Y));
    }

    void Close() override {
        if (!open_) return;
        QMenu* q = open_;
        open_ = nullptr;
        q->hide();
        q->deleteLater();
    }

private:
    QMenu* buildMenu(const std::vector<TMenuEntry>& Items) {
        auto* q = new QMenu;
        addEntries(q, menu_, Items, alive_);
        return q;
    }

    TMenu* menu_;
    std::shared_ptr<bool> alive_;
    QPointer<QMenu> open_;
};

}  // namespace

std::unique_ptr<IMenuPeer> MakeMenuPeer(TComponent* Menu) {
    auto* m = dynamic_cast<TMenu*>(Menu);
    if (!m) return nullptr;
    return std::make_unique<QtMenuPeer>(m);
}

}  // namespace yorde::qt
