#pragma once
// Shared pieces of the tests of the memo, list, combo, bar and picker controls.
#include "VclInput.h"

#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

struct FreeDeleter {
    void operator()(TObject* o) const { TObject::Free(o); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

// A shown form to put controls on; unhandled exceptions from handlers are
// collected instead of being shown.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T>
    T* Put(int L, int T_, int W, int H) {
        T* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(L, T_, W, H);
        return c;
    }

    Owned<TForm> form;
    int errors = 0;
};

// Where a screenshot goes: $YORDE_SHOT_DIR when set (to look at it), else a temporary folder.
std::string ShotPath(const std::string& Name);
