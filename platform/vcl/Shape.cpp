#include "vcl/Shape.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TShape, [](TClassBuilder<TShape>& c) {
    PublishControl(c, pcAlign | pcEnabled | pcVisible | pcHints | pcMouseEvents);
    c.Property("Brush", &TShape::Brush, &TShape::SetBrush);
    c.Property("Pen", &TShape::Pen, &TShape::SetPen);
    c.Property("Shape", &TShape::Shape, &TShape::SetShape).Default(stRectangle);
})

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    controlStyle_ = TControlStyle{csReplicatable};
    StoreBounds(0, 0, 65, 65);
    brush_->OnChange = [this](TObject*) { Invalidate(); };
    pen_->OnChange = [this](TObject*) { Invalidate(); };
    brush_->LiveOnMainThread();
    pen_->LiveOnMainThread();
}

TShape::~TShape() {
    brush_->OnChange.Clear();
    pen_->OnChange.Clear();
}

void TShape::SetShape(TShapeType Value) {
    if (QueueOffMain(Life(), [this, Value] { SetShape(Value); })) return;
    shape_ = Value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas* c = Canvas();
    c->SetPen(pen_.get());
    c->SetBrush(brush_.get());
    int pw = pen_->Width();
    int x = pw / 2, y = pw / 2;
    int w = Width() - pw + 1, h = Height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    int s = std::min(w, h);
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    if (shape_ == stEllipse || shape_ == stCircle)
        c->Ellipse(x, y, x + w, y + h);
    else
        c->Rectangle(x, y, x + w, y + h);
}
