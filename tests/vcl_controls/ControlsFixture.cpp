#include "ControlsFixture.h"

#include "qt/QtCommonPeers.h"
#include "vcl/CommonRegister.h"

void ControlsTest::SetUp() {
    yorde::qt::RegisterCommonPeers();
    RegisterCommonControlClasses();
    Application->OnException = [this](TObject*, std::exception_ptr) { ++errors; };
    form.reset(new TForm(nullptr));
    form->SetClientSize(400, 300);
    form->Show();
}

void ControlsTest::TearDown() {
    form.reset();
    Application->OnException = nullptr;
    EXPECT_EQ(errors, 0) << "an event handler raised";
}
