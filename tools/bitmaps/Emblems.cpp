#include "Emblems.h"

#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <string_view>
#include <tuple>

namespace bmp {
namespace {

QPen Stroke(const QColor& ink, qreal width) {
    QPen pen(ink, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// Horizontal bands on whole pixels, so stripes stay crisp.
void Bands(QPainter& p, const QRect& r, std::initializer_list<QColor> colours) {
    const int n = static_cast<int>(colours.size());
    int i = 0;
    for (const QColor& c : colours) {
        const int top = r.top() + r.height() * i / n;
        const int bottom = r.top() + r.height() * (i + 1) / n;
        p.fillRect(QRect(r.left(), top, r.width(), bottom - top), c);
        ++i;
    }
}

// Union Jack, simplified: drawn on a 60 x 30 field stretched onto the flag.
void UnionJack(QPainter& p, const QRect& r) {
    p.save();
    p.setClipRect(r);
    p.translate(r.topLeft());
    p.scale(r.width() / 60.0, r.height() / 30.0);
    p.fillRect(QRectF(0, 0, 60, 30), QColor(0x01, 0x21, 0x69));
    QPen white(Qt::white, 7.0);
    p.setPen(white);
    p.drawLine(QPointF(0, 0), QPointF(60, 30));
    p.drawLine(QPointF(60, 0), QPointF(0, 30));
    const QColor red(0xC8, 0x10, 0x2E);
    p.setPen(QPen(red, 3.0));
    p.drawLine(QPointF(0, 0), QPointF(60, 30));
    p.drawLine(QPointF(60, 0), QPointF(0, 30));
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(25, 0, 10, 30), Qt::white);
    p.fillRect(QRectF(0, 10, 60, 10), Qt::white);
    p.fillRect(QRectF(27, 0, 6, 30), red);
    p.fillRect(QRectF(0, 12, 60, 6), red);
    p.restore();
}

// Each language's flag, by the language's code.
struct FlagDrawing {
    std::string_view code;
    void (*draw)(QPainter& p, const QRect& field);
};
const FlagDrawing kFlags[] = {
    {"pl",
     [](QPainter& p, const QRect& r) {
         Bands(p, r, {Qt::white, QColor(0xDC, 0x14, 0x3C)});
     }},
    {"en", UnionJack},
    {"ru",
     [](QPainter& p, const QRect& r) {
         Bands(p, r, {Qt::white, QColor(0x00, 0x39, 0xA6), QColor(0xD5, 0x2B, 0x1E)});
     }},
};

const FlagDrawing* FlagOf(int language) {
    const TLanguage* l = LanguageNumbered(language);
    if (!l) return nullptr;
    for (const FlagDrawing& f : kFlags)
        if (f.code == l->Code) return &f;
    return nullptr;
}

void Flag(QPainter& p, int language, const QRectF& box) {
    const QRect outer = box.toAlignedRect();
    const QRect field = outer.adjusted(1, 1, -1, -1);
    p.save();
    if (const FlagDrawing* f = FlagOf(language)) f->draw(p, field);
    // A light sheen and a thin frame lift the flag off the page.
    QLinearGradient sheen(field.topLeft(), field.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 50));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    sheen.setColorAt(1, QColor(0, 0, 0, 30));
    p.fillRect(field, sheen);
    p.setPen(QPen(QColor(0x3A, 0x36, 0x2A), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(outer).adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

// Telephone handset in a 24 x 24 design box: two pads joined by a bowed grip.
void Handset(QPainter& p, const QColor& ink, qreal grip) {
    p.setPen(Stroke(ink, grip));
    p.setBrush(Qt::NoBrush);
    QPainterPath handle;
    handle.moveTo(7.2, 6.0);
    handle.cubicTo(4.6, 10.0, 10.5, 18.6, 17.8, 16.8);
    p.drawPath(handle);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    // Pads sit across the ends of the grip.
    for (const auto& [x, y, angle] : {std::tuple{6.9, 5.6, 33.0}, std::tuple{18.2, 16.9, 76.0}}) {
        p.save();
        p.translate(x, y);
        p.rotate(angle);
        p.drawRoundedRect(QRectF(-4.6, -2.6, 9.2, 5.2), 2.2, 2.2);
        p.restore();
    }
}

void AppIcon(QPainter& p, const QRectF& box) {
    const Palette& c = Colours();
    const qreal s = box.width();
    const bool tiny = s < 24;
    const QRectF tile = box.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal r = s * 0.2;
    p.save();
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0, QColor(0x55, 0x50, 0x3F));
    g.setColorAt(1, QColor(0x2D, 0x2A, 0x21));
    p.setPen(QPen(QColor(0x22, 0x20, 0x19), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(tile, r, r);
    if (!tiny) {
        p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(tile.adjusted(1, 1, -1, -1), r - 1, r - 1);
    }

    p.translate(box.topLeft());
    p.scale(s / 24.0, s / 24.0);
    p.translate(tiny ? 0.3 : 0.8, tiny ? 0.6 : 1.2);
    p.scale(tiny ? 0.9 : 0.82, tiny ? 0.9 : 0.82);
    Handset(p, c.paper, tiny ? 4.0 : 3.6);
    p.restore();

    // The recording dot.
    p.save();
    const qreal d = tiny ? s * 0.36 : s * 0.3;
    const QPointF centre(box.right() - d * 0.62 - s * 0.05, box.top() + d * 0.62 + s * 0.05);
    p.setPen(tiny ? Qt::NoPen : QPen(c.paper, std::max(1.0, s / 32.0)));
    p.setBrush(QColor(0xD2, 0x44, 0x36));
    p.drawEllipse(centre, d / 2, d / 2);
    p.restore();
}

void User(QPainter& p, const QRectF& box) {
    const Palette& c = Colours();
    const QRectF disc = box.adjusted(2, 2, -2, -2);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c.shadow);
    p.drawEllipse(disc.translated(0, 1.2));
    QLinearGradient g(disc.topLeft(), disc.bottomLeft());
    g.setColorAt(0, c.faceTop);
    g.setColorAt(1, c.faceBottom);
    p.setBrush(g);
    p.setPen(QPen(c.border, 1.0));
    p.drawEllipse(disc);
    // Head and shoulders, cut by the disc.
    QPainterPath clip;
    clip.addEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setClipPath(clip);
    const qreal s = disc.width();
    const QPointF head(disc.center().x(), disc.top() + s * 0.38);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6B, 0x66, 0x52));
    p.drawEllipse(head, s * 0.17, s * 0.17);
    p.drawEllipse(QRectF(disc.center().x() - s * 0.33, disc.top() + s * 0.6, s * 0.66, s * 0.6));
    p.restore();
}

void Earth(QPainter& p, const QRectF& box) {
    const Palette& c = Colours();
    const QRectF g = box.adjusted(2.5, 2.5, -2.5, -2.5);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4F, 0x74, 0x82));
    p.drawEllipse(g);
    p.setPen(Stroke(QColor(c.paper.red(), c.paper.green(), c.paper.blue(), 200), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(g.center().x() - g.width() * 0.22, g.top(), g.width() * 0.44, g.height()));
    p.drawLine(QPointF(g.center().x(), g.top()), QPointF(g.center().x(), g.bottom()));
    p.drawLine(QPointF(g.left() + 0.5, g.center().y()), QPointF(g.right() - 0.5, g.center().y()));
    p.setPen(QPen(c.ink, 1.2));
    p.drawEllipse(g);
    p.restore();
}

void Lock(QPainter& p, const QRectF& box) {
    const Palette& c = Colours();
    const qreal s = box.width() / 24.0;
    p.save();
    p.translate(box.topLeft());
    p.scale(s, s);
    p.setPen(Stroke(c.ink, 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(7.5, 11);
    shackle.lineTo(7.5, 8);
    shackle.arcTo(QRectF(7.5, 3.5, 9, 9), 180, -180);
    shackle.lineTo(16.5, 11);
    p.drawPath(shackle);
    QLinearGradient g(QPointF(0, 10.5), QPointF(0, 21));
    g.setColorAt(0, QColor(0xE3, 0xC0, 0x6A));
    g.setColorAt(1, QColor(0xB8, 0x93, 0x3E));
    p.setPen(QPen(c.ink, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(4.6, 10.6, 14.8, 10.4), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(c.ink);
    p.drawEllipse(QPointF(12, 14.8), 1.6, 1.6);
    p.drawRect(QRectF(11.3, 15.2, 1.4, 3.2));
    p.restore();
}

}  // namespace

bool DrawsFlag(int language) { return FlagOf(language) != nullptr; }

void PaintEmblem(QPainter& p, Glyph glyph, const QRectF& box, int language) {
    switch (glyph) {
    case Glyph::Flag: Flag(p, language, box); break;
    case Glyph::AppIcon: AppIcon(p, box); break;
    case Glyph::User: User(p, box); break;
    case Glyph::Earth: Earth(p, box); break;
    case Glyph::Lock: Lock(p, box); break;
    default: break;
    }
}

}  // namespace bmp
