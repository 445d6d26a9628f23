// Backgrounds of the bitmaps: text buttons, tabs, round player buttons and
// the tab strip. Each returns the area its caption or glyph goes into.
#pragma once

#include "Catalogue.h"

#include <QColor>
#include <QRectF>
#include <QSize>

class QPainter;

namespace bmp {

struct Face {
    QRectF content;  // where text (and a glyph) go
    QColor textColour;
    QPointF shift;  // pressed looks move their content
};

Face PaintButton(QPainter& p, QSize size, Look look);
Face PaintTab(QPainter& p, QSize size, bool selected);
Face PaintRound(QPainter& p, QSize size, bool pressed);
void PaintStrip(QPainter& p, QSize size);

}  // namespace bmp
