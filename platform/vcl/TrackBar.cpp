#include "vcl/TrackBar.h"

#include "vcl/CommonPeers.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TTrackBar, [](TClassBuilder<TTrackBar>& c) {
    PublishControl(c, pcAlign | pcEnabled | pcVisible | pcHints | pcPopupMenu | pcFocus | pcKeyEvents | pcAction);
    c.Property("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1);
    c.Property("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1);
    c.Property("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10);
    c.Property("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0);
    c.Property("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation).Default(trHorizontal);
    c.Property("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2);
    c.Property("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0);
    c.Property("SelEnd", &TTrackBar::SelEnd, &TTrackBar::SetSelEnd).Default(0);
    c.Property("SelStart", &TTrackBar::SelStart, &TTrackBar::SetSelStart).Default(0);
    c.Property("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible).Default(1);
    c.Property("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength).Default(20);
    c.Property("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks).Default(tmBottomRight);
    c.Property("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle).Default(tsAuto);
    c.Event("OnChange", &TTrackBar::OnChange);
})

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks};
    StoreBounds(0, 0, 150, 45);
    SetTabStop(true);
    // The native bar paints its background with the parent's brush: the
    // colour follows the parent (ParentColor stays true).
    color_ = clBtnFace;
}

int TTrackBar::Position() const {
    return ReadOnMain([this] { return position_; });
}

void TTrackBar::SetPosition(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetPosition(Value); })) return;
    setParams(Value, min_, max_);
}

void TTrackBar::SetMin(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMin(Value); })) return;
    if (Loading())
        min_ = Value;
    else if (Value <= max_)
        setParams(position_, Value, max_);
}

void TTrackBar::SetMax(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMax(Value); })) return;
    if (Loading())
        max_ = Value;
    else if (Value >= min_)
        setParams(position_, min_, Value);
}

void TTrackBar::Loaded() {
    TWinControl::Loaded();
    if (max_ < min_) std::swap(min_, max_);
    position_ = std::clamp(position_, min_, max_);
}

void TTrackBar::setParams(int Position, int Min, int Max) {
    if (Loading()) {
        // Clamped in Loaded, once both ends are known.
        position_ = Position;
        return;
    }
    Position = std::clamp(Position, Min, Max);
    bool rangeChanged = Min != min_ || Max != max_;
    bool moved = Position != position_;
    min_ = Min;
    max_ = Max;
    position_ = Position;
    if (auto* p = PeerAs<ITrackBarPeer>()) {
        if (rangeChanged) {
            p->SetRange(min_, max_);
            pushTicks();
        }
        if (moved || rangeChanged) p->SetPosition(position_);
    }
    if (moved) Changed();
}

void TTrackBar::Changed() { OnChange(this); }

void TTrackBar::KeyAction(WORD Key) {
    switch (Key) {
    case VK_LEFT:
    case VK_UP: SetPosition(position_ - lineSize_); break;
    case VK_RIGHT:
    case VK_DOWN: SetPosition(position_ + lineSize_); break;
    case VK_PRIOR: SetPosition(position_ - pageSize_); break;
    case VK_NEXT: SetPosition(position_ + pageSize_); break;
    case VK_HOME: SetPosition(min_); break;
    case VK_END: SetPosition(max_); break;
    default: break;
    }
}

void TTrackBar::UserMoved(int Position) { SetPosition(Position); }

void TTrackBar::SetFrequency(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFrequency(Value); })) return;
    frequency_ = std::max(1, Value);
    pushTicks();
}

void TTrackBar::SetPageSize(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetPageSize(Value); })) return;
    pageSize_ = Value;
    if (auto* p = PeerAs<ITrackBarPeer>()) p->SetPageSize(pageSize_);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (QueueOffMain(Life(), [this, Value] { SetOrientation(Value); })) return;
    if (Value == orientation_) return;
    orientation_ = Value;
    // The class library turns the bar with its orientation.
    if (!Loading()) SetBounds(Left(), Top(), Height(), Width());
    if (auto* p = PeerAs<ITrackBarPeer>()) p->SetOrientation(orientation_);
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTickStyle(Value); })) return;
    tickStyle_ = Value;
    pushTicks();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTickMarks(Value); })) return;
    tickMarks_ = Value;
    pushTicks();
}

void TTrackBar::SetSliderVisible(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSliderVisible(Value); })) return;
    sliderVisible_ = Value;
    if (auto* p = PeerAs<ITrackBarPeer>()) p->SetSliderVisible(sliderVisible_);
}

void TTrackBar::pushTicks() {
    if (auto* p = PeerAs<ITrackBarPeer>()) p->SetTicks(tickStyle_, tickMarks_, frequency_);
}

void TTrackBar::InitPeer() {
    TWinControl::InitPeer();
    if (auto* p = PeerAs<ITrackBarPeer>()) {
        p->SetOrientation(orientation_);
        p->SetRange(min_, max_);
        p->SetPosition(position_);
        p->SetPageSize(pageSize_);
        p->SetSliderVisible(sliderVisible_);
        pushTicks();
    }
}
