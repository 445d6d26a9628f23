#include "vcl/ProgressBar.h"

#include "vcl/CommonPeers.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TProgressBar, [](TClassBuilder<TProgressBar>& c) {
    PublishControl(c, pcAlign | pcEnabled | pcVisible | pcHints | pcPopupMenu | pcFocus | pcMouseEvents | pcAction);
    c.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
    c.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
    c.Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(pbHorizontal);
    c.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
    c.Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(0);
    c.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
})

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    StoreBounds(0, 0, 150, 16);
    SetColor(clBtnFace);
}

int TProgressBar::clamped(int Value) const {
    // An empty range holds only Min.
    return max_ <= min_ ? min_ : std::clamp(Value, min_, max_);
}

int TProgressBar::Position() const {
    return ReadOnMain([this] { return position_; });
}

void TProgressBar::SetPosition(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetPosition(Value); })) return;
    position_ = Loading() ? Value : clamped(Value);
    push();
}

void TProgressBar::SetMin(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMin(Value); })) return;
    min_ = Value;
    if (!Loading()) position_ = clamped(position_);
    push();
}

void TProgressBar::SetMax(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMax(Value); })) return;
    max_ = Value;
    if (!Loading()) position_ = clamped(position_);
    push();
}

void TProgressBar::Loaded() {
    TWinControl::Loaded();
    position_ = clamped(position_);
}

void TProgressBar::StepIt() { StepBy(step_); }

void TProgressBar::StepBy(int Delta) {
    if (QueueOffMain(Life(), [this, Delta] { StepBy(Delta); })) return;
    if (max_ <= min_) return;
    long long range = (long long)max_ - min_;
    long long next = (long long)position_ + Delta;
    // Past either end the bar starts over from the other one.
    if (next > max_)
        next = min_ + (next - min_) % range;
    else if (next < min_)
        next = max_ - (max_ - next) % range;
    position_ = int(next);
    push();
}

void TProgressBar::SetSmooth(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSmooth(Value); })) return;
    smooth_ = Value;
    if (auto* p = PeerAs<IProgressBarPeer>()) p->SetSmooth(smooth_);
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
    if (QueueOffMain(Life(), [this, Value] { SetOrientation(Value); })) return;
    if (Value == orientation_) return;
    orientation_ = Value;
    if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
    if (auto* p = PeerAs<IProgressBarPeer>()) p->SetOrientation(orientation_);
}

void TProgressBar::push() {
    if (auto* p = PeerAs<IProgressBarPeer>()) p->SetProgress(min_, max_, position_);
}

void TProgressBar::InitPeer() {
    TWinControl::InitPeer();
    if (auto* p = PeerAs<IProgressBarPeer>()) {
        p->SetOrientation(orientation_);
        p->SetSmooth(smooth_);
        p->SetProgress(min_, max_, position_);
    }
}
