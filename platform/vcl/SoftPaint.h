#pragma once
// A small software paint backend: draws shapes and images into a bitmap's
// pixels when no platform is installed, and estimates text metrics. Text is
// not drawn (there are no font files to draw it with).
#include "vcl/Peers.h"

class TSoftPaintBackend : public IPaintBackend {
public:
    // Bitmap may be null: a measurer only.
    explicit TSoftPaintBackend(TBitmap* Bitmap) : bitmap_(Bitmap) {}

    void FillRect(const TRect& R, TColor Color) override;
    void Line(TPoint From, TPoint To, const TPenData& Pen) override;
    void Polyline(const std::vector<TPoint>& Points, const TPenData& Pen) override;
    void Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) override;
    void Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) override;
    void Ellipse(const TRect& R, const TBrushData& Brush, const TPenData& Pen) override;
    void TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                 const TColor* Opaque) override;
    int DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) override;
    TSize TextExtent(const std::string& Utf8, const TFontData& Font) override;
    void DrawPixels(const TRect& Dest, const TPixelsView& Image, int32_t TransparentKey) override;
    TColor GetPixel(int X, int Y) override;
    void SetPixel(int X, int Y, TColor Color) override;
    TRect ClipRect() override;

private:
    void plot(int X, int Y, uint32_t Argb);
    TBitmap* bitmap_;
};

// The estimate used without a platform: characters |Height|*0.55 wide, lines |Height|*1.2 high.
TSize EstimateTextExtent(const std::string& Utf8, const TFontData& Font);
