#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

YORDE_IMPLEMENT_CLASS(TButtonControl, [](TClassBuilder<TButtonControl>&) {})
YORDE_IMPLEMENT_CLASS(TButton, [](TClassBuilder<TButton>& c) {
    PublishControl(c, pcStandard | pcCaption | pcFocus | pcKeyEvents);
    c.Property("Cancel", &TButton::Cancel, &TButton::SetCancel);
    c.Property("Default", &TButton::Default, &TButton::SetDefault);
    c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
})
YORDE_IMPLEMENT_CLASS(TCustomCheckBox, [](TClassBuilder<TCustomCheckBox>&) {})
YORDE_IMPLEMENT_CLASS(TCheckBox, [](TClassBuilder<TCheckBox>& c) {
    PublishControl(c, pcStandard | pcCaption | pcFocus | pcKeyEvents);
    c.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
    c.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed);
    c.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false);
    c.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
})

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
    // Clicks come from the button itself, not from the generic mouse handling.
    controlStyle_ = TControlStyle{csSetCaption, csDoubleClicks};
    SetTabStop(true);
}

// ---------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 75, 25); }

void TButton::Click() {
    if (QueueOffMain(Life(), [this] { Click(); })) return;
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::SetDefault(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDefault(Value); })) return;
    default_ = Value;
    if (auto* p = PeerAs<IButtonPeer>()) p->SetDefault(default_);
}

bool TButton::DialogKey(WORD Key, TShiftState /*Shift*/, TWinControl* FocusedControl) {
    // While a button has the focus, Enter is that button's.
    bool active = dynamic_cast<TButton*>(FocusedControl) ? FocusedControl == this : default_;
    if (((Key == VK_RETURN && active) || (Key == VK_ESCAPE && cancel_)) && CanFocus()) {
        Click();
        return true;
    }
    return false;
}

void TButton::InitPeer() {
    TButtonControl::InitPeer();
    if (auto* p = PeerAs<IButtonPeer>()) p->SetDefault(default_);
}

// ---------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { StoreBounds(0, 0, 97, 17); }

TCheckBoxState TCustomCheckBox::State() const {
    return ReadOnMain([this] { return state_; });
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (QueueOffMain(Life(), [this, Value] { SetState(Value); })) return;
    if (Value == state_) return;
    state_ = Value;
    if (auto* p = PeerAs<ICheckBoxPeer>()) p->SetState(state_);
    if (!Loading()) Click();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::InitPeer() {
    TButtonControl::InitPeer();
    if (auto* p = PeerAs<ICheckBoxPeer>()) p->SetState(state_);
}
