#pragma once
// Paint backends on QPainter: a widget being painted, a bitmap's pixels, and
// a measurer; plus image file decoding and encoding.
#include "vcl/Peers.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace yorde::qt {

class QtPainterBackend : public IPaintBackend {
public:
    // Painter must be active; Clip is the area being painted.
    QtPainterBackend(QPainter* Painter, const QRect& Clip) : p_(Painter), clip_(Clip) {}

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

protected:
    QtPainterBackend() = default;
    void setPainter(QPainter* Painter, const QRect& Clip) {
        p_ = Painter;
        clip_ = Clip;
    }
    virtual QImage* image() { return nullptr; }

private:
    QPainter* p_ = nullptr;
    QRect clip_;
};

// Draws straight into a TBitmap's pixel memory.
class QtBitmapBackend : public QtPainterBackend {
public:
    explicit QtBitmapBackend(TBitmap* Bitmap);
    ~QtBitmapBackend() override;

protected:
    QImage* image() override { return &image_; }

private:
    QImage image_;
    QPainter painter_;
};

// Measures only; drawing through it does nothing.
class QtMeasurer : public QtPainterBackend {
public:
    QtMeasurer() = default;
};

// The Qt image for a bitmap view (copied); TransparentKey's pixels become transparent.
QImage ToQImage(const TPixelsView& Image, int32_t TransparentKey);

bool DecodeImageBytes(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels);
bool EncodeImageBytes(const TPixelsView& Image, const char* Format, std::string& Bytes);

}  // namespace yorde::qt
