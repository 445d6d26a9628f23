#include "vcl/GroupBox.h"

#include "vcl/ExtCtrls.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomGroupBox, [](TClassBuilder<TCustomGroupBox>&) {})
YORDE_IMPLEMENT_CLASS(TGroupBox,
                      [](TClassBuilder<TGroupBox>& c) { PublishControl(c, pcStandard | pcCaption | pcFocus); })

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    controlStyle_ =
        TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
    StoreBounds(0, 0, 185, 105);
}

int TCustomGroupBox::captionHeight() const {
    Canvas()->SetFont(Font());
    int h = Canvas()->TextHeight("0");
    // Without a platform nothing measures: take the font's own height.
    return h > 0 ? h : std::abs(Font()->Height()) + 2;
}

void TCustomGroupBox::Paint() {
    TCanvas* c = Canvas();
    TRect client = ClientRect();
    c->Brush()->SetColor(color_);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(client);
    int th = captionHeight();
    TRect frame(0, th / 2 - 1, client.Right, client.Bottom);
    TRect inner = frame;
    Frame3D(c, inner, clBtnShadow, clBtnHighlight, 1);
    Frame3D(c, inner, clBtnHighlight, clBtnShadow, 1);
    if (text_.empty()) return;
    c->SetFont(Font());
    const AnsiString shown = ShownText();
    TRect text(8, 0, 8, th);
    c->DrawText(shown, text, DT_SINGLELINE | DT_CALCRECT, TextCodePage());
    text = TRect(6, 0, std::min(text.Right + 2, client.Right - 2), th);
    c->FillRect(text);
    if (!enabled_) c->Font()->SetColor(clGrayText);
    TRect at(8, 0, text.Right, th);
    c->Brush()->SetStyle(bsClear);
    c->DrawText(shown, at, DT_SINGLELINE | DT_LEFT | DT_TOP, TextCodePage());
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) const {
    Rect.Top += captionHeight();
    Rect = TRect(Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2);
}
