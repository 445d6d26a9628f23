#include "vcl/RadioButton.h"

#include "vcl/CommonPeers.h"

YORDE_IMPLEMENT_CLASS(TRadioButton, [](TClassBuilder<TRadioButton>& c) {
    PublishControl(c, pcStandard | pcCaption | pcFocus | pcKeyEvents);
    c.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
    c.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(0);
})

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 113, 17); }

bool TRadioButton::Checked() const {
    return ReadOnMain([this] { return checked_; });
}

void TRadioButton::SetChecked(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetChecked(Value); })) return;
    if (Value == checked_) return;
    checked_ = Value;
    if (auto* p = PeerAs<IRadioButtonPeer>()) p->SetChecked(checked_);
    if (!Value) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
            if (sibling && sibling != this) sibling->SetChecked(false);
        }
    }
    if (!Loading()) Click();
}

void TRadioButton::SetAlignment(TAlignment Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAlignment(Value); })) return;
    alignment_ = Value;
    if (auto* p = PeerAs<IRadioButtonPeer>()) p->SetAlignment(alignment_);
}

void TRadioButton::UserClicked() { SetChecked(true); }

void TRadioButton::InitPeer() {
    TButtonControl::InitPeer();
    if (auto* p = PeerAs<IRadioButtonPeer>()) {
        p->SetChecked(checked_);
        p->SetAlignment(alignment_);
    }
}
