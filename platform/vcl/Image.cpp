#include "vcl/ExtCtrls.h"

YORDE_IMPLEMENT_CLASS(TImage, [](TClassBuilder<TImage>& c) {
    PublishControl(c,
                   pcAlign | pcEnabled | pcVisible | pcHints | pcPopupMenu | pcMouseEvents | pcClickEvents | pcAction);
    c.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
    c.Property("Center", &TImage::Center, &TImage::SetCenter);
    c.Property("IncrementalDisplay", &TImage::IncrementalDisplay, &TImage::SetIncrementalDisplay);
    c.Property("Picture", &TImage::Picture, &TImage::SetPicture);
    c.Property("Proportional", &TImage::Proportional, &TImage::SetProportional);
    c.Property("Stretch", &TImage::Stretch, &TImage::SetStretch);
    c.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent);
})

YORDE_IMPLEMENT_CLASS(TPaintBox, [](TClassBuilder<TPaintBox>& c) {
    PublishControl(c, pcStandard);
    c.Event("OnPaint", &TPaintBox::OnPaint);
})

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
    controlStyle_ = controlStyle_ + TControlStyle{csReplicatable};
    StoreBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) { pictureChanged(); };
    picture_->LiveOnMainThread();
}

TImage::~TImage() = default;

void TImage::SetPicture(TPicture* Value) {
    // The picture itself takes a worker's change to the main thread.
    picture_->Assign(Value);
}

void TImage::pictureChanged() {
    if (TGraphic* g = picture_->Graphic(); g && !dynamic_cast<TIcon*>(g)) g->SetTransparent(transparent_);
    AdjustSize();
    Invalidate();
}

TCanvas* TImage::Canvas() {
    if (!picture_->Graphic()) picture_->Bitmap()->SetSize(Width(), Height());
    auto* b = dynamic_cast<TBitmap*>(picture_->Graphic());
    if (!b) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return b->Canvas();
}

TRect TImage::DestRect() const {
    int w = picture_->Width(), h = picture_->Height();
    int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            double aspect = double(w) / double(h);
            if (w > h) {
                w = cw;
                h = int(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * aspect);
                }
            } else {
                h = ch;
                w = int(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (center_) {
        int dx = (cw - w) / 2, dy = (ch - h) / 2;
        r = TRect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
    }
    return r;
}

void TImage::Paint() {
    if (TGraphic* g = picture_->Graphic(); g && !g->Empty()) TGraphicControl::Canvas()->StretchDraw(DestRect(), g);
}

void TImage::AdjustSize() {
    if (!autoSize_ || Loading() || picture_->Width() <= 0 || picture_->Height() <= 0) return;
    SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void TImage::SetStretch(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetStretch(Value); })) return;
    stretch_ = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetCenter(Value); })) return;
    center_ = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetProportional(Value); })) return;
    proportional_ = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTransparent(Value); })) return;
    if (Value == transparent_) return;
    transparent_ = Value;
    pictureChanged();
}

void TImage::SetAutoSize(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetAutoSize(Value); })) return;
    autoSize_ = Value;
    AdjustSize();
}

// ---------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) { StoreBounds(0, 0, 105, 105); }

void TPaintBox::Paint() {
    Canvas()->SetFont(Font());
    Canvas()->Brush()->SetColor(color_);
    OnPaint(this);
}
