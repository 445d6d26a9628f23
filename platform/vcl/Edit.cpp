#include "vcl/StdCtrls.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomEdit, [](TClassBuilder<TCustomEdit>&) {})

YORDE_IMPLEMENT_CLASS(TEdit, [](TClassBuilder<TEdit>& c) {
    PublishControl(c, pcStandard | pcText | pcFocus | pcKeyEvents);
    c.Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect).Default(1);
    c.Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle).Default(bsSingle);
    c.Property("CharCase", &TEdit::CharCase, &TEdit::SetCharCase).Default(ecNormal);
    c.Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength).Default(0);
    c.Property("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar).Default(0);
    c.Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly);
    c.Event("OnChange", AsMemberOf<TEdit>(&TEdit::OnChange));
})

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    StoreBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
    userData_ = true;
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::TextChanged() {
    TWinControl::TextChanged();
    selStart_ = std::min(selStart_, int(text_.size()));
    selLength_ = 0;
    if (!Loading()) Change();
}

void TCustomEdit::UserChangedText(const AnsiString& Bytes) {
    if (Bytes == text_) return;
    text_ = Bytes;
    modified_ = true;
    Change();
}

void TCustomEdit::InitPeer() {
    TWinControl::InitPeer();
    if (auto* p = PeerAs<IEditPeer>()) {
        p->SetMaxLength(maxLength_);
        p->SetPasswordChar(passwordChar_);
        p->SetReadOnly(readOnly_);
        p->SetSelection(selStart_, selLength_);
    }
}

void TCustomEdit::SetMaxLength(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMaxLength(Value); })) return;
    maxLength_ = std::max(0, Value);
    if (auto* p = PeerAs<IEditPeer>()) p->SetMaxLength(maxLength_);
}

void TCustomEdit::SetPasswordChar(char Value) {
    if (QueueOffMain(Life(), [this, Value] { SetPasswordChar(Value); })) return;
    passwordChar_ = Value;
    if (auto* p = PeerAs<IEditPeer>()) p->SetPasswordChar(passwordChar_);
}

void TCustomEdit::SetReadOnly(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetReadOnly(Value); })) return;
    readOnly_ = Value;
    if (auto* p = PeerAs<IEditPeer>()) p->SetReadOnly(readOnly_);
}

TBorderStyle TCustomEdit::BorderStyle() const { return TBorderStyle(borderStyle_); }
void TCustomEdit::SetBorderStyle(TBorderStyle Value) { borderStyle_ = int(Value); }

int TCustomEdit::SelStart() const {
    return ReadOnMain([this] {
        int start = selStart_, len = selLength_;
        if (auto* p = PeerAs<IEditPeer>()) p->GetSelection(start, len);
        return start;
    });
}

int TCustomEdit::SelLength() const {
    return ReadOnMain([this] {
        int start = selStart_, len = selLength_;
        if (auto* p = PeerAs<IEditPeer>()) p->GetSelection(start, len);
        return len;
    });
}

void TCustomEdit::SetSelStart(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSelStart(Value); })) return;
    selStart_ = std::clamp(Value, 0, int(text_.size()));
    selLength_ = 0;
    if (auto* p = PeerAs<IEditPeer>()) p->SetSelection(selStart_, selLength_);
}

void TCustomEdit::SetSelLength(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetSelLength(Value); })) return;
    selStart_ = SelStart();
    selLength_ = std::clamp(Value, 0, int(text_.size()) - selStart_);
    if (auto* p = PeerAs<IEditPeer>()) p->SetSelection(selStart_, selLength_);
}

AnsiString TCustomEdit::SelText() const {
    return ReadOnMain([this] {
        int start = SelStart(), len = SelLength();
        if (start >= int(text_.size())) return AnsiString();
        return text_.substr(size_t(start), size_t(len));
    });
}

void TCustomEdit::SelectAll() {
    if (QueueOffMain(Life(), [this] { SelectAll(); })) return;
    selStart_ = 0;
    selLength_ = int(text_.size());
    if (auto* p = PeerAs<IEditPeer>()) p->SetSelection(selStart_, selLength_);
}
