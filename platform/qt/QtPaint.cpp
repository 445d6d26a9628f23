#include "qt/QtPaint.h"

#include "qt/QtText.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPolygon>

namespace yorde::qt {

namespace {

QRect toQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QPen toQPen(const TPenData& pen) {
    if (pen.Style == psClear) return QPen(Qt::NoPen);
    QPen p(ToQColor(pen.Color));
    p.setWidth(pen.Width);
    switch (pen.Style) {
    case psDash: p.setStyle(Qt::DashLine); break;
    case psDot: p.setStyle(Qt::DotLine); break;
    case psDashDot: p.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: p.setStyle(Qt::DashDotDotLine); break;
    default: p.setStyle(Qt::SolidLine); break;
    }
    return p;
}

QBrush toQBrush(const TBrushData& brush) {
    Qt::BrushStyle s = Qt::SolidPattern;
    switch (brush.Style) {
    case bsClear: return QBrush(Qt::NoBrush);
    case bsHorizontal: s = Qt::HorPattern; break;
    case bsVertical: s = Qt::VerPattern; break;
    case bsFDiagonal: s = Qt::FDiagPattern; break;
    case bsBDiagonal: s = Qt::BDiagPattern; break;
    case bsCross: s = Qt::CrossPattern; break;
    case bsDiagCross: s = Qt::DiagCrossPattern; break;
    default: break;
    }
    return QBrush(ToQColor(brush.Color), s);
}

int qtFlags(unsigned format) {
    int f = 0;
    if (format & DT_CENTER)
        f |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        f |= Qt::AlignRight;
    else
        f |= Qt::AlignLeft;
    // As with the Windows call, vertical placement applies to single lines only.
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        f |= Qt::AlignVCenter;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        f |= Qt::AlignBottom;
    else
        f |= Qt::AlignTop;
    if (format & DT_SINGLELINE) f |= Qt::TextSingleLine;
    if (format & DT_WORDBREAK) f |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS) f |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX)) f |= Qt::TextShowMnemonic;
    if (format & DT_NOCLIP) f |= Qt::TextDontClip;
    return f;
}

// The last pixel of a line is not drawn, as with the Windows call.
QLine shortened(TPoint a, TPoint b) {
    int dx = b.X - a.X, dy = b.Y - a.Y;
    int ex = b.X, ey = b.Y;
    if (dy == 0)
        ex -= dx > 0 ? 1 : -1;
    else if (dx == 0)
        ey -= dy > 0 ? 1 : -1;
    return QLine(a.X, a.Y, ex, ey);
}

}  // namespace

QImage ToQImage(const TPixelsView& Image, int32_t TransparentKey) {
    if (!Image.Pixels || Image.Width <= 0 || Image.Height <= 0) return QImage();
    QImage img(Image.Width, Image.Height, QImage::Format_ARGB32);
    for (int y = 0; y < Image.Height; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(img.scanLine(y));
        const uint32_t* src = Image.Pixels + size_t(y) * size_t(Image.Width);
        for (int x = 0; x < Image.Width; ++x) {
            uint32_t p = src[x];
            if (TransparentKey >= 0 && int32_t(ArgbToColor(p)) == TransparentKey) p = 0;
            dst[x] = p;
        }
    }
    return img;
}

void QtPainterBackend::FillRect(const TRect& R, TColor Color) {
    if (!p_ || R.IsEmpty()) return;
    p_->fillRect(toQRect(R), ToQColor(Color));
}

void QtPainterBackend::Line(TPoint From, TPoint To, const TPenData& Pen) {
    if (!p_ || From == To) return;
    p_->setPen(toQPen(Pen));
    p_->drawLine(shortened(From, To));
}

void QtPainterBackend::Polyline(const std::vector<TPoint>& Points, const TPenData& Pen) {
    for (size_t i = 1; i < Points.size(); ++i) Line(Points[i - 1], Points[i], Pen);
}

void QtPainterBackend::Polygon(const std::vector<TPoint>& Points, const TBrushData& Brush, const TPenData& Pen) {
    if (!p_ || Points.size() < 2) return;
    QPolygon poly;
    for (const TPoint& pt : Points) poly << QPoint(pt.X, pt.Y);
    p_->setPen(toQPen(Pen));
    p_->setBrush(toQBrush(Brush));
    p_->drawPolygon(poly);
    p_->setBrush(Qt::NoBrush);
}

void QtPainterBackend::Rectangle(const TRect& R, const TBrushData& Brush, const TPenData& Pen) {
    if (!p_ || R.IsEmpty()) return;
    if (Pen.Style == psClear) {
        if (Brush.Style != bsClear) p_->fillRect(toQRect(R), toQBrush(Brush));
        return;
    }
    p_->setPen(toQPen(Pen));
    p_->setBrush(toQBrush(Brush));
    p_->drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    p_->setBrush(Qt::NoBrush);
}

void QtPainterBackend::Ellipse(const TRect& R, const TBrushData& Brush, const TPenData& Pen) {
    if (!p_ || R.IsEmpty()) return;
    p_->setPen(toQPen(Pen));
    p_->setBrush(toQBrush(Brush));
    p_->drawEllipse(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    p_->setBrush(Qt::NoBrush);
}

void QtPainterBackend::TextOut(int X, int Y, const std::string& Utf8, const TFontData& Font, const TRect* Clip,
                               const TColor* Opaque) {
    if (!p_) return;
    QFont f = ToQFont(Font);
    QFontMetrics fm(f);
    QString text = QString::fromStdString(Utf8);
    p_->save();
    if (Clip) p_->setClipRect(toQRect(*Clip), Qt::IntersectClip);
    if (Opaque) p_->fillRect(QRect(X, Y, fm.horizontalAdvance(text), fm.height()), ToQColor(*Opaque));
    p_->setFont(f);
    p_->setPen(ToQColor(Font.Color));
    p_->drawText(X, Y + fm.ascent(), text);
    p_->restore();
}

int QtPainterBackend::DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) {
    QFont f = ToQFont(Font);
    QString text = QString::fromStdString(Utf8);
    int flags = qtFlags(Format);
    QFontMetrics fm(f);
    if (Format & DT_CALCRECT) {
        int width = (Format & DT_WORDBREAK) ? std::max(1, R.Width()) : 0x7FFF;
        QRect b =
            fm.boundingRect(QRect(R.Left, R.Top, width, 0x7FFF),
                            flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom), text);
        if (text.isEmpty()) b.setHeight(fm.height());
        R.Right = R.Left + b.width();
        R.Bottom = R.Top + b.height();
        return b.height();
    }
    if (!p_) return 0;
    if ((Format & DT_END_ELLIPSIS) && (Format & DT_SINGLELINE))
        text = fm.elidedText(text, Qt::ElideRight, R.Width(), flags);
    p_->save();
    p_->setFont(f);
    p_->setPen(ToQColor(Font.Color));
    QRect bounding;
    p_->drawText(toQRect(R), flags, text, &bounding);
    p_->restore();
    return bounding.height();
}

TSize QtPainterBackend::TextExtent(const std::string& Utf8, const TFontData& Font) {
    QFontMetrics fm(ToQFont(Font));
    return TSize(fm.horizontalAdvance(QString::fromStdString(Utf8)), fm.height());
}

void QtPainterBackend::DrawPixels(const TRect& Dest, const TPixelsView& Image, int32_t TransparentKey) {
    if (!p_ || Dest.IsEmpty()) return;
    QImage img = ToQImage(Image, TransparentKey);
    if (img.isNull()) return;
    p_->drawImage(toQRect(Dest), img);
}

TColor QtPainterBackend::GetPixel(int X, int Y) {
    QImage* img = image();
    if (!img || !img->valid(X, Y)) return clBlack;
    return ArgbToColor(img->pixel(X, Y));
}

void QtPainterBackend::SetPixel(int X, int Y, TColor Color) {
    if (!p_) return;
    p_->fillRect(QRect(X, Y, 1, 1), ToQColor(Color));
}

TRect QtPainterBackend::ClipRect() { return TRect(clip_.left(), clip_.top(), clip_.right() + 1, clip_.bottom() + 1); }

QtBitmapBackend::QtBitmapBackend(TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty()) return;
    image_ = QImage(reinterpret_cast<uchar*>(Bitmap->PixelData()), Bitmap->Width(), Bitmap->Height(),
                    Bitmap->Width() * 4, QImage::Format_ARGB32);
    painter_.begin(&image_);
    setPainter(&painter_, image_.rect());
}

QtBitmapBackend::~QtBitmapBackend() {
    if (painter_.isActive()) painter_.end();
}

bool DecodeImageBytes(const std::string& Bytes, int& Width, int& Height, std::vector<uint32_t>& Pixels) {
    QImage img;
    if (!img.loadFromData(reinterpret_cast<const uchar*>(Bytes.data()), int(Bytes.size()))) return false;
    img = img.convertToFormat(QImage::Format_ARGB32);
    Width = img.width();
    Height = img.height();
    Pixels.resize(size_t(Width) * size_t(Height));
    for (int y = 0; y < Height; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
        std::copy(src, src + Width, Pixels.begin() + ptrdiff_t(size_t(y) * size_t(Width)));
    }
    return true;
}

bool EncodeImageBytes(const TPixelsView& Image, const char* Format, std::string& Bytes) {
    QImage img = ToQImage(Image, -1);
    if (img.isNull()) return false;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, Format)) return false;
    Bytes.assign(data.constData(), size_t(data.size()));
    return true;
}

}  // namespace yorde::qt
