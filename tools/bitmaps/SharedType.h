// Captions that one form shows side by side come out alike: per row of
// buttons (or of tabs), in every language, each starts at the fitting step
// the tightest of them needs, so all shrink together only where one does not
// fit, and a label keeps its size when the language changes.
#pragma once

#include "Catalogue.h"
#include "Render.h"

#include <QString>
#include <QStringList>

#include <map>

namespace bmp {

using TypeSteps = std::map<QString, int>;

TypeSteps SharedSteps(const RenderOptions& options);

// The first fitting step of a caption, 0 when it has none.
int SharedStep(const TypeSteps& steps, const ImageListEntry& list, const Slot& slot);

// The rows whose captions, drawn as the tool draws them, still come out at
// different steps (one line per row); empty when none.
QStringList UnevenRows(const RenderOptions& options);

}  // namespace bmp
