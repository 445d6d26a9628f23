// Pictures that are not buttons: language flags, the program icon and the
// small decorations beside the edits.
#pragma once

#include "Catalogue.h"

#include <QRectF>

class QPainter;

namespace bmp {

// A flag is that of language 1..LanguageCount.
void PaintEmblem(QPainter& p, Glyph glyph, const QRectF& box, int language);
// Whether the flag of a language is drawn.
bool DrawsFlag(int language);

}  // namespace bmp
