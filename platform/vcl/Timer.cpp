#include "vcl/ExtCtrls.h"

YORDE_IMPLEMENT_CLASS(TTimer, [](TClassBuilder<TTimer>& c) {
    c.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(1);
    c.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
    c.Event("OnTimer", &TTimer::OnTimer);
})

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { update(); }

TTimer::~TTimer() = default;

bool TTimer::Enabled() const {
    return ReadOnMain([this] { return enabled_; });
}
unsigned TTimer::Interval() const {
    return ReadOnMain([this] { return interval_; });
}

void TTimer::SetEnabled(bool Value) {
    if (QueueOffMain(life_, [this, Value] { SetEnabled(Value); })) return;
    // Enabling again restarts the interval, as with the class library.
    enabled_ = Value;
    update();
}

void TTimer::SetInterval(unsigned Value) {
    if (QueueOffMain(life_, [this, Value] { SetInterval(Value); })) return;
    interval_ = Value;
    update();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    update();
}

void TTimer::update() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    bool run = enabled_ && interval_ > 0;
    if (run && !peer_)
        if (IPeerFactory* f = PeerFactory()) peer_ = f->CreateTimerPeer(this);
    if (peer_) peer_->Set(run, interval_);
}

void TTimer::Timer() { OnTimer(this); }
