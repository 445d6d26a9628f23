#include "vcl/StdCtrls.h"

YORDE_IMPLEMENT_CLASS(TCustomLabel, [](TClassBuilder<TCustomLabel>&) {})

YORDE_IMPLEMENT_CLASS(TLabel, [](TClassBuilder<TLabel>& c) {
    PublishControl(c, pcStandard | pcCaption);
    c.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
    c.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(1);
    c.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    c.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
    c.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(1);
    c.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
    c.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
})

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    controlStyle_ = controlStyle_ + TControlStyle{csOpaque, csReplicatable};
    StoreBounds(0, 0, 65, 17);
}

unsigned TCustomLabel::textFlags() const {
    unsigned f = DT_EXPANDTABS;
    if (wordWrap_) f |= DT_WORDBREAK;
    if (alignment_ == taRightJustify)
        f |= DT_RIGHT;
    else if (alignment_ == taCenter)
        f |= DT_CENTER;
    if (!showAccelChar_) f |= DT_NOPREFIX;
    return f;
}

void TCustomLabel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!transparent_) {
        c->Brush()->SetColor(color_);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    if (!enabled_) c->Font()->SetColor(clGrayText);
    unsigned flags = textFlags();
    const AnsiString shown = ShownText();
    const int codePage = TextCodePage();
    if (layout_ != tlTop) {
        TRect calc(0, 0, r.Width(), 0);
        c->DrawText(shown, calc, flags | DT_CALCRECT, codePage);
        int offset = r.Height() - calc.Height();
        r.Top += layout_ == tlBottom ? offset : offset / 2;
    }
    c->DrawText(shown, r, flags, codePage);
}

void TCustomLabel::AdjustSize() {
    if (!autoSize_ || Loading() || Destroying()) return;
    TCanvas measure;
    measure.SetFont(Font());
    // An empty caption still takes one line.
    AnsiString text = text_.empty() || (showAccelChar_ && text_ == "&") ? text_ + " " : ShownText();
    TRect r(0, 0, wordWrap_ ? Width() : 0x7FFF, 0);
    measure.DrawText(text, r, textFlags() | DT_CALCRECT, TextCodePage());
    int x = Left();
    if (alignment_ == taRightJustify) x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAlignment(Value); })) return;
    if (Value == alignment_) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (QueueOffMain(Life(), [this, Value] { SetLayout(Value); })) return;
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetWordWrap(Value); })) return;
    if (Value == wordWrap_) return;
    wordWrap_ = Value;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTransparent(Value); })) return;
    if (Value == transparent_) return;
    transparent_ = Value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAutoSize(Value); })) return;
    if (Value == autoSize_) return;
    autoSize_ = Value;
    AdjustSize();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetShowAccelChar(Value); })) return;
    if (Value == showAccelChar_) return;
    showAccelChar_ = Value;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    if (Value == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = Value;
    if (focusControl_) focusControl_->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}
