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
    auto* f = dynamic_cast<TFont*>(Source);
    if (!f) {
        TGraphicsObject::Assign(Source);
        return;
    }
    // The source's state is taken now: a worker's own font may be gone by
    // the time the queued change runs.
    State s = f->state();
    if (queueHome([this, s] { assign(s); })) return;
    assign(s);
}

TFont::State TFont::state() const {
    return readHome([this] { return State{name_, height_, style_, color_, charset_, pitch_}; });
}

void TFont::assign(const State& S) {
    if (S == state()) return;
    name_ = S.Name;
    height_ = S.Height;
    style_ = S.Style;
    color_ = S.Color;
    charset_ = S.Charset;
    pitch_ = S.Pitch;
    Changed();
}

bool TFont::SameAs(const TFont& o) const { return state() == o.state(); }

void TFont::SetName(const AnsiString& Value) {
    if (queueHome([this, Value] { SetName(Value); })) return;
    if (Value.empty() || Value == name_) return;
    name_ = Value;
    Changed();
}

void TFont::SetHeight(int Value) {
    if (queueHome([this, Value] { SetHeight(Value); })) return;
    if (Value == height_) return;
    height_ = Value;
    Changed();
}

int TFont::Size() const {
    // -Height * 72 / PixelsPerInch, rounded to nearest (MulDiv).
    long long n = -static_cast<long long>(Height()) * 72;
    long long q = (n >= 0 ? n + PixelsPerInch / 2 : n - PixelsPerInch / 2) / PixelsPerInch;
    return int(q);
}

void TFont::SetSize(int Value) {
    long long n = static_cast<long long>(Value) * PixelsPerInch;
    long long q = (n >= 0 ? n + 36 : n - 36) / 72;
    SetHeight(-int(q));
}

void TFont::SetStyle(TFontStyles Value) {
    if (queueHome([this, Value] { SetStyle(Value); })) return;
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (queueHome([this, Value] { SetColor(Value); })) return;
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TFont::SetCharset(int Value) {
    if (queueHome([this, Value] { SetCharset(Value); })) return;
    auto v = TFontCharset(uint8_t(Value));
    if (v == charset_) return;
    charset_ = v;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (queueHome([this, Value] { SetPitch(Value); })) return;
    if (Value == pitch_) return;
    pitch_ = Value;
    Changed();
}

TFontData TFont::Data() const {
    State s = state();
    TFontData d;
    d.Name = s.Name;
    d.Height = s.Height;
    d.Style = s.Style;
    d.Color = ColorToRGB(s.Color);
    d.Charset = int(s.Charset);
    d.Pitch = s.Pitch;
    return d;
}

// ---------------------------------------------------------------------------

void TBrush::Assign(TPersistent* Source) {
    auto* b = dynamic_cast<TBrush*>(Source);
    if (!b) {
        TGraphicsObject::Assign(Source);
        return;
    }
    TColor color = b->Color();
    TBrushStyle style = b->Style();
    if (queueHome([this, color, style] { assign(color, style); })) return;
    assign(color, style);
}

void TBrush::assign(TColor Color, TBrushStyle Style) {
    if (Color == color_ && Style == style_) return;
    color_ = Color;
    style_ = Style;
    Changed();
}

void TBrush::SetColor(TColor Value) {
    if (queueHome([this, Value] { SetColor(Value); })) return;
    // Choosing a colour for a clear brush makes it solid, as in the class library.
    if (Value == color_ && style_ != bsClear) return;
    color_ = Value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (queueHome([this, Value] { SetStyle(Value); })) return;
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TPen::Assign(TPersistent* Source) {
    auto* p = dynamic_cast<TPen*>(Source);
    if (!p) {
        TGraphicsObject::Assign(Source);
        return;
    }
    TColor color = p->Color();
    int width = p->Width();
    TPenStyle style = p->Style();
    if (queueHome([this, color, width, style] { assign(color, width, style); })) return;
    assign(color, width, style);
}

void TPen::assign(TColor Color, int Width, TPenStyle Style) {
    if (Color == color_ && Width == width_ && Style == style_) return;
    color_ = Color;
    width_ = Width;
    style_ = Style;
    Changed();
}

void TPen::SetColor(TColor Value) {
    if (queueHome([this, Value] { SetColor(Value); })) return;
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (queueHome([this, Value] { SetWidth(Value); })) return;
    if (Value < 0) Value = 0;
    if (Value == width_) return;
    width_ = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (queueHome([this, Value] { SetStyle(Value); })) return;
    if (Value == style_) return;
    style_ = Value;
    Changed();
}
