#include "VclTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

HookScope::HookScope() {
    Application->OnException = [this](TObject*, std::exception_ptr e) { errors.push_back(e); };
    SetMessageBoxHook([this](const AnsiString& Text, const AnsiString& Caption, int) {
        messages.push_back(Text);
        captions.push_back(Caption);
        return IDOK;
    });
}

HookScope::~HookScope() {
    Application->OnException = nullptr;
    SetMessageBoxHook(nullptr);
    SetModalHook(nullptr);
    SetHaltHook(nullptr);
}

std::string TestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path p = std::filesystem::path(::testing::TempDir()) / "yorde-vcl" /
                              (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
    return p.string() + "/";
}

std::string ShotPath(const std::string& Name) {
    if (const char* dir = std::getenv("YORDE_SHOT_DIR")) {
        std::filesystem::create_directories(dir);
        return (std::filesystem::path(dir) / Name).string();
    }
    return TestFolder() + Name;
}
