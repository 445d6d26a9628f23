#include "Faces.h"

#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace bmp {
namespace {

constexpr qreal kRadius = 4.0;

QLinearGradient Vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A tab outline open at the bottom: rounded top corners only.
QPainterPath TabPath(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(r.right() - radius, r.top());
    path.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(r.right(), r.bottom());
    return path;
}

}  // namespace

Face PaintButton(QPainter& p, QSize size, Look look) {
    const Palette& c = Colours();
    const bool pressed = look == Look::ButtonPressed;
    const bool disabled = look == Look::ButtonDisabled;
    // The face is one pixel shorter than the bitmap: the spare row carries the
    // drop shadow when raised and the face itself when pushed in.
    QRectF face(0.5, pressed ? 1.5 : 0.5, size.width() - 1.0, size.height() - 2.0);

    p.save();
    if (!pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(c.shadow);
        p.drawRoundedRect(face.translated(0, 1), kRadius, kRadius);
    }
    QColor top = pressed ? c.pressedTop : c.faceTop;
    QColor bottom = pressed ? c.pressedBottom : c.faceBottom;
    if (disabled) {
        top = c.faceBottom;
        bottom = c.faceBottom.darker(106);
    }
    p.setPen(QPen(pressed ? c.pressedBorder : c.border, 1.0));
    p.setBrush(Vertical(face, top, bottom));
    p.drawRoundedRect(face, kRadius, kRadius);

    const QRectF inner = face.adjusted(1, 1, -1, -1);
    p.setBrush(Qt::NoBrush);
    if (pressed) {
        // Inset: a soft shade along the top and left inner edges.
        p.setPen(QPen(QColor(0x3A, 0x36, 0x2A, 90), 1.0));
        p.drawLine(QPointF(inner.left() + 2, inner.top()), QPointF(inner.right() - 2, inner.top()));
        p.setPen(QPen(QColor(0x3A, 0x36, 0x2A, 40), 1.0));
        p.drawLine(QPointF(inner.left() + 2, inner.top() + 1), QPointF(inner.right() - 2, inner.top() + 1));
        p.drawLine(QPointF(inner.left(), inner.top() + 2), QPointF(inner.left(), inner.bottom() - 2));
    } else {
        p.setPen(QPen(c.highlight, 1.0));
        p.drawLine(QPointF(inner.left() + 2, inner.top()), QPointF(inner.right() - 2, inner.top()));
    }
    p.restore();

    Face f;
    f.content = QRectF(6, 3, size.width() - 12, size.height() - 7);
    f.textColour = disabled ? c.disabledText : c.text;
    f.shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    return f;
}

Face PaintTab(QPainter& p, QSize size, bool selected) {
    const Palette& c = Colours();
    const qreal w = size.width();
    const qreal h = size.height();
    p.save();
    p.fillRect(QRectF(0, 0, w, h), c.strip);
    if (selected) {
        // In front: full height, full width, no line below, fading into the page.
        const QRectF r(0.5, 0.5, w - 1, h);
        const QPainterPath path = TabPath(r, kRadius);
        p.setPen(Qt::NoPen);
        p.setBrush(Vertical(r, c.tabSelectedTop, c.form));
        p.drawPath(path);
        p.setPen(QPen(c.stripLine, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
        p.drawLine(QPointF(r.left() + kRadius, 1.5), QPointF(r.right() - kRadius, 1.5));
    } else {
        // Behind: lower, narrower, cut off by the strip's bottom line.
        const QRectF r(1.5, 3.5, w - 3, h - 3.5);
        const QPainterPath path = TabPath(r, kRadius);
        p.setPen(QPen(c.stripLine, 1.0));
        p.setBrush(Vertical(r, c.tabTop, c.tabBottom));
        p.drawPath(path);
        p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
        p.drawLine(QPointF(r.left() + kRadius, 4.5), QPointF(r.right() - kRadius, 4.5));
        p.setPen(QPen(c.stripLine, 1.0));
        p.drawLine(QPointF(0, h - 0.5), QPointF(w, h - 0.5));
    }
    p.restore();

    Face f;
    f.content = selected ? QRectF(5, 2, w - 10, h - 3) : QRectF(5, 4, w - 10, h - 5);
    f.textColour = selected ? c.text : c.tabText;
    return f;
}

Face PaintRound(QPainter& p, QSize size, bool pressed) {
    const Palette& c = Colours();
    const qreal d = size.width() - 4.0;
    const QPointF centre(size.width() / 2.0, size.height() / 2.0 - 0.5 + (pressed ? 1 : 0));
    const QRectF disc(centre.x() - d / 2, centre.y() - d / 2, d, d);
    p.save();
    p.setPen(Qt::NoPen);
    if (!pressed) {
        p.setBrush(c.shadow);
        p.drawEllipse(disc.translated(0, 1.2));
    }
    p.setPen(QPen(pressed ? c.pressedBorder : c.border, 1.0));
    p.setBrush(Vertical(disc, pressed ? c.pressedTop : c.faceTop, pressed ? c.pressedBottom : c.faceBottom));
    p.drawEllipse(disc);
    p.setBrush(Qt::NoBrush);
    const QRectF inner = disc.adjusted(1.2, 1.2, -1.2, -1.2);
    if (pressed) {
        p.setPen(QPen(QColor(0x3A, 0x36, 0x2A, 80), 1.4));
        p.drawArc(inner, 35 * 16, 110 * 16);
    } else {
        p.setPen(QPen(c.highlight, 1.0));
        p.drawArc(inner, 40 * 16, 100 * 16);
    }
    p.restore();

    Face f;
    const qreal g = size.width() * 0.56;
    f.content = QRectF(centre.x() - g / 2, centre.y() - g / 2 - (pressed ? 1 : 0), g, g);
    f.textColour = c.ink;
    f.shift = pressed ? QPointF(0.5, 1) : QPointF(0, 0);
    return f;
}

void PaintStrip(QPainter& p, QSize size) {
    const Palette& c = Colours();
    p.save();
    p.fillRect(QRectF(0, 0, size.width(), size.height()), c.strip);
    p.setPen(QPen(c.stripLine, 1.0));
    p.drawLine(QPointF(0, size.height() - 0.5), QPointF(size.width(), size.height() - 0.5));
    p.restore();
}

}  // namespace bmp
