#include "ShownBitmap.h"

#include "vcl/Graphics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

namespace yorde::test {

bool ShowsBitmap(TImage* Image, const std::string& File) {
    const std::string path = std::string(YORDE_BITMAPS_DIR) + "/" + File;
    if (!std::filesystem::is_regular_file(path)) {
        ADD_FAILURE() << "no committed bitmap " << path;
        return false;
    }
    TBitmap committed;
    committed.LoadFromFile(path);
    auto* shown = dynamic_cast<TBitmap*>(Image->Picture()->Graphic());
    if (!shown || committed.Width() == 0 || shown->Width() != committed.Width() ||
        shown->Height() != committed.Height())
        return false;
    return std::memcmp(shown->PixelData(), committed.PixelData(),
                       sizeof(uint32_t) * size_t(committed.Width()) * size_t(committed.Height())) == 0;
}

}  // namespace yorde::test
