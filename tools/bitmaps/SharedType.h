// Captions that one form shows side by side share one type size: the
// smallest that any of them needs, per form, language and kind of face.
#pragma once

#include "Catalogue.h"
#include "Render.h"

#include <QString>

#include <map>

namespace bmp {

using TypeSizes = std::map<QString, int>;

TypeSizes SharedSizes(const RenderOptions& options);

// The size to cap a caption at, 0 when it has none.
int SharedSize(const TypeSizes& sizes, const ImageListEntry& list, const Slot& slot, int language);

}  // namespace bmp
