// The compiler as the build runs it: exit code, messages, outputs.
#include "LayoutcTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

using ::testing::HasSubstr;

namespace {

struct TRunResult {
    int Exit = -1;
    std::string Err;
};

TRunResult runCompiler(const TTempFolder& dir, const std::string& args) {
    const std::string cmd = std::string(LAYOUTC_TEST_COMPILER) + " " + args + " 2>" + dir.Path("stderr.txt");
    const int status = std::system(cmd.c_str());
    TRunResult r;
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ReadWholeFile(dir.Path("stderr.txt"), r.Err);
    return r;
}

}  // namespace

TEST(CompilerProgram, RefusesWithFileLineMessageAndExitCode) {
    TTempFolder dir;
    const std::string layout = dir.Write("MiniForm.layout", Replace(MiniLayout(), "'Etykieta'", "'Метка'"));
    dir.Write("MiniForm.lang", MiniTable());
    const TRunResult r = runCompiler(dir, "--cpp " + dir.Path("out.cpp") + " --function RegisterMini " + layout);
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Err, layout + ":4: character U+041C 'М' has no Windows-1250 form\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.cpp")));
}

TEST(CompilerProgram, WritesTheSourceImageAndDepfile) {
    TTempFolder dir;
    const std::string layout = dir.Write("MiniForm.layout", MiniLayout());
    dir.Write("MiniForm.lang", MiniTable() + "@include more.lang\n");
    dir.Write("more.lang", "stStrings\tIDS_A\t\"a\"\tb?\t\\c\n");
    const TRunResult r = runCompiler(dir, "--cpp " + dir.Path("out.cpp") + " --function RegisterMini --image " +
                                              dir.Path("out.bin") + " --depfile " + dir.Path("out.d") + " " + layout);
    ASSERT_EQ(r.Exit, 0) << r.Err;
    std::string cpp, image, dep;
    ASSERT_TRUE(ReadWholeFile(dir.Path("out.cpp"), cpp));
    ASSERT_TRUE(ReadWholeFile(dir.Path("out.bin"), image));
    ASSERT_TRUE(ReadWholeFile(dir.Path("out.d"), dep));
    EXPECT_EQ(image.substr(0, 4), "TPF0");
    EXPECT_THAT(cpp, HasSubstr("void RegisterMini() { RegisterResource(\"TTestForm\", image, sizeof image - 1); }"));
    EXPECT_THAT(dep, HasSubstr(dir.Path("out.cpp") + ":"));
    EXPECT_THAT(dep, HasSubstr(dir.Path("MiniForm.lang")));
    EXPECT_THAT(dep, HasSubstr(dir.Path("more.lang")));

    // The generated literal holds exactly the image's bytes.
    std::string decoded;
    for (size_t p = cpp.find("image[] =\n"); p < cpp.size(); ++p) {
        if (cpp[p] != '"') continue;
        for (++p; cpp[p] != '"'; ++p) {
            if (cpp[p] == '\\') {
                decoded.push_back(char(std::stoi(cpp.substr(p + 1, 3), nullptr, 8)));
                p += 3;
            } else {
                decoded.push_back(cpp[p]);
            }
        }
        if (cpp.compare(p + 1, 1, ";") == 0) break;
    }
    EXPECT_EQ(decoded, image);
}

TEST(CompilerProgram, BadArgumentsGiveUsage) {
    TTempFolder dir;
    EXPECT_EQ(runCompiler(dir, "--cpp x.cpp --function 9bad y.layout").Exit, 2);
    EXPECT_EQ(runCompiler(dir, "--frobnicate").Exit, 2);
}
