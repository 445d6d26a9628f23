#include "classes/Registry.h"

#include "FileModes.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFolder(tmp_.Path("registry")); }
    void TearDown() override { SetRegistryFolder(""); }
    yorde::test::TTempFolder tmp_{"yorde-registry"};
};

}  // namespace

TEST_F(RegistryTest, ValuesSurviveInTheFileOfTheirRoot) {
    AnsiString odd("line1\r\nline2 %41 = [x] ;y \xB9\xEA");
    odd += '\0';
    odd += "after nul";
    {
        TRegistry r;
        EXPECT_EQ(r.RootKey(), HKEY_CURRENT_USER);
        ASSERT_TRUE(r.OpenKey("\\Software\\Veltor\\Yorde", true));
        EXPECT_EQ(r.CurrentPath(), "Software\\Veltor\\Yorde");
        r.WriteString("Path", "C:\\Program Files\\Yorde");
        r.WriteString("Odd", odd);
        r.WriteString("", "default value");
        r.WriteInteger("Min", INT_MIN);
        r.WriteInteger("Max", INT_MAX);
        r.WriteBool("Flag", true);
        r.WriteString("Key=Name [1];x", "syntax in the name");
        r.WriteString("path", "replaced");  // names ignore case
    }
    EXPECT_TRUE(fs::exists(tmp_.Path("registry/HKEY_CURRENT_USER.reg")));

    TRegistry r;
    ASSERT_TRUE(r.OpenKey("software\\VELTOR\\yorde", false));
    EXPECT_EQ(r.ReadString("PATH"), "replaced");
    EXPECT_EQ(r.ReadString("Odd"), odd);
    EXPECT_EQ(r.ReadString(""), "default value");
    EXPECT_EQ(r.ReadInteger("Min"), INT_MIN);
    EXPECT_EQ(r.ReadInteger("Max"), INT_MAX);
    EXPECT_TRUE(r.ReadBool("Flag"));
    EXPECT_EQ(r.ReadString("key=name [1];X"), "syntax in the name");

    // Another root is another file.
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.OpenKey("Software\\Veltor\\Yorde", false));
    ASSERT_TRUE(machine.OpenKey("Software\\Veltor\\Yorde", true));
    EXPECT_FALSE(machine.ValueExists("Path"));
    machine.WriteInteger("Path", 1);
    EXPECT_EQ(r.ReadString("Path"), "replaced");
    EXPECT_TRUE(fs::exists(tmp_.Path("registry/HKEY_LOCAL_MACHINE.reg")));
}

TEST_F(RegistryTest, MissingValuesAndWrongTypes) {
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\Test", true));
    r.WriteString("Text", "12");
    r.WriteInteger("Number", 0);

    EXPECT_EQ(r.ReadString("Absent"), "");
    EXPECT_THROW(r.ReadInteger("Absent"), ERegistryException);
    EXPECT_THROW(r.ReadBool("Absent"), ERegistryException);
    EXPECT_THROW(r.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(r.ReadString("Number"), ERegistryException);
    EXPECT_FALSE(r.ReadBool("Number"));
    r.WriteInteger("Two", 2);
    EXPECT_TRUE(r.ReadBool("Two"));  // any non-zero number is true

    // Rewriting with another type replaces the value.
    r.WriteInteger("Text", 5);
    EXPECT_EQ(r.ReadInteger("Text"), 5);

    EXPECT_TRUE(r.ValueExists("number"));
    EXPECT_TRUE(r.DeleteValue("Number"));
    EXPECT_FALSE(r.ValueExists("Number"));
    EXPECT_FALSE(r.DeleteValue("Number"));
}

TEST_F(RegistryTest, WritesNeedAWritableOpenKey) {
    TRegistry r;
    EXPECT_THROW(r.WriteString("A", "b"), ERegistryException);
    EXPECT_EQ(r.ReadString("A"), "");
    EXPECT_THROW(r.ReadInteger("A"), ERegistryException);

    ASSERT_TRUE(r.OpenKey("Software\\RO", true));
    r.WriteInteger("N", 1);
    r.CloseKey();
    EXPECT_FALSE(r.HasCurrentKey());
    ASSERT_TRUE(r.OpenKeyReadOnly("Software\\RO"));
    EXPECT_EQ(r.ReadInteger("N"), 1);
    EXPECT_THROW(r.WriteInteger("N", 2), ERegistryException);
    EXPECT_FALSE(r.DeleteValue("N"));

    r.SetRootKey(0x1234);
    EXPECT_FALSE(r.OpenKey("Software", true));
}

TEST_F(RegistryTest, KeysNestAndDeleteWithTheirSubkeys) {
    TRegistry r;
    EXPECT_FALSE(r.KeyExists("Software\\App"));
    EXPECT_FALSE(r.OpenKey("Software\\App", false));
    ASSERT_TRUE(r.OpenKey("Software\\App\\Settings", true));
    r.WriteString("Lang", "Polski");
    EXPECT_TRUE(r.KeyExists("\\Software"));  // parents exist implicitly
    EXPECT_TRUE(r.KeyExists("\\software\\app"));

    // Relative to the open key, absolute with a leading separator.
    ASSERT_TRUE(r.OpenKey("Sub", true));
    EXPECT_EQ(r.CurrentPath(), "Software\\App\\Settings\\Sub");
    r.WriteInteger("Depth", 4);
    ASSERT_TRUE(r.OpenKey("\\Software\\Apple", true));  // a sibling sharing a prefix
    r.WriteInteger("Keep", 1);

    EXPECT_FALSE(r.DeleteKey(""));
    EXPECT_TRUE(r.DeleteKey("\\Software\\App"));
    EXPECT_FALSE(r.DeleteKey("\\Software\\App"));
    EXPECT_FALSE(r.KeyExists("\\Software\\App"));  // "Apple" is not below it
    EXPECT_FALSE(r.KeyExists("\\Software\\App\\Settings\\Sub"));
    EXPECT_TRUE(r.KeyExists("\\Software\\Apple"));
    EXPECT_EQ(r.ReadInteger("Keep"), 1);

    TRegistry again;
    EXPECT_FALSE(again.OpenKey("Software\\App\\Settings", false));
    ASSERT_TRUE(again.OpenKey("Software\\App\\Settings", true));
    EXPECT_FALSE(again.ValueExists("Lang"));
}

TEST_F(RegistryTest, UnreadableLinesAreSkipped) {
    fs::create_directories(tmp_.Path("registry"));
    {
        std::ofstream f(tmp_.Path("registry/HKEY_CURRENT_USER.reg"));
        f << "orphan=s:x\n[Software\\X]\r\nGood=i:41\nGood=i:42\nBad=i:4x\nJunk\nWide=i:99999999999\nT=q:1\n"
             "S=s:a%3Db\nOver=i:2147483648\nLow=i:-2147483648\nWrap=i:18446744073709551617\n[broken\n";
    }
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\X", false));
    EXPECT_EQ(r.ReadInteger("Good"), 42);  // a name given twice: the last line counts
    EXPECT_EQ(r.ReadString("S"), "a=b");
    EXPECT_FALSE(r.ValueExists("Bad"));
    EXPECT_FALSE(r.ValueExists("Wide"));
    EXPECT_FALSE(r.ValueExists("Over"));
    EXPECT_FALSE(r.ValueExists("Wrap"));  // too long to fit, whatever it wraps to
    EXPECT_EQ(r.ReadInteger("Low"), INT_MIN);
    EXPECT_FALSE(r.ValueExists("T"));
    EXPECT_FALSE(r.ValueExists("orphan"));
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w) {
        writers.emplace_back([w] {
            TRegistry r;
            if (!r.OpenKey("Software\\Shared", true)) return;
            for (int i = 0; i < 25; ++i) r.WriteInteger("v" + std::to_string(w) + "_" + std::to_string(i), i);
        });
    }
    for (auto& t : writers) t.join();
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\Shared", false));
    for (int w = 0; w < 4; ++w)
        for (int i = 0; i < 25; ++i) EXPECT_EQ(r.ReadInteger("v" + std::to_string(w) + "_" + std::to_string(i)), i);
    // Only the finished files remain: no temporary left behind.
    int files = 0;
    for (const auto& e : fs::directory_iterator(tmp_.Path("registry"))) {
        EXPECT_EQ(e.path().filename(), "HKEY_CURRENT_USER.reg");
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST_F(RegistryTest, DefaultFolderFollowsTheConfigurationHome) {
    SetRegistryFolder("");
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";

    setenv("XDG_CONFIG_HOME", tmp_.Path("xdg").c_str(), 1);
    EXPECT_EQ(RegistryFolder(), tmp_.Path("xdg/yorde/registry"));
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", tmp_.Dir().c_str(), 1);
    EXPECT_EQ(RegistryFolder(), tmp_.Path(".config/yorde/registry"));
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey("Software\\Home", true));
        r.WriteInteger("N", 1);
    }
    EXPECT_TRUE(fs::exists(tmp_.Path(".config/yorde/registry/HKEY_CURRENT_USER.reg")));
    EXPECT_EQ(fs::status(tmp_.Path(".config/yorde/registry")).permissions() & fs::perms::all, fs::perms::owner_all);

    if (oldXdg)
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

// The folders a save makes on the way are their owner's alone, whatever the
// umask lets through: nobody else may read the values or swap a folder.
TEST_F(RegistryTest, FoldersMadeOnTheWayAreTheOwnersAlone) {
    yorde::test::TUmaskScope open(0);
    SetRegistryFolder(tmp_.Path("config/yorde/registry"));
    {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey("Software\\Made", true));
        r.WriteInteger("N", 1);
    }
    for (const char* made : {"config", "config/yorde", "config/yorde/registry"})
        EXPECT_EQ(yorde::test::ModeOf(tmp_.Path(made)), 0700u) << made;
}

// A file another program left readable by others becomes private at the next write.
TEST_F(RegistryTest, AWriteMakesAnOpenFileTheOwnersAlone) {
    const std::string file = tmp_.Path("registry/HKEY_CURRENT_USER.reg");
    fs::create_directories(tmp_.Path("registry"));
    { std::ofstream(file) << "[Software\\Open]\nN=i:1\n"; }
    fs::permissions(file,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\Open", false));
    r.WriteInteger("N", 2);
    EXPECT_EQ(yorde::test::ModeOf(file), 0600u);
    EXPECT_EQ(r.ReadInteger("N"), 2);
}
