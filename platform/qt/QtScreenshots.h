#pragma once
// Pictures of every form, for a person to look at (see SaveScreenshot in
// QtPlatform.h for one form).
#include "vcl/Forms.h"

#include <vector>

namespace yorde::qt {

// Saves each form the screen knows, shown or not, as Folder + its name (its
// class name when it has none) + ".png"; returns the files written.
std::vector<AnsiString> SaveAllScreenshots(const AnsiString& Folder);

}  // namespace yorde::qt
