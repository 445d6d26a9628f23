#include "Render.h"

#include "Emblems.h"
#include "Faces.h"
#include "Glyphs.h"
#include "Style.h"
#include "TextFit.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace bmp {
namespace {

constexpr qreal kTabGlyph = 14;
constexpr qreal kTabGap = 4;

QImage Canvas(QSize size, bool transparent) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(transparent ? QColor(Qt::transparent) : Colours().form);
    return img;
}

QImage Finish(QImage img, bool transparent) {
    return transparent ? img.convertToFormat(QImage::Format_ARGB32) : img.convertToFormat(QImage::Format_RGB32);
}

void Smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

qreal BlockWidth(const TextLayout& l) {
    QFontMetricsF fm(l.font);
    qreal w = 0;
    for (const QString& line : l.lines) w = std::max(w, fm.horizontalAdvance(line) * l.condense);
    return w;
}

QString Fault(const QString& text, QSize size) {
    return QStringLiteral("\"%1\" does not fit %2 x %3").arg(text).arg(size.width()).arg(size.height());
}

// Caption centred in the face; with a glyph, the glyph and caption are centred
// together as one group.
QString Caption(QPainter& p, const Face& face, const QString& text, Glyph glyph, const TextStyle& style, int& step) {
    QRectF box = face.content;
    if (glyph != Glyph::None) box.setLeft(box.left() + kTabGlyph + kTabGap);
    auto layout = FitText(text, box, style);
    if (!layout) return Fault(text, face.content.size().toSize());
    step = layout->step;
    if (glyph != Glyph::None) {
        const qreal textWidth = BlockWidth(*layout);
        const qreal group = kTabGlyph + kTabGap + textWidth;
        const qreal left = std::round(face.content.center().x() - group / 2);
        const QRectF g(left, std::round(face.content.center().y() - kTabGlyph / 2), kTabGlyph, kTabGlyph);
        PaintGlyph(p, glyph, g.translated(face.shift), face.textColour);
        layout->box.moveLeft(left + kTabGlyph + kTabGap + textWidth / 2 - layout->box.width() / 2);
    }
    DrawText(p, *layout, face.textColour, face.shift);
    return {};
}

}  // namespace

Rendered RenderSlot(const Slot& slot, QSize size, int language, const RenderOptions& options, int firstStep) {
    const bool icon = slot.glyph == Glyph::AppIcon;
    QImage img = Canvas(size, options.transparent || icon);
    QString error;
    int step = -1;
    {
        QPainter p(&img);
        Smooth(p);
        switch (slot.look) {
        case Look::Button:
        case Look::ButtonPressed:
        case Look::ButtonDisabled: {
            const Face face = PaintButton(p, size, slot.look);
            error = Caption(p, face, slot.words.In(language), Glyph::None,
                            {.nominalPx = 12, .minPx = 8, .firstStep = firstStep, .bold = false}, step);
            break;
        }
        case Look::Tab:
        case Look::TabSelected: {
            const Face face = PaintTab(p, size, slot.look == Look::TabSelected);
            error = Caption(p, face, slot.words.In(language), slot.glyph,
                            {.nominalPx = 12, .minPx = 9, .firstStep = firstStep, .bold = false}, step);
            break;
        }
        case Look::Round:
        case Look::RoundPressed: {
            const Face face = PaintRound(p, size, slot.look == Look::RoundPressed);
            PaintGlyph(p, slot.glyph, face.content.translated(face.shift), GlyphInk(slot.glyph));
            break;
        }
        case Look::Emblem: PaintEmblem(p, slot.glyph, QRectF(QPointF(0, 0), QSizeF(size)), language); break;
        case Look::Strip: PaintStrip(p, size); break;
        }
    }
    return {Finish(img, options.transparent || icon), error, step};
}

Rendered RenderPicture(const PictureEntry& picture, const RenderOptions& options) {
    return RenderSlot({0, picture.look, {}, picture.glyph}, picture.size, picture.language ? picture.language : 1,
                      options);
}

QImage RenderIcon(int size) {
    return RenderSlot({0, Look::Emblem, {}, Glyph::AppIcon}, QSize(size, size), 1, {true}).image;
}

}  // namespace bmp
