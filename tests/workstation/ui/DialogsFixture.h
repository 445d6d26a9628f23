#pragma once
// Shared pieces of the dialog tests: the real compiled layouts, the
// program's language dispatcher ("DMLang.lxLangDispatcher1"), modal runs
// driven by real input, and texts in the code page of each language.
#include "VclInput.h"

#include "localization/Lxcomp.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace dialogstest {

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

// The language data module as the program has it: a data module "DMLang"
// holding the dispatcher "lxLangDispatcher1" with the three languages.
class ProgramLanguageScope {
public:
    explicit ProgramLanguageScope(int Language);
    ~ProgramLanguageScope();
    TlxLangDispatcher* Dispatcher() const { return dispatcher_; }

private:
    TDataModule* module_;
    TlxLangDispatcher* dispatcher_;
};

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void TearDown() override;
};

// Text in the code page of Language (1 Polish 1250, 2 English, 3 Russian 1251).
AnsiString InLanguage(int Language, const char* Utf8);

// Shows Form modally; Script runs from inside its modal loop (real input
// may be sent from it). Returns the modal result.
TModalResult RunModal(TCustomForm* Form, std::function<void(TCustomForm*)> Script);

// True when Image shows picture Index of List.
bool Shows(TImage* Image, const TCustomImageList* List, int Index);

// Where screenshots go: $YORDE_SHOT_DIR when set, else a temporary folder.
std::string ShotPath(const std::string& Name);

}  // namespace dialogstest
