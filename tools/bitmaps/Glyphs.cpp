#include "Glyphs.h"

#include "Style.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace bmp {
namespace {

QPen Stroke(const QColor& ink, qreal width) {
    QPen pen(ink, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Filled shape with softly rounded corners: fill plus a thin outline in the
// same colour, which rounds the joins.
void Solid(QPainter& p, const QPainterPath& path, const QColor& ink, qreal round = 1.2) {
    p.setPen(Stroke(ink, round));
    p.setBrush(ink);
    p.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> pts) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(pts)));
    path.closeSubpath();
    return path;
}

void Speaker(QPainter& p, const QColor& ink) {
    Solid(p, Polygon({{3.5, 9}, {7.5, 9}, {12.5, 4.8}, {12.5, 19.2}, {7.5, 15}, {3.5, 15}}), ink);
}

// A tray open at the top, with an arrow leaving it (up) or entering it (down).
void TrayArrow(QPainter& p, const QColor& ink, bool up) {
    p.setBrush(Qt::NoBrush);
    p.setPen(Stroke(ink, 2.2));
    QPainterPath tray;
    tray.moveTo(4, 13.5);
    tray.lineTo(4, 19.5);
    tray.lineTo(20, 19.5);
    tray.lineTo(20, 13.5);
    p.drawPath(tray);
    p.drawLine(QPointF(12, up ? 15.5 : 3.5), QPointF(12, up ? 4 : 14.5));
    QPainterPath head;
    if (up) {
        head.moveTo(7.5, 8.5);
        head.lineTo(12, 4);
        head.lineTo(16.5, 8.5);
    } else {
        head.moveTo(7.5, 10.5);
        head.lineTo(12, 15);
        head.lineTo(16.5, 10.5);
    }
    p.drawPath(head);
}

void Person(QPainter& p, const QColor& ink, QPointF at, qreal scale) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(at.x(), at.y()), 2.6 * scale, 2.6 * scale);
    QPainterPath body;
    const QRectF shoulders(at.x() - 4.6 * scale, at.y() + 3.4 * scale, 9.2 * scale, 8 * scale);
    body.moveTo(shoulders.left(), shoulders.top() + 4 * scale);
    body.arcTo(shoulders, 180, -180);
    body.closeSubpath();
    p.drawPath(body);
}

void Paint(QPainter& p, Glyph glyph, const QColor& ink) {
    switch (glyph) {
    case Glyph::Play:
        // Nudged right: a triangle's visual centre sits left of its box centre.
        Solid(p, Polygon({{7.8, 4.2}, {7.8, 19.8}, {20.2, 12}}), ink, 1.6);
        break;
    case Glyph::Pause: {
        QPainterPath bars;
        bars.addRoundedRect(QRectF(6.5, 5, 4, 14), 1, 1);
        bars.addRoundedRect(QRectF(13.5, 5, 4, 14), 1, 1);
        Solid(p, bars, ink, 0.6);
        break;
    }
    case Glyph::Stop: {
        QPainterPath sq;
        sq.addRoundedRect(QRectF(6, 6, 12, 12), 1.6, 1.6);
        Solid(p, sq, ink, 0.6);
        break;
    }
    case Glyph::Previous:
    case Glyph::Next: {
        p.save();
        if (glyph == Glyph::Next) {
            p.translate(24, 0);
            p.scale(-1, 1);
        }
        QPainterPath bar;
        bar.addRoundedRect(QRectF(5, 6, 2.8, 12), 0.8, 0.8);
        Solid(p, bar, ink, 0.6);
        Solid(p, Polygon({{18.6, 6.2}, {18.6, 17.8}, {9.4, 12}}), ink, 1.4);
        p.restore();
        break;
    }
    case Glyph::Export: TrayArrow(p, ink, true); break;
    case Glyph::Import: TrayArrow(p, ink, false); break;
    case Glyph::Volume:
        Speaker(p, ink);
        p.setBrush(Qt::NoBrush);
        p.setPen(Stroke(ink, 1.8));
        p.drawArc(QRectF(10.5, 8, 8, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8.5, 4.5, 14, 15), -52 * 16, 104 * 16);
        break;
    case Glyph::Muted:
        Speaker(p, ink);
        p.setPen(Stroke(Colours().record, 2.0));
        p.drawLine(QPointF(15.5, 9), QPointF(21, 15));
        p.drawLine(QPointF(21, 9), QPointF(15.5, 15));
        break;
    case Glyph::Delete: {
        p.setBrush(Qt::NoBrush);
        p.setPen(Stroke(ink, 1.9));
        p.drawLine(QPointF(4.5, 6.5), QPointF(19.5, 6.5));
        QPainterPath handle;
        handle.moveTo(9.5, 6.5);
        handle.lineTo(9.5, 4);
        handle.lineTo(14.5, 4);
        handle.lineTo(14.5, 6.5);
        p.drawPath(handle);
        QPainterPath can;
        can.moveTo(6.5, 8.5);
        can.lineTo(7.5, 20);
        can.lineTo(16.5, 20);
        can.lineTo(17.5, 8.5);
        p.drawPath(can);
        p.setPen(Stroke(ink, 1.5));
        p.drawLine(QPointF(10.3, 10.5), QPointF(10.5, 17.5));
        p.drawLine(QPointF(13.7, 10.5), QPointF(13.5, 17.5));
        break;
    }
    case Glyph::Record:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(QPointF(12, 12), 7.2, 7.2);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawEllipse(QPointF(9.8, 9.4), 2.4, 1.7);
        break;
    case Glyph::AddressBook: {
        // A book with binding rings and a person on its cover.
        p.setPen(Stroke(ink, 1.8));
        p.setBrush(Colours().paper);
        p.drawRoundedRect(QRectF(6.5, 3.5, 13, 17), 1.6, 1.6);
        p.setPen(Stroke(ink, 1.8));
        for (qreal y : {7.5, 12.0, 16.5}) p.drawLine(QPointF(4.2, y), QPointF(8.2, y));
        Person(p, ink, QPointF(13.4, 9.6), 0.85);
        break;
    }
    case Glyph::TabUsers:
        Person(p, QColor(ink.red(), ink.green(), ink.blue(), 150), QPointF(16, 8.5), 1.15);
        Person(p, ink, QPointF(9.5, 9.5), 1.3);
        break;
    case Glyph::TabFilter:
        Solid(p, Polygon({{3.5, 4.5}, {20.5, 4.5}, {14, 12.5}, {14, 19.5}, {10, 17.5}, {10, 12.5}}), ink, 1.4);
        break;
    case Glyph::TabConnection: {
        // Two linked chain rings.
        p.setBrush(Qt::NoBrush);
        p.setPen(Stroke(ink, 2.4));
        p.save();
        p.translate(12, 12);
        p.rotate(-45);
        p.drawRoundedRect(QRectF(-10, -3.6, 11.5, 7.2), 3.6, 3.6);
        p.drawRoundedRect(QRectF(-1.5, -3.6, 11.5, 7.2), 3.6, 3.6);
        p.restore();
        break;
    }
    default: break;
    }
}

}  // namespace

QColor GlyphInk(Glyph glyph) {
    switch (glyph) {
    case Glyph::Play: return Colours().play;
    case Glyph::Record: return Colours().record;
    default: return Colours().ink;
    }
}

void PaintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    Paint(p, glyph, ink);
    p.restore();
}

}  // namespace bmp
