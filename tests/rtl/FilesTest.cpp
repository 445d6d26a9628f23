#include "FileModes.h"
#include "TempFolder.h"

#include "rtl/AtomicFile.h"
#include "rtl/Exceptions.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "rtl/Paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

namespace {

using namespace yorde::test;

TEST(Paths, SplittingLocalNames) {
    EXPECT_EQ(ExtractFilePath("/opt/y/yorde"), "/opt/y/");
    EXPECT_EQ(ExtractFilePath("yorde"), "");
    EXPECT_EQ(ExtractFileDir("/opt/y/yorde"), "/opt/y");
    EXPECT_EQ(ExtractFileDir("/yorde"), "/");
    EXPECT_EQ(ExtractFileName("/opt/y/a.b.wav"), "a.b.wav");
    EXPECT_EQ(ExtractFileName("C:\\x\\a.wav"), "C:\\x\\a.wav");  // '\' is an ordinary byte here
    EXPECT_EQ(ExtractFileExt("/opt/y.d/a.b.WAV"), ".WAV");
    EXPECT_EQ(ExtractFileExt("/opt/y.d/readme"), "");
    EXPECT_EQ(ChangeFileExt("/a.d/b.txt", ".csv"), "/a.d/b.csv");
    EXPECT_EQ(ChangeFileExt("/a.d/b", ".csv"), "/a.d/b.csv");
    EXPECT_EQ(ChangeFileExt("b.tar.gz", ""), "b.tar");
}

TEST(Paths, DeviceNamesSplitAtBackslashOrColonOnly) {
    EXPECT_EQ(ExtractDeviceFileName("E:\\ROZMOWY\\2024\\a.wav"), "a.wav");
    EXPECT_EQ(ExtractDeviceFileName("E:a.wav"), "a.wav");
    EXPECT_EQ(ExtractDeviceFileName("dir/sub/a.wav"), "dir/sub/a.wav");
    EXPECT_EQ(ExtractDeviceFileName("plain"), "plain");
    EXPECT_EQ(ExtractDeviceFileName("x\\"), "");
}

TEST(Paths, TrailingDelimiters) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/"), "/a");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/a"), "/a");
}

TEST(Paths, ExpandFileName) {
    EXPECT_EQ(ExpandFileName("/a/b/../c/./d"), "/a/c/d");
    EXPECT_EQ(ExpandFileName("/a//b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("/.."), "/");
    EXPECT_EQ(ExpandFileName("/a/b/.."), "/a");
    TTempFolder tree;
    tree.MakeDir("sub");
    const std::string cwd = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(tree.Path("sub").c_str()), 0);
    const std::string real = std::filesystem::current_path().string();
    EXPECT_EQ(ExpandFileName("x.txt"), real + "/x.txt");
    EXPECT_EQ(ExpandFileName("../y"), ExtractFilePath(real) + "y");
    EXPECT_EQ(ExpandFileName("./"), real + "/");
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
}

TEST(Files, ExistenceDeletionRenaming) {
    TTempFolder t;
    t.Write("a.txt", "abc");
    t.MakeDir("d");
    EXPECT_TRUE(FileExists(t.Path("a.txt")));
    EXPECT_FALSE(FileExists(t.Path("d")));  // folders are not files
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(t.Path("d")));
    EXPECT_FALSE(DirectoryExists(t.Path("a.txt")));

    EXPECT_FALSE(DeleteFile(t.Path("missing")));
    EXPECT_FALSE(DeleteFile(t.Path("d")));

    t.Write("b.txt", "xyz");
    EXPECT_FALSE(RenameFile(t.Path("a.txt"), t.Path("b.txt")));  // never replaces
    EXPECT_EQ(t.Read("b.txt"), "xyz");
    EXPECT_TRUE(RenameFile(t.Path("a.txt"), t.Path("c.txt")));
    EXPECT_EQ(t.Read("c.txt"), "abc");
    EXPECT_TRUE(DeleteFile(t.Path("c.txt")));
    EXPECT_FALSE(FileExists(t.Path("c.txt")));
}

TEST(Files, CreateDirMakesOneLevelAndForceDirectoriesTheWholePath) {
    TTempFolder t;
    EXPECT_TRUE(CreateDir(t.Path("x")));
    EXPECT_FALSE(CreateDir(t.Path("x")));
    EXPECT_FALSE(CreateDir(t.Path("p/q")));
    EXPECT_TRUE(ForceDirectories(t.Path("p/q/r/")));
    EXPECT_TRUE(DirectoryExists(t.Path("p/q/r")));
    EXPECT_TRUE(ForceDirectories(t.Path("p/q")));
    t.Write("f");
    EXPECT_FALSE(ForceDirectories(t.Path("f/g")));
    EXPECT_TRUE(ForceDirectories("/"));  // the root exists
    EXPECT_FALSE(ForceDirectories(""));
    EXPECT_FALSE(RemoveDir(t.Path("p")));  // not empty
    EXPECT_TRUE(RemoveDir(t.Path("p/q/r")));
}

// Folders are never made writable by group or others, whatever the umask
// lets through; the program's own folder, left so by an older start, loses
// only that.
TEST(Files, FoldersAreNeverMadeWritableByOthers) {
    TTempFolder t;
    TUmaskScope open(0);
    EXPECT_TRUE(CreateDir(t.Path("one")));
    EXPECT_TRUE(ForceDirectories(t.Path("p/q")));
    EXPECT_TRUE(ForceOwnFolder(t.Path("own")));
    for (const char* made : {"one", "p", "p/q", "own"}) EXPECT_EQ(ModeOf(t.Path(made)), 0755u) << made;

    ASSERT_EQ(::chmod(t.Path("own").c_str(), 03777), 0);
    EXPECT_TRUE(ForceOwnFolder(t.Path("own")));
    EXPECT_EQ(ModeOf(t.Path("own")), 03755u);
    ASSERT_EQ(::chmod(t.Path("own").c_str(), 0775), 0);
    EXPECT_TRUE(ForceOwnFolder(t.Path("own")));
    EXPECT_EQ(ModeOf(t.Path("own")), 0755u);  // the group loses writing too
    ASSERT_EQ(::chmod(t.Path("own").c_str(), 0700), 0);
    EXPECT_TRUE(ForceOwnFolder(t.Path("own")));
    EXPECT_EQ(ModeOf(t.Path("own")), 0700u);  // a tighter mode stays
    t.Write("file");
    EXPECT_FALSE(ForceOwnFolder(t.Path("file")));
    EXPECT_FALSE(ForceOwnFolder(t.Path("missing/own")));
}

TEST(Files, RestrictToOwnerNarrowsPlainFilesOnly) {
    TTempFolder t;
    t.Write("data.db");
    ASSERT_EQ(::chmod(t.Path("data.db").c_str(), 0664), 0);
    EXPECT_TRUE(RestrictToOwner(t.Path("data.db")));
    EXPECT_EQ(ModeOf(t.Path("data.db")), 0600u);
    EXPECT_TRUE(RestrictToOwner(t.Path("data.db")));  // already so
    EXPECT_EQ(ModeOf(t.Path("data.db")), 0600u);
    t.MakeDir("folder");
    const unsigned folderMode = ModeOf(t.Path("folder"));
    EXPECT_FALSE(RestrictToOwner(t.Path("folder")));
    EXPECT_EQ(ModeOf(t.Path("folder")), folderMode);
    EXPECT_FALSE(RestrictToOwner(t.Path("missing.db")));
}

TEST(Files, SizeAgeAndEmptyMarkers) {
    TTempFolder t;
    t.Write("data.db", std::string(3000, 'x'));
    EXPECT_EQ(FileSize(t.Path("data.db")), 3000);
    EXPECT_THROW(FileSize(t.Path("missing.db")), EFOpenError);
    EXPECT_THROW(FileSize(t.Root()), EFOpenError);

    EXPECT_TRUE(FileCreateAndClose(t.Path("data.db")));
    EXPECT_EQ(FileSize(t.Path("data.db")), 0);  // truncated
    EXPECT_TRUE(FileCreateAndClose(t.Path("marker")));
    EXPECT_TRUE(FileExists(t.Path("marker")));
    EXPECT_FALSE(FileCreateAndClose(t.Path("no/such/marker")));

    const int age = FileAge(t.Path("marker"));
    ASSERT_NE(age, -1);
    EXPECT_LT(std::abs(FileDateToDateTime(age) - Now()), 1.0 / 24);
    EXPECT_EQ(FileAge(t.Path("missing")), -1);
    EXPECT_EQ(FileAge(t.Root()), -1);
    TDateTime when;
    EXPECT_TRUE(FileAge(t.Path("marker"), when));
    EXPECT_FALSE(FileAge(t.Path("missing"), when));
}

TEST(Files, AtomicReplaceKeepsPermissionsAndLeavesNoTemporary) {
    TTempFolder t;
    t.Write("users.conf", "old");
    ASSERT_EQ(::chmod(t.Path("users.conf").c_str(), 0600), 0);
    WriteFileAtomically(t.Path("users.conf"), "new content");
    EXPECT_EQ(t.Read("users.conf"), "new content");
    struct stat st;
    ASSERT_EQ(::stat(t.Path("users.conf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    WriteFileAtomically(t.Path("fresh"), std::string("a\0b", 3));
    EXPECT_EQ(t.Read("fresh"), std::string("a\0b", 3));
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(t.Root())) ++entries, (void)e;
    EXPECT_EQ(entries, 2);

    EXPECT_THROW(WriteFileAtomically(t.Path("no/such/file"), "x"), EFCreateError);
    EXPECT_FALSE(TryWriteFileAtomically(t.Path("no/such/file"), "x"));
    // A folder in the way: the rename fails and the temporary goes away.
    t.MakeDir("taken");
    EXPECT_THROW(WriteFileAtomically(t.Path("taken"), "x"), EFCreateError);
    entries = 0;
    for (auto& e : std::filesystem::directory_iterator(t.Root())) ++entries, (void)e;
    EXPECT_EQ(entries, 3);
}

TEST(Files, DiskFreeIsPositiveForAFolderAndMinusOneWhenMissing) {
    TTempFolder t;
    EXPECT_GT(DiskFree(t.Root()), 0);
    EXPECT_EQ(DiskFree(t.Path("missing/dir")), -1);
}

class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* temp = std::getenv("TEMP");
        savedTemp_ = temp ? temp : "";
        hadTemp_ = temp != nullptr;
    }
    void TearDown() override {
        SetProgramDirOverride("");
        SetTempDirOverride("");
        if (hadTemp_)
            ::setenv("TEMP", savedTemp_.c_str(), 1);
        else
            ::unsetenv("TEMP");
    }
    std::string savedTemp_;
    bool hadTemp_ = false;
};

TEST_F(FoldersTest, ProgramDirIsTheExecutablesFolder) {
    const AnsiString dir = ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(FileExists(dir + ExtractFileName(ProgramFileName())));
    SetProgramDirOverride("/srv/yorde");
    EXPECT_EQ(ProgramDir(), "/srv/yorde/");
    SetProgramDirOverride("");
    EXPECT_EQ(ProgramDir(), dir);
}

TEST_F(FoldersTest, TempDirPrefersTheVariable) {
    ::setenv("TEMP", "/var/tmp/mine", 1);
    EXPECT_EQ(TempDir(), "/var/tmp/mine/");
    SetTempDirOverride("/x");
    EXPECT_EQ(TempDir(), "/x/");
}

TEST_F(FoldersTest, TempDirWithoutTheVariableIsPrivate) {
    ::unsetenv("TEMP");
    TTempFolder runtime;
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = oldRuntime ? oldRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", runtime.Root().c_str(), 1);
    const AnsiString dir = TempDir();
    EXPECT_EQ(dir, runtime.Path("yorde/"));
    struct stat st;
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());

    // Too open: tightened again.
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
    EXPECT_EQ(TempDir(), dir);
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Without a runtime folder: a per-user folder under the temporary root.
    TTempFolder root;
    ::unsetenv("XDG_RUNTIME_DIR");
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    ::setenv("TMPDIR", root.Root().c_str(), 1);
    const AnsiString fallback = TempDir();
    EXPECT_EQ(fallback, root.Path("yorde-" + std::to_string(::geteuid()) + "/"));
    ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    if (oldTmp)
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    if (oldRuntime) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST_F(FoldersTest, TempDirRefusesALinkPlantedUnderItsName) {
    ::unsetenv("TEMP");
    TTempFolder root, elsewhere;
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = oldRuntime ? oldRuntime : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    ::setenv("TMPDIR", root.Root().c_str(), 1);
    const std::string perUser = root.Path("yorde-" + std::to_string(::geteuid()));
    ASSERT_EQ(::symlink(elsewhere.Root().c_str(), perUser.c_str()), 0);
    const AnsiString dir = TempDir();
    EXPECT_NE(dir, perUser + "/");
    EXPECT_EQ(dir.rfind(root.Root(), 0), 0u);
    struct stat st;
    ASSERT_EQ(::lstat(ExcludeTrailingPathDelimiter(dir).c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    if (oldTmp)
        ::setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    if (oldRuntime) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST_F(FoldersTest, EnvironmentVariables) {
    ::setenv("RTL_TEST_VAR", "value", 1);
    EXPECT_EQ(GetEnvironmentVariable("RTL_TEST_VAR"), "value");
    ::unsetenv("RTL_TEST_VAR");
    EXPECT_EQ(GetEnvironmentVariable("RTL_TEST_VAR"), "");
}

}  // namespace
