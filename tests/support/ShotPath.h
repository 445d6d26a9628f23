#pragma once
// Where a test's screenshot goes: $YORDE_SHOT_DIR when set (to look at the
// pictures), else a folder of the running test under the test framework's
// temporary folder, kept after the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace yorde::test {

inline std::string ShotPath(const std::string& Name) {
    std::filesystem::path dir;
    if (const char* d = std::getenv("YORDE_SHOT_DIR")) {
        dir = d;
    } else {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::path(::testing::TempDir()) / "yorde-shots" /
              (info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("outside-tests"));
    }
    std::filesystem::create_directories(dir);
    return (dir / Name).string();
}

}  // namespace yorde::test
