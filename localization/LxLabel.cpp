#include "localization/LxLabel.h"

YORDE_IMPLEMENT_CLASS(TlxLabel, [](TClassBuilder<TlxLabel>& c) {
    c.Property("TextStyle", &TlxLabel::TextStyle, &TlxLabel::SetTextStyle).Default(tsRecessed);
    c.Property("ShadowColor", &TlxLabel::ShadowColor, &TlxLabel::SetShadowColor).Default(clBtnShadow);
    c.Property("ThreeDColor", &TlxLabel::ThreeDColor, &TlxLabel::SetThreeDColor).Default(clBtnHighlight);
    c.Property("ShadowDepth", &TlxLabel::ShadowDepth, &TlxLabel::SetShadowDepth).Default(2);
    c.Property("WidthDepth", &TlxLabel::WidthDepth, &TlxLabel::SetWidthDepth).Default(-1);
    c.Property("ShadowUp", &TlxLabel::ShadowUp, &TlxLabel::SetShadowUp);
    c.Property("ThreeDLeft", &TlxLabel::ThreeDLeft, &TlxLabel::SetThreeDLeft);
})

template <class T>
void TlxLabel::change(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
}

void TlxLabel::SetTextStyle(TTextStyle Value) { change(textStyle_, Value); }
void TlxLabel::SetShadowColor(TColor Value) { change(shadowColor_, Value); }
void TlxLabel::SetThreeDColor(TColor Value) { change(threeDColor_, Value); }
void TlxLabel::SetShadowDepth(int Value) { change(shadowDepth_, Value); }
void TlxLabel::SetWidthDepth(int Value) { change(widthDepth_, Value); }
void TlxLabel::SetShadowUp(bool Value) { change(shadowUp_, Value); }
void TlxLabel::SetThreeDLeft(bool Value) { change(threeDLeft_, Value); }

void TlxLabel::Paint() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        c->Brush()->SetColor(Color());
        c->FillRect(client);
    }
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    const unsigned flags = textFlags();
    const AnsiString text = Caption();
    auto pass = [&](int DX, int DY, TColor Color) {
        TRect r(client.Left + DX, client.Top + DY, client.Right + DX, client.Bottom + DY);
        c->Font()->SetColor(Color);
        c->DrawText(text, r, flags);
    };
    const int d = shadowDepth_;
    const int w = widthDepth_;
    if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
        const bool raised = textStyle_ == tsRaised;
        pass(d, shadowUp_ ? -d : d, raised ? shadowColor_ : threeDColor_);
        pass(threeDLeft_ ? w : -w, w, raised ? threeDColor_ : shadowColor_);
    } else if (textStyle_ == tsShadow) {
        pass(d, shadowUp_ ? d : -d, shadowColor_);
    }
    pass(0, 0, Enabled() ? Font()->Color() : clGrayText);
}
