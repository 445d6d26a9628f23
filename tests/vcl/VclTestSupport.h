#pragma once
// Shared pieces of the component-layer tests.
#include "Owned.h"
#include "ShotPath.h"
#include "TempFolder.h"
#include "VclInput.h"

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

using yorde::test::Owned;
using yorde::test::ShotPath;
using yorde::test::TTempFolder;

// Records what would reach the user (handled exceptions, message boxes) and
// removes every test hook when it goes.
class HookScope {
public:
    HookScope();
    ~HookScope();
    std::vector<std::exception_ptr> errors;
    std::vector<AnsiString> messages;
    std::vector<AnsiString> captions;
};

// Makes Control's parent Parent (owned by Owner) and places it.
template <class T>
T* Put(TComponent* Owner, TWinControl* Parent, int L, int T_, int W, int H) {
    T* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(L, T_, W, H);
    return c;
}
