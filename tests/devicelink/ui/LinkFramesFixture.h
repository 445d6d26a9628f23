#pragma once
// Shared pieces of the connection-tab and status-bar tests: the real
// compiled layouts, the program's language dispatcher, the frame on a form
// as the main window holds it, and pictures per language.
#include "VclInput.h"

#include "localization/Lxcomp.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace linktest {

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

// The data module "DMLang" with the dispatcher "lxLangDispatcher1".
class ProgramLanguageScope {
public:
    explicit ProgramLanguageScope(int Language);
    ~ProgramLanguageScope();
    ProgramLanguageScope(const ProgramLanguageScope&) = delete;
    ProgramLanguageScope& operator=(const ProgramLanguageScope&) = delete;

private:
    TDataModule* module_;
};

class LinkFramesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
};

template <class T>
struct Hosted {
    Owned<TForm> Form;
    T* Frame = nullptr;
    Hosted(int Width, int Height) : Form(new TForm(nullptr)) {
        Form->SetClientSize(Width, Height);
        Frame = new T(Form.get());
        Frame->SetParent(Form.get());
    }
};

// Text in the code page of Language (1 Polish 1250, 2 English, 3 Russian 1251).
AnsiString InLanguage(int Language, const char* Utf8);
// True when Image shows picture Index of List.
bool Shows(TImage* Image, const TCustomImageList* List, int Index);
void ExpectComponents(TComponent* Root, const std::vector<std::pair<const char*, const char*>>& NamesAndClasses);
// Saves a picture of Control as Name_<pl|en|ru>.png ($YORDE_SHOT_DIR keeps them).
void Shoot(TControl* Control, const std::string& Name, int Language);

}  // namespace linktest
