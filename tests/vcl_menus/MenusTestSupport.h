#pragma once
// Shared pieces of the menu, image list, tray and file dialog tests.
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

#include <memory>
#include <string>
#include <vector>

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

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
// A fresh folder for the test's files (with a trailing "/").
std::string TestFolder();
// Reads a text layout into Root.
void ReadLayout(TComponent* Root, const AnsiString& Text);
