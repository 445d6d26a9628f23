#pragma once
// Shared pieces of the menu, image list, tray and file dialog tests.
#include "ComponentImage.h"
#include "Owned.h"
#include "ShotPath.h"
#include "TempFolder.h"

#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

#include <memory>
#include <string>
#include <vector>

using yorde::test::ImageOf;
using yorde::test::Owned;
using yorde::test::ReadLayout;
using yorde::test::ShotPath;
using yorde::test::TTempFolder;
using yorde::test::WriteLayout;

// Removes every hook these tests set, and records handled exceptions.
class HookReset {
public:
    HookReset();
    ~HookReset();
    std::vector<AnsiString> errors;
};

// PNG bytes of a Width x Height image filled with Argb, with the top-left
// pixel set to Corner.
std::string MakePng(int Width, int Height, uint32_t Argb, uint32_t Corner);
// The "Bitmap" property data of an image list holding Images.
std::string ImageListData(const std::vector<std::string>& Images);
