#pragma once
// Shared pieces of the component-layer tests.
#include "VclInput.h"

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

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

// A fresh folder for the test's files.
std::string TestFolder();
// Where screenshots go: $YORDE_SHOT_DIR when set (to look at them), else the test folder.
std::string ShotPath(const std::string& Name);

// Makes Control's parent Parent (owned by Owner) and places it.
template <class T>
T* Put(TComponent* Owner, TWinControl* Parent, int L, int T_, int W, int H) {
    T* c = new T(Owner);
    c->SetParent(Parent);
    c->SetBounds(L, T_, W, H);
    return c;
}
