// TCanvas: keeps brush, pen and font, and sends drawing to its backend.
#include "vcl/Graphics.h"
#include "vcl/Peers.h"
#include "vcl/SoftPaint.h"

YORDE_IMPLEMENT_CLASS(TCanvas, [](TClassBuilder<TCanvas>&) {})

namespace {

// Texts end at a NUL byte; line breaks CR LF, CR and LF all become LF.
std::string displayText(const AnsiString& text, int codePage, bool keepBreaks) {
    AnsiString t = text.substr(0, text.find('\0'));
    std::string u = CodePageToUtf8(t, codePage);
    if (!keepBreaks) return u;
    std::string out;
    out.reserve(u.size());
    for (size_t i = 0; i < u.size(); ++i) {
        if (u[i] == '\r') {
            out += '\n';
            if (i + 1 < u.size() && u[i + 1] == '\n') ++i;
        } else {
            out += u[i];
        }
    }
    return out;
}

TSoftPaintBackend& softMeasurer() {
    static TSoftPaintBackend m(nullptr);
    return m;
}

}  // namespace

TSize MeasureText(const TFontData& Font, const std::string& Utf8) {
    if (IPeerFactory* f = PeerFactory()) return f->Measurer().TextExtent(Utf8, Font);
    return EstimateTextExtent(Utf8, Font);
}

int MeasureTextBlock(const TFontData& Font, const std::string& Utf8, TRect& R, unsigned Format) {
    IPaintBackend& m = PeerFactory() ? PeerFactory()->Measurer() : softMeasurer();
    return m.DrawText(Utf8, R, Format | DT_CALCRECT, Font);
}

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::LiveOnMainThread() {
    TThreadHome::LiveOnMainThread();
    font_->LiveOnMainThread();
    brush_->LiveOnMainThread();
    pen_->LiveOnMainThread();
}

int TCanvas::codePageOr(int CodePage) const { return CodePage ? CodePage : font_->CodePage(); }

std::string TCanvas::utf8(const AnsiString& Text, int CodePage) const {
    return displayText(Text, codePageOr(CodePage), false);
}

IPaintBackend* TCanvas::measureBackend() {
    if (IPaintBackend* b = backend()) return b;
    if (IPeerFactory* f = PeerFactory()) return &f->Measurer();
    return &softMeasurer();
}

void TCanvas::changed() { OnChange(this); }

void TCanvas::LineTo(int X, int Y) {
    if (runHome([=, this] { LineTo(X, Y); })) return;
    if (IPaintBackend* b = backend()) b->Line(penPos_, TPoint(X, Y), pen_->Data());
    penPos_ = {X, Y};
    changed();
}

void TCanvas::FillRect(const TRect& R) {
    if (runHome([&] { FillRect(R); })) return;
    IPaintBackend* b = backend();
    if (!b || brush_->Style() == bsClear) return;
    b->FillRect(R, ColorToRGB(brush_->Color()));
    changed();
}

void TCanvas::FrameRect(const TRect& R) {
    if (runHome([&] { FrameRect(R); })) return;
    IPaintBackend* b = backend();
    if (!b || R.IsEmpty()) return;
    TColor c = ColorToRGB(brush_->Color());
    b->FillRect(TRect(R.Left, R.Top, R.Right, R.Top + 1), c);
    b->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), c);
    b->FillRect(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), c);
    b->FillRect(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), c);
    changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (runHome([=, this] { Rectangle(X1, Y1, X2, Y2); })) return;
    if (IPaintBackend* b = backend()) b->Rectangle(TRect(X1, Y1, X2, Y2), brush_->Data(), pen_->Data());
    changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    if (runHome([=, this] { Ellipse(X1, Y1, X2, Y2); })) return;
    if (IPaintBackend* b = backend()) b->Ellipse(TRect(X1, Y1, X2, Y2), brush_->Data(), pen_->Data());
    changed();
}

void TCanvas::Polygon(const TPoint* Points, int Points_Size) {
    if (!Points || Points_Size < 0) return;
    Polygon(std::vector<TPoint>(Points, Points + Points_Size + 1));
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    if (runHome([&] { Polygon(Points); })) return;
    if (IPaintBackend* b = backend()) b->Polygon(Points, brush_->Data(), pen_->Data());
    changed();
}

void TCanvas::Polyline(const TPoint* Points, int Points_Size) {
    if (!Points || Points_Size < 0) return;
    Polyline(std::vector<TPoint>(Points, Points + Points_Size + 1));
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
    if (runHome([&] { Polyline(Points); })) return;
    if (IPaintBackend* b = backend()) b->Polyline(Points, pen_->Data());
    if (!Points.empty()) penPos_ = Points.back();
    changed();
}

void TCanvas::TextOut(int X, int Y, const AnsiString& Text, int CodePage) {
    if (runHome([&] { TextOut(X, Y, Text, CodePage); })) return;
    std::string u = utf8(Text, CodePage);
    if (IPaintBackend* b = backend()) {
        TColor bg = ColorToRGB(brush_->Color());
        b->TextOut(X, Y, u, font_->Data(), nullptr, brush_->Style() == bsClear ? nullptr : &bg);
    }
    penPos_ = {X + measureBackend()->TextExtent(u, font_->Data()).cx, Y};
    changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const AnsiString& Text, int CodePage) {
    if (runHome([&] { TextRect(R, X, Y, Text, CodePage); })) return;
    IPaintBackend* b = backend();
    if (!b) return;
    if (brush_->Style() != bsClear) b->FillRect(R, ColorToRGB(brush_->Color()));
    b->TextOut(X, Y, utf8(Text, CodePage), font_->Data(), &R, nullptr);
    changed();
}

int TCanvas::DrawText(const AnsiString& Text, TRect& R, unsigned Format, int CodePage) {
    if (awayFromHome()) return ReadOnMain([&] { return DrawText(Text, R, Format, CodePage); });
    std::string u = displayText(Text, codePageOr(CodePage), true);
    if (Format & DT_CALCRECT) return measureBackend()->DrawText(u, R, Format, font_->Data());
    IPaintBackend* b = backend();
    if (!b) return 0;
    int h = b->DrawText(u, R, Format, font_->Data());
    changed();
    return h;
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
    if (awayFromHome()) return ReadOnMain([&] { return TextExtent(Text); });
    return measureBackend()->TextExtent(utf8(Text), font_->Data());
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (runHome([&] { Draw(X, Y, Graphic); })) return;
    if (!Graphic || Graphic->Empty()) return;
    StretchDraw(Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
    if (runHome([&] { StretchDraw(R, Graphic); })) return;
    IPaintBackend* b = backend();
    if (!b || !Graphic || Graphic->Empty()) return;
    TPixelsView v{Graphic->Width(), Graphic->Height(), Graphic->PixelData()};
    b->DrawPixels(R, v, Graphic->Transparent() ? Graphic->TransparentKey() : -1);
    changed();
}

TColor TCanvas::Pixels(int X, int Y) {
    if (awayFromHome()) return ReadOnMain([=, this] { return Pixels(X, Y); });
    IPaintBackend* b = backend();
    return b ? b->GetPixel(X, Y) : clBlack;
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
    if (runHome([=, this] { SetPixels(X, Y, Value); })) return;
    if (IPaintBackend* b = backend()) b->SetPixel(X, Y, ColorToRGB(Value));
    changed();
}

TRect TCanvas::ClipRect() {
    if (awayFromHome()) return ReadOnMain([this] { return ClipRect(); });
    IPaintBackend* b = backend();
    return b ? b->ClipRect() : TRect();
}
