// Peers of the track bar and the progress bar.
//
// The track bar's keys never reach QSlider: the component maps them itself
// after OnKeyDown (which may change the key), as the Windows bar does. Mouse
// and wheel moves are QSlider's and are reported as the user's moves.
#include "qt/QtCommonPeers.h"
#include "qt/QtPeer.h"

#include "vcl/CommonInput.h"
#include "vcl/CommonPeers.h"
#include "vcl/TrackBar.h"

#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>

namespace yorde::qt {

namespace {

class TrackWidget : public PeerWidget<QSlider> {
public:
    explicit TrackWidget(QWidget* Parent) : PeerWidget<QSlider>(Parent) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        e->accept();
        if (!peer) return;
        auto* bar = static_cast<TTrackBar*>(peer->Control());
        WORD key = VirtualKeyFromQt(e->key(), e->modifiers());
        if (key != 0) {
            auto outcome = TCommonInput::TrackBarKeyDown(bar, key, ShiftFromQt(e->modifiers(), Qt::NoButton));
            if (!peer || outcome == TPeerInput::TKeyOutcome::Consumed) return;
        }
        QString text = e->text();
        if (text.size() == 1 && text.at(0).unicode() >= 32) {
            AnsiString bytes = EncodeText(text, bar->CodePage());
            char ch = bytes.empty() ? '\0' : bytes[0];
            TPeerInput::KeyPress(bar, ch);
        }
    }
};

class QtTrackBarPeer : public QtPeer<ITrackBarPeer, TrackWidget> {
public:
    QtTrackBarPeer(TControl* C, QWidget* Parent) : QtPeer(C, new TrackWidget(Parent)) {
        TrackWidget* t = w();
        t->setFocusPolicy(Qt::StrongFocus);
        t->setOrientation(Qt::Horizontal);
        t->setSingleStep(1);
        QObject::connect(t, &QSlider::valueChanged, t, [t](int value) {
            if (t->peer) TCommonInput::TrackBarMoved(static_cast<TTrackBar*>(t->peer->Control()), value);
        });
    }
    void SetColor(TColor Color, bool /*ParentBackground*/) override {
        if (w()) paintBackground(Color, w()->backgroundRole());
    }
    void SetRange(int Min, int Max) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setRange(Min, Max);
    }
    void SetPosition(int Position) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setValue(Position);
    }
    void SetOrientation(TTrackBarOrientation Orientation) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setOrientation(Orientation == trVertical ? Qt::Vertical : Qt::Horizontal);
        // Min is at the top of a vertical Windows bar.
        w()->setInvertedAppearance(Orientation == trVertical);
        w()->setInvertedControls(Orientation == trVertical);
        pushTicks();
    }
    void SetTicks(TTickStyle Style, TTickMark Marks, int Frequency) override {
        style_ = Style;
        marks_ = Marks;
        frequency_ = Frequency;
        pushTicks();
    }
    void SetPageSize(int PageSize) override {
        if (w()) w()->setPageStep(PageSize);
    }
    void SetSliderVisible(bool /*Visible*/) override {}

private:
    void pushTicks() {
        if (!w()) return;
        QSlider::TickPosition pos = QSlider::NoTicks;
        if (style_ != tsNone)
            pos = marks_ == tmBoth      ? QSlider::TicksBothSides
                  : marks_ == tmTopLeft ? QSlider::TicksAbove
                                        : QSlider::TicksBelow;
        w()->setTickPosition(pos);
        // Manual ticks: Windows shows only the two ends until ticks are set.
        int range = std::max(1, w()->maximum() - w()->minimum());
        w()->setTickInterval(style_ == tsManual ? range : std::max(1, frequency_));
    }

    TTickStyle style_ = tsAuto;
    TTickMark marks_ = tmBottomRight;
    int frequency_ = 1;
};

class ProgressWidget : public PeerWidget<QProgressBar> {
public:
    explicit ProgressWidget(QWidget* Parent) : PeerWidget<QProgressBar>(Parent) {}
};

class QtProgressBarPeer : public QtPeer<IProgressBarPeer, ProgressWidget> {
public:
    QtProgressBarPeer(TControl* C, QWidget* Parent) : QtPeer(C, new ProgressWidget(Parent)) {
        w()->setFocusPolicy(Qt::NoFocus);
        w()->setTextVisible(false);
    }
    void SetProgress(int Min, int Max, int Position) override {
        if (!w()) return;
        if (Max <= Min) {
            // A range of 0..0 would make Qt show its busy animation.
            w()->setRange(0, 1);
            w()->setValue(0);
            return;
        }
        w()->setRange(Min, Max);
        w()->setValue(std::clamp(Position, Min, Max));
    }
    void SetOrientation(TProgressBarOrientation Orientation) override {
        if (w()) w()->setOrientation(Orientation == pbVertical ? Qt::Vertical : Qt::Horizontal);
    }
    void SetSmooth(bool /*Smooth*/) override {}
};

}  // namespace

std::unique_ptr<IControlPeer> MakeTrackBarPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtTrackBarPeer>(Control, Parent);
}

std::unique_ptr<IControlPeer> MakeProgressBarPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtProgressBarPeer>(Control, Parent);
}

}  // namespace yorde::qt
