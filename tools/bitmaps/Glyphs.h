// Vector glyphs of the player buttons and tabs, drawn in a 24 x 24 design box
// scaled onto the target rectangle.
#pragma once

#include "Catalogue.h"

#include <QColor>
#include <QRectF>

class QPainter;

namespace bmp {

void PaintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink);

// The glyph's own colour on a player button (play green, record red, others ink).
QColor GlyphInk(Glyph glyph);

}  // namespace bmp
