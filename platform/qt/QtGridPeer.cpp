// Grids on Qt: the viewport of a QAbstractScrollArea shows what the
// component paints; the bars report scroll actions and show the ranges the
// component decides. Nothing scrolls by itself: keys, wheel and bar actions
// all go to the component.
#include "qt/QtGridPeer.h"

#include "qt/QtPaint.h"
#include "qt/QtPeer.h"

#include "vcl/Grids.h"

#include <QAbstractScrollArea>
#include <QPaintEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace yorde::qt {

namespace {

// Bars exactly ScrollBarSize thick, so that the client area on screen is
// the one the component computes.
class SizedScrollBar : public QScrollBar {
public:
    explicit SizedScrollBar(Qt::Orientation O) : QScrollBar(O, nullptr) {}
    QSize sizeHint() const override {
        QSize s = QScrollBar::sizeHint();
        if (orientation() == Qt::Vertical)
            s.setWidth(ScrollBarSize);
        else
            s.setHeight(ScrollBarSize);
        return s;
    }
};

class ScrollArea : public QAbstractScrollArea {
public:
    explicit ScrollArea(QWidget* Parent) : QAbstractScrollArea(Parent) {}

protected:
    // The component handles the keys and decides what is in view.
    void keyPressEvent(QKeyEvent* e) override { e->ignore(); }
    void scrollContentsBy(int, int) override {}
};

class GridWidget : public ScrollPeerWidget<ScrollArea> {
public:
    explicit GridWidget(QWidget* Parent) : ScrollPeerWidget<ScrollArea>(Parent) {
        setVerticalScrollBar(new SizedScrollBar(Qt::Vertical));
        setHorizontalScrollBar(new SizedScrollBar(Qt::Horizontal));
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        viewport()->setMouseTracking(true);
        viewport()->setAutoFillBackground(false);
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    // Qt lays the bars out only while the area is visible: the policies set
    // while it was hidden (a refill hides the list) take effect here. Setting
    // a policy on a visible area lays both bars out.
    void showEvent(QShowEvent* e) override {
        ScrollPeerWidget<ScrollArea>::showEvent(e);
        setVerticalScrollBarPolicy(verticalScrollBarPolicy());
    }

    void paintEvent(QPaintEvent* e) override {
        if (gone()) return;
        QPainter painter(viewport());
        QtPainterBackend backend(&painter, e->rect());
        const QRect r = e->rect();
        TPeerInput::Paint(control(), backend, TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
    }

    void wheelEvent(QWheelEvent* e) override {
        if (!gone()) {
            QPoint p = e->position().toPoint();
            TScrollInput::MouseWheel(control(), ShiftFromQt(e->modifiers(), e->buttons()), e->angleDelta().y(),
                                     TPoint(p.x(), p.y()));
        }
        e->accept();
    }
};

TScrollCode scrollCodeOf(int Action, bool Dragging) {
    switch (Action) {
    case QAbstractSlider::SliderSingleStepAdd: return scLineDown;
    case QAbstractSlider::SliderSingleStepSub: return scLineUp;
    case QAbstractSlider::SliderPageStepAdd: return scPageDown;
    case QAbstractSlider::SliderPageStepSub: return scPageUp;
    case QAbstractSlider::SliderToMinimum: return scTop;
    case QAbstractSlider::SliderToMaximum: return scBottom;
    default: return Dragging ? scTrack : scPosition;  // SliderMove: the thumb, or the wheel over the bar
    }
}

class QtGridPeer : public QtPeer<IControlPeer, GridWidget>, public IScrollBarsPeer {
public:
    QtGridPeer(TControl* C, QWidget* Parent) : QtPeer(C, new GridWidget(Parent)) {
        connectBar(sbHorizontal);
        connectBar(sbVertical);
    }

    void Invalidate() override {
        if (w()) w()->viewport()->update();
    }
    void Repaint() override {
        if (w()) w()->viewport()->repaint();
    }

    void SetBorderStyle(TBorderStyle Style) override {
        if (w()) w()->setFrameStyle(Style == bsSingle ? QFrame::WinPanel | QFrame::Sunken : QFrame::NoFrame);
    }

    void SetScrollBar(TScrollBarKind Kind, const TScrollBarState& State) override {
        GridWidget* g = w();
        if (!g) return;
        QScrollBar* bar = barOf(Kind);
        {
            QSignalBlocker block(bar);
            bar->setRange(State.Min, std::max(State.Min, State.Max - State.Page + 1));
            bar->setPageStep(State.Page);
            bar->setSingleStep(1);
            bar->setSliderPosition(State.Position);
        }
        Qt::ScrollBarPolicy policy = State.Visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
        if (Kind == sbVertical)
            g->setVerticalScrollBarPolicy(policy);
        else
            g->setHorizontalScrollBarPolicy(policy);
    }

private:
    QScrollBar* barOf(TScrollBarKind Kind) const {
        return Kind == sbVertical ? w()->verticalScrollBar() : w()->horizontalScrollBar();
    }

    void connectBar(TScrollBarKind Kind) {
        GridWidget* g = w();
        QScrollBar* bar = barOf(Kind);
        QObject::connect(bar, &QAbstractSlider::actionTriggered, g, [g, bar, Kind](int action) {
            if (action == QAbstractSlider::SliderNoAction || !g->peer) return;
            TScrollInput::ScrollBar(g->peer->Control(), Kind, scrollCodeOf(action, bar->isSliderDown()),
                                    bar->sliderPosition());
        });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, g, [g, bar, Kind] {
            if (g->peer) TScrollInput::ScrollBar(g->peer->Control(), Kind, scPosition, bar->sliderPosition());
        });
    }
};

}  // namespace

void RegisterGridPeers(QtPeerFactory* Factory) {
    if (!Factory) Factory = dynamic_cast<QtPeerFactory*>(PeerFactory());
    if (!Factory) return;
    Factory->Register(TCustomGrid::StaticClass(), [](TControl* c, QWidget* parent) -> std::unique_ptr<IControlPeer> {
        return std::make_unique<QtGridPeer>(c, parent);
    });
}

}  // namespace yorde::qt
