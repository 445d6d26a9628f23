#include "vcl/Bevel.h"

#include "vcl/ExtCtrls.h"

YORDE_IMPLEMENT_CLASS(TBevel, [](TClassBuilder<TBevel>& c) {
    PublishControl(c, pcAlign | pcVisible | pcHints);
    c.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    c.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
})

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    controlStyle_ = TControlStyle{csReplicatable};
    StoreBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (QueueOffMain(Life(), [this, Value] { SetShape(Value); })) return;
    shape_ = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (QueueOffMain(Life(), [this, Value] { SetStyle(Value); })) return;
    style_ = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    auto line = [&](TColor color, const TRect& r) {
        c->Brush()->SetColor(color);
        c->FillRect(r);
    };
    TRect r;
    switch (shape_) {
    case bsBox:
        r = TRect(0, 0, w, h);
        Frame3D(c, r, first, second, 1);
        break;
    case bsFrame:
        r = TRect(1, 1, w, h);
        Frame3D(c, r, second, second, 1);
        r = TRect(0, 0, w - 1, h - 1);
        Frame3D(c, r, first, first, 1);
        break;
    case bsTopLine:
        line(first, TRect(0, 0, w, 1));
        line(second, TRect(0, 1, w, 2));
        break;
    case bsBottomLine:
        line(first, TRect(0, h - 2, w, h - 1));
        line(second, TRect(0, h - 1, w, h));
        break;
    case bsLeftLine:
        line(first, TRect(0, 0, 1, h));
        line(second, TRect(1, 0, 2, h));
        break;
    case bsRightLine:
        line(first, TRect(w - 2, 0, w - 1, h));
        line(second, TRect(w - 1, 0, w, h));
        break;
    case bsSpacer: break;
    }
}
