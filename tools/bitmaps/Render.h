// Turns one table entry into an image.
#pragma once

#include "Catalogue.h"

#include <QImage>
#include <QString>

namespace bmp {

struct RenderOptions {
    // Leave the form colour out and keep an alpha channel; the default bakes
    // the form colour in so the bitmaps look right even where alpha is lost.
    bool transparent = false;
};

struct Rendered {
    QImage image;
    QString error;      // set when a caption could not be fitted
    int textStep = -1;  // the fitting step the caption took, -1 without caption
};

// firstStep is the first fitting step the caption may take (see TextFit.h),
// so that buttons shown together come out in one size.
Rendered RenderSlot(const Slot& slot, QSize size, int language, const RenderOptions& options, int firstStep = 0);
Rendered RenderPicture(const PictureEntry& picture, const RenderOptions& options);
QImage RenderIcon(int size);  // the program icon, always with alpha

}  // namespace bmp
