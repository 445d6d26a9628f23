#pragma once
// What a picture component shows, held against the committed bitmaps of
// resources/bitmaps/ by file name, so a test names the picture a user sees
// instead of working out where the program keeps it.
#include "vcl/ExtCtrls.h"

#include <string>

namespace yorde::test {

// True when Image shows, pixel for pixel, the committed bitmap File (such as
// "TConnectFrame.ImageListBtn/12.png"; the folders are described in
// resources/bitmaps/README.md). A missing file fails the test.
bool ShowsBitmap(TImage* Image, const std::string& File);

}  // namespace yorde::test
