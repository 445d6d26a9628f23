// Pictures that are not buttons: language flags, the program icon and the
// small decorations beside the edits.
#pragma once

#include "Catalogue.h"

#include <QRectF>

class QPainter;

namespace bmp {

void PaintEmblem(QPainter& p, Glyph glyph, const QRectF& box);

}  // namespace bmp
