#include "vcl/ExtCtrls.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomPanel, [](TClassBuilder<TCustomPanel>&) {})
YORDE_IMPLEMENT_CLASS(TPanel, [](TClassBuilder<TPanel>& c) {
    PublishControl(c, pcStandard | pcCaption | pcFocus | pcResize);
    c.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
    c.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    c.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    c.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    c.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    c.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
    c.Property("FullRepaint", &TPanel::FullRepaint, &TPanel::SetFullRepaint).Default(1);
})

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    TBrush* brush = Canvas->Brush();
    TColor saved = brush->Color();
    TBrushStyle savedStyle = brush->Style();
    for (int i = 0; i < Width && !Rect.IsEmpty(); ++i) {
        brush->SetColor(TopColor);
        Canvas->FillRect(TRect(Rect.Left, Rect.Top, Rect.Right - 1, Rect.Top + 1));
        Canvas->FillRect(TRect(Rect.Left, Rect.Top, Rect.Left + 1, Rect.Bottom - 1));
        brush->SetColor(BottomColor);
        Canvas->FillRect(TRect(Rect.Left, Rect.Bottom - 1, Rect.Right, Rect.Bottom));
        Canvas->FillRect(TRect(Rect.Right - 1, Rect.Top, Rect.Right, Rect.Bottom));
        Rect = TRect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
    }
    brush->SetColor(saved);
    brush->SetStyle(savedStyle);
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque,          csDoubleClicks, csReplicatable};
    StoreBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(c, r, top, bottom, bevelWidth_);
    };
    if (borderStyle_ == bsSingle) Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
    if (bevelOuter_ != bvNone) bevel(bevelOuter_);
    Frame3D(c, r, color_, color_, borderWidth_);
    if (bevelInner_ != bvNone) bevel(bevelInner_);
    c->Brush()->SetColor(color_);
    c->FillRect(r);
    if (text_.empty()) return;
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    unsigned flags = DT_EXPANDTABS | DT_VCENTER | DT_SINGLELINE;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    c->DrawText(ShownText(), r, flags, TextCodePage());
}

void TCustomPanel::AdjustClientRect(TRect& Rect) const {
    int inset = borderWidth_ + (borderStyle_ == bsSingle ? 1 : 0);
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    Rect = TRect(Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAlignment(Value); })) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBevelInner(Value); })) return;
    bevelInner_ = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBevelOuter(Value); })) return;
    bevelOuter_ = Value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBevelWidth(Value); })) return;
    bevelWidth_ = std::max(1, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBorderWidth(Value); })) return;
    borderWidth_ = std::max(0, Value);
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetBorderStyle(Value); })) return;
    borderStyle_ = Value == bsNone ? bsNone : bsSingle;
    Realign();
    Invalidate();
}
