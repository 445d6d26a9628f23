#include "ControlsFixture.h"

#include "qt/QtCommonPeers.h"
#include "vcl/CommonRegister.h"

#include <cstdlib>
#include <filesystem>

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

std::string ShotPath(const std::string& Name) {
    std::filesystem::path dir;
    if (const char* d = std::getenv("YORDE_SHOT_DIR")) dir = d;
    else dir = std::filesystem::path(::testing::TempDir()) / "yorde-vcl-controls";
    std::filesystem::create_directories(dir);
    return (dir / Name).string();
}
