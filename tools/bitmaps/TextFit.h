// Fitting a caption into a bitmap: smaller type first, then slightly
// condensed type, then two lines. A caption that still does not fit is an
// error, never a clipped bitmap. The tries come in one fixed order of steps,
// so captions shown side by side can all start at the step the tightest of
// them needs and come out alike.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <optional>

class QPainter;

namespace bmp {

struct TextStyle {
    int nominalPx = 12;  // preferred size
    int minPx = 8;       // never smaller
    int firstStep = 0;   // the first step to try: captions shown side by side share one
    bool bold = true;
};

struct TextLayout {
    QFont font;
    qreal condense = 1.0;  // horizontal scale
    QStringList lines;
    QRectF box;    // where the block is centred
    int step = 0;  // the step it fitted at
};

std::optional<TextLayout> FitText(const QString& text, const QRectF& box, const TextStyle& style);

// Draws the block centred in its box, moved by `shift` (the pressed look).
void DrawText(QPainter& p, const TextLayout& layout, const QColor& colour, QPointF shift = {});

}  // namespace bmp
