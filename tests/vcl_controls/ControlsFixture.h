#pragma once
// Shared pieces of the tests of the memo, list, combo, bar and picker controls.
#include "Owned.h"
#include "ShotPath.h"
#include "VclInput.h"

#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using yorde::test::Owned;
using yorde::test::ShotPath;

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
