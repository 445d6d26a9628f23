#include "vcl/SoftPaint.h"

#include "rtl/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int lineHeight(const TFontData& f) {
    int h = std::abs(f.Height);
    if (h == 0) h = 11;
    return f.Height < 0 ? (h * 6 + 2) / 5 : h;
}

int charWidth(const TFontData& f) {
    int h = std::abs(f.Height);
    if (h == 0) h = 11;
    return std::max(1, (h * 11 + 10) / 20);
}

size_t countChars(const std::string& s) {
    size_t n = 0, pos = 0;
    while (pos < s.size()) {
        rtl_utf8::Next(s, pos);
        ++n;
    }
    return n;
}

}  // namespace

TSize EstimateTextExtent(const std::string& Utf8, const TFontData& Font) {
    return TSize(int(countChars(Utf8)) * charWidth(Font), lineHeight(Font));
}

void TSoftPaintBackend::plot(int X, int Y, uint32_t Argb) {
    if (!bitmap_ || X < 0 || Y < 0 || X >= bitmap_->Width() || Y >= bitmap_->Height()) return;
    bitmap_->PixelData()[size_t(Y) * size_t(bitmap_->Width()) + size_t(X)] = Argb;
}

void TSoftPaintBackend::FillRect(const TRect& R, TColor Color) {
    if (!bitmap_) return;
    TRect r = IntersectRect(R, TRect(0, 0, bitmap_->Width(), bitmap_->Height()));
    uint32_t argb = ColorToArgb(Color);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) plot(x, y, argb);
}

void TSoftPaintBackend::Line(TPoint From, TPoint To, const TPenData& Pen) {
    if (Pen.Style == psClear) return;
    uint32_t argb = ColorToArgb(Pen.Color);
    int dx = std::abs(To.X - From.X), sx = From.X < To.X ? 1 : -1;
    int dy = -std::abs(To.Y - From.Y), sy = From.Y < To.Y ? 1 : -1;
    int err = dx + dy, x = From.X, y = From.Y;
    while (x != To.X || y != To.Y) {  // the end point is not drawn
        plot(x, y, argb);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TSoftPaintBackend::Polyline(const std::vector<TPoint>& Points, const TPenData& Pen) {
    for (size_t i = 1; i < Points.size(); ++i) Line(Points[i - 1], Points[i], Pen);
}

void TSoftPaintBackend::Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) {
    if (Points.size() < 2) return;
    if (Brush.Style != bsClear && bitmap_) {
        int top = Points[0].Y, bottom = Points[0].Y;
        for (const TPoint& p : Points) {
            top = std::min(top, p.Y);
            bottom = std::max(bottom, p.Y);
        }
        uint32_t argb = ColorToArgb(Brush.Color);
        for (int y = top; y <= bottom; ++y) {
            // Even-odd fill through pixel centres.
            std::vector<double> xs;
            double cy = y + 0.5;
            for (size_t i = 0; i < Points.size(); ++i) {
                TPoint a = Points[i], b = Points[(i + 1) % Points.size()];
                if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy))
                    xs.push_back(a.X + (cy - a.Y) * double(b.X - a.X) / double(b.Y - a.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                for (int x = int(std::ceil(xs[i] - 0.5)); x < int(std::ceil(xs[i + 1] - 0.5)); ++x) plot(x, y, argb);
        }
    }
    std::vector<TPoint> closed = Points;
    closed.push_back(Points.front());
    Polyline(closed, Pen);
    if (Pen.Style != psClear) plot(Points.front().X, Points.front().Y, ColorToArgb(Pen.Color));
}

void TSoftPaintBackend::Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) {
    if (Brush.Style != bsClear) FillRect(R, Brush.Color);
    if (Pen.Style == psClear || R.IsEmpty()) return;
    TPoint a(R.Left, R.Top), b(R.Right - 1, R.Top), c(R.Right - 1, R.Bottom - 1), d(R.Left, R.Bottom - 1);
    Polyline({a, b, c, d, a}, Pen);
}

void TSoftPaintBackend::Ellipse(const TRect& R, const TBrushData& Brush, const TPenData& Pen) {
    if (R.IsEmpty()) return;
    double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
    double rx = R.Width() / 2.0, ry = R.Height() / 2.0;
    uint32_t fill = ColorToArgb(Brush.Color), edge = ColorToArgb(Pen.Color);
    for (int y = R.Top; y < R.Bottom; ++y)
        for (int x = R.Left; x < R.Right; ++x) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry, d = nx * nx + ny * ny;
            if (d > 1.0) continue;
            bool border = Pen.Style != psClear && d > (1.0 - 2.0 / std::max(rx, ry));
            if (border)
                plot(x, y, edge);
            else if (Brush.Style != bsClear)
                plot(x, y, fill);
        }
}

void TSoftPaintBackend::TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                                const TColor* Opaque) {
    if (!Opaque) return;
    TSize e = EstimateTextExtent(Utf8, Font);
    TRect r = Bounds(X, Y, e.cx, e.cy);
    if (Clip) r = IntersectRect(r, *Clip);
    FillRect(r, *Opaque);
}

int TSoftPaintBackend::DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) {
    int lines = 1, widest = 0;
    size_t start = 0;
    for (;;) {
        size_t nl = (Format & DT_SINGLELINE) ? std::string::npos : Utf8.find('\n', start);
        std::string line = Utf8.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        widest = std::max(widest, EstimateTextExtent(line, Font).cx);
        if (nl == std::string::npos) break;
        ++lines;
        start = nl + 1;
    }
    int height = lines * lineHeight(Font);
    if (Format & DT_CALCRECT) {
        R.Right = R.Left + widest;
        R.Bottom = R.Top + height;
    }
    return height;
}

TSize TSoftPaintBackend::TextExtent(const std::string& Utf8, const TFontData& Font) {
    return EstimateTextExtent(Utf8, Font);
}

void TSoftPaintBackend::DrawPixels(const TRect& Dest, const TPixelsView& Image, int32_t TransparentKey) {
    if (!bitmap_ || !Image.Pixels || Image.Width <= 0 || Image.Height <= 0 || Dest.IsEmpty()) return;
    for (int y = Dest.Top; y < Dest.Bottom; ++y) {
        int sy = int((long long)(y - Dest.Top) * Image.Height / Dest.Height());
        for (int x = Dest.Left; x < Dest.Right; ++x) {
            int sx = int((long long)(x - Dest.Left) * Image.Width / Dest.Width());
            uint32_t p = Image.Pixels[size_t(sy) * size_t(Image.Width) + size_t(sx)];
            if (TransparentKey >= 0 && int32_t(ArgbToColor(p)) == TransparentKey) continue;
            if ((p >> 24) == 0) continue;
            plot(x, y, p | 0xFF000000u);
        }
    }
}

TColor TSoftPaintBackend::GetPixel(int X, int Y) {
    if (!bitmap_ || X < 0 || Y < 0 || X >= bitmap_->Width() || Y >= bitmap_->Height()) return clBlack;
    return ArgbToColor(bitmap_->PixelArgb(X, Y));
}

void TSoftPaintBackend::SetPixel(int X, int Y, TColor Color) { plot(X, Y, ColorToArgb(Color)); }

TRect TSoftPaintBackend::ClipRect() { return bitmap_ ? TRect(0, 0, bitmap_->Width(), bitmap_->Height()) : TRect(); }
