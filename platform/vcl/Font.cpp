// Fonts, brushes and pens.
#include "vcl/Graphics.h"

YORDE_IMPLEMENT_CLASS(TGraphicsObject, [](TClassBuilder<TGraphicsObject>&) {})

YORDE_IMPLEMENT_CLASS(TFont, [](TClassBuilder<TFont>& c) {
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset);
    c.Property("Color", &TFont::Color, &TFont::SetColor);
    c.Property("Height", &TFont::Height, &TFont::SetHeight);
    c.Property("Name", &TFont::Name, &TFont::SetName);
    c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.Property("Style", &TFont::Style, &TFont::SetStyle).Default(0);
})

YORDE_IMPLEMENT_CLASS(TBrush, [](TClassBuilder<TBrush>& c) {
    c.Property("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    c.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
})

YORDE_IMPLEMENT_CLASS(TPen, [](TClassBuilder<TPen>& c) {
    c.Property("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
    c.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
})

void TGraphicsObject::Changed() { OnChange(this); }

// ---------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (SameAs(*f)) return;
        name_ = f->name_;
        height_ = f->height_;
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::SetName(const AnsiString& Value) {
    if (Value.empty() || Value == name_) return;
    name_ = Value;
    Changed();
}

void TFont::SetHeight(int Value) {
    if (Value == height_) return;
    height_ = Value;
    Changed();
}

int TFont::Size() const {
    // -Height * 72 / PixelsPerInch, rounded to nearest (MulDiv).
    long long n = -static_cast<long long>(height_) * 72;
    long long q = (n >= 0 ? n + PixelsPerInch / 2 : n - PixelsPerInch / 2) / PixelsPerInch;
    return int(q);
}

void TFont::SetSize(int Value) {
    long long n = static_cast<long long>(Value) * PixelsPerInch;
    long long q = (n >= 0 ? n + 36 : n - 36) / 72;
    SetHeight(-int(q));
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TFont::SetCharset(int Value) {
    auto v = TFontCharset(uint8_t(Value));
    if (v == charset_) return;
    charset_ = v;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == pitch_) return;
    pitch_ = Value;
    Changed();
}

TFontData TFont::Data() const {
    TFontData d;
    d.Name = name_;
    d.Height = height_;
    d.Style = style_;
    d.Color = ColorToRGB(color_);
    d.Charset = int(charset_);
    d.Pitch = pitch_;
    return d;
}

// ---------------------------------------------------------------------------

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        if (b->color_ == color_ && b->style_ == style_) return;
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
    // Choosing a colour for a clear brush makes it solid, as in the class library.
    if (Value == color_ && style_ != bsClear) return;
    color_ = Value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        if (p->color_ == color_ && p->width_ == width_ && p->style_ == style_) return;
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (Value < 0) Value = 0;
    if (Value == width_) return;
    width_ = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}
