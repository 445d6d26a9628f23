#include "classes/Strings.h"
#include "rtl/SysUtils.h"
#include "store/Base64File.h"
#include "store/Users.h"

#include "ReferenceBase64.h"
#include "SmallDisk.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Records what the store shows ("caption:code", "?" for questions) and
// answers from a script.
class FakeUi : public IUserStoreUi {
public:
    void ShowMessage(const AnsiString& caption, int code) override {
        shown.push_back(caption + ":" + std::to_string(code));
    }
    bool AskQuestion(const AnsiString& caption, int code) override {
        return Ask(caption + ":?" + std::to_string(code));
    }
    bool AskRemoval(const AnsiString& caption, const AnsiString& name) override { return Ask(caption + ":?" + name); }
    void Log(const AnsiString& line) override { log.push_back(line); }

    std::deque<bool> answers;
    Names shown, log;

private:
    bool Ask(const std::string& what) {
        shown.push_back(what);
        if (answers.empty()) ADD_FAILURE() << "unexpected question " << what;
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
};

TUserRecord User(const std::string& name, const std::string& password = "pass1") {
    TUserRecord r{};
    SetUserText(r.Name, name);
    SetUserText(r.Password, password);
    r.ViewRight = r.ListenRight = r.DeleteRight = {rkAll, 1, {}};
    return r;
}

Names Listed() {
    TStringList list;
    ListUserNames(&list);
    Names v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list[i]);
    return v;
}

// A plain table with "admin" in slot `adminSlot` (none when negative).
std::string PlainTable(int adminSlot) {
    std::string plain(UserFileSize, '\0');
    if (adminSlot >= 0) plain.replace(std::size_t(adminSlot) * 111, 5, "admin");
    plain.replace(UserTableSize, 6, "KONIEC");
    return plain;
}

// The file and the reason of the EUsersFileError that Fn raises.
std::pair<std::string, TUsersFileProblem> problemOf(const std::function<void()>& Fn) {
    try {
        Fn();
    } catch (const EUsersFileError& e) {
        return {std::string(e.FileName), e.Problem};
    }
    ADD_FAILURE() << "no EUsersFileError";
    return {std::string(), TUsersFileProblem::WriteFailed};
}

class UsersTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDirOverride(dir.Root());
        SetUserStoreUi(&ui);
        std::memset(UserTable, 0, sizeof UserTable);
    }
    void TearDown() override {
        SetUserStoreUi(nullptr);
        SetProgramDirOverride("");
    }

    yorde::test::TTempFolder dir;
    FakeUi ui;
};

TEST_F(UsersTest, StoredFileMatchesTheRecordLayoutByteForByte) {
    PutUser(User("admin", "secret"), 0);
    TUserRecord jan = User("jan");
    jan.ViewRight = {rkNumber, 1, "123"};
    jan.ListenRight.Kind = rkNone;
    jan.DeleteRight = {rkNumber, 1, "456"};
    PutUser(jan, 5);

    std::string plain = PlainTable(0);
    const auto put = [&](std::size_t at, std::string_view s) { plain.replace(at, s.size(), s); };
    put(21, "secret");
    for (std::size_t at : {42u, 43u, 65u, 66u, 88u, 89u}) plain[at] = 1;
    const std::size_t b = 5 * 111;
    put(b, "jan");
    put(b + 21, "pass1");
    put(b + 42,
        "\x02\x01"
        "123");
    put(b + 66, "\x01");
    put(b + 88,
        "\x02\x01"
        "456");

    const std::string stored = dir.Read("users.conf");
    EXPECT_EQ(ReferenceStoredBase64(plain), stored);
    EXPECT_EQ(std::string::npos, stored.find('='));
    EXPECT_FALSE(dir.Exists("users.x"));

    std::memset(UserTable, 0, sizeof UserTable);
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ(0, std::memcmp(UserTable, plain.data(), UserTableSize));  // slots and gaps in place
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(UsersTest, ForeignShortAndLeftoverTablesAreRead) {
    std::string plain = PlainTable(0);
    plain.replace(111, 21, std::string(21, 'n'));                    // a name without its NUL
    dir.Write("users.conf", ReferenceBase64(plain.substr(0, 150)));  // short, one line, no CR LF
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"admin", std::string(20, 'n')}), Listed());
    EXPECT_EQ("", UserText(UserTable[1].Password));

    // Only the plain table an interrupted save left behind: read once, removed.
    ASSERT_TRUE(DeleteFile(dir.Path("users.conf")));
    dir.Write("users.x", PlainTable(3));
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ("admin", UserText(UserTable[3].Name));
    EXPECT_FALSE(dir.Exists("users.x"));
}

TEST_F(UsersTest, AddAsksBeforeReplacingAndNamesAreCaseSensitive) {
    AddUser(User("admin"));
    AddUser(User("jan", "old"));
    ui.answers = {false, true, true};
    AddUser(User("jan", "new"));
    EXPECT_EQ("old", UserText(FindUser("jan").Password));
    AddUser(User("jan", "new"));
    AddUser(User("Admin"));
    ModifyUser(User("ewa"));  // unknown: added without a question
    ModifyUser(User("ewa", "changed"));
    EXPECT_EQ((Names{"Info:?2", "Info:?2", "Info:?3"}), ui.shown);
    const std::string before = dir.Read("users.conf");
    AddUser(User("", "no name"));  // nothing to store, and nothing saved
    ModifyUser(User(""));
    EXPECT_EQ(before, dir.Read("users.conf"));

    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"admin", "jan", "Admin", "ewa"}), Listed());
    EXPECT_EQ("new", UserText(FindUser("jan").Password));
    EXPECT_EQ("changed", UserText(FindUser("ewa").Password));
    EXPECT_TRUE(IsFreeSlot(FindUser("nobody")));
}

TEST_F(UsersTest, FullTableRefusesTheNextUserAndFreedSlotsAreReusedLowestFirst) {
    for (int i = 0; i < MaxUsers; ++i) PutUser(User(i ? "u" + std::to_string(i) : "admin"), i);
    const std::string before = dir.Read("users.conf");
    AddUser(User("extra"));
    EXPECT_EQ(
        "B\xB3\xB9"
        "d:1",
        ui.shown.back());
    EXPECT_EQ(before, dir.Read("users.conf"));

    ui.answers = {true, true};
    DeleteUser("u7");
    DeleteUser("u3");
    EXPECT_EQ("Info:?u3", ui.shown.back());
    AddUser(User("first"));
    AddUser(User("second"));
    EXPECT_EQ("first", UserText(UserTable[3].Name));
    EXPECT_EQ("second", UserText(UserTable[7].Name));
}

// A slot outside the table writes nothing, and a text too long for its
// field is cut to 20 bytes with the NUL kept.
TEST_F(UsersTest, SlotsOutsideTheTableAndOverlongTextsAreKeptOut) {
    PutUser(User("admin"), MaxUsers - 1);
    const std::string before = dir.Read("users.conf");
    EXPECT_THROW(PutUser(User("jan"), MaxUsers), EListError);
    EXPECT_THROW(PutUser(User("jan"), -1), EListError);
    EXPECT_EQ(before, dir.Read("users.conf"));
    EXPECT_EQ((Names{"admin"}), Listed());

    TUserRecord r{};
    std::memset(&r, 'x', sizeof r);
    SetUserText(r.Name, std::string(25, 'n'));
    EXPECT_EQ(std::string(20, 'n'), std::string(r.Name, 20));
    EXPECT_EQ('\0', r.Name[20]);
    SetUserText(r.Password, std::string_view("ab\0cd", 5));  // a NUL ends the text; the rest is zero
    EXPECT_EQ(0, std::memcmp(r.Password, "ab\0\0\0\0", 6));
    EXPECT_EQ('\0', r.Password[20]);
}

TEST_F(UsersTest, DeletingAdminIsRefusedWithoutSavingOtherDeletesAlwaysSave) {
    AddUser(User("admin"));
    AddUser(User("jan"));
    ASSERT_TRUE(DeleteFile(dir.Path("users.conf")));
    DeleteUser("admin");
    EXPECT_EQ((Names{"Info:4"}), ui.shown);
    EXPECT_FALSE(dir.Exists("users.conf"));

    DeleteUser("nobody");
    EXPECT_TRUE(dir.Exists("users.conf"));
    // A free slot is nobody's: an empty name asks about no one.
    DeleteUser("");
    EXPECT_EQ((Names{"Info:4"}), ui.shown);
    EXPECT_TRUE(IsFreeSlot(FindUser("")));
    ASSERT_TRUE(DeleteFile(dir.Path("users.conf")));
    ui.answers = {false};
    DeleteUser("jan");
    EXPECT_TRUE(dir.Exists("users.conf"));
    EXPECT_EQ((Names{"admin", "jan"}), Listed());
}

TEST_F(UsersTest, MissingAdminIsAskedForAndAddedBesideTheOtherUsers) {
    EXPECT_FALSE(LoadUsers());  // no file at all
    EXPECT_EQ((Names{"Info:0"}), ui.shown);

    PutUser(User("jan"), 2);
    PutUser(User("ewa"), 0);
    EXPECT_FALSE(LoadUsers());
    EXPECT_EQ((Names{"Info:0", "Info:0"}), ui.shown);
    EXPECT_EQ((Names{"ewa", "jan"}), Listed());
    AddUser(User("admin"));
    EXPECT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"ewa", "admin", "jan"}), Listed());
    EXPECT_FALSE(dir.Exists("users.conf.bad"));
}

TEST_F(UsersTest, StoreThatYieldsNoUserIsSetAsideNotOverwritten) {
    for (const std::string& content : {std::string(), std::string("*** ??? ***\r\n")}) {
        yorde::test::TTempFolder local;
        SetProgramDirOverride(local.Root());
        local.Write("users.conf", content);
        EXPECT_FALSE(LoadUsers());
        AddUser(User("admin"));
        EXPECT_EQ(content, local.Read("users.conf.bad"));
        EXPECT_TRUE(LoadUsers());
    }
    // Reading this one fails with an I/O error, whoever runs the test.
    std::filesystem::create_symlink("/proc/self/mem", dir.Path("users.conf"));
    SetProgramDirOverride(dir.Root());
    ui.log.clear();
    EXPECT_FALSE(LoadUsers());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("users.conf.bad")));
    EXPECT_FALSE(ui.log.empty());
}

TEST_F(UsersTest, StoreHoldingBytesOutsideBase64IsSetAsideAndYieldsNoJunkUser) {
    const std::string foreign = "!!!!not base64!!!!";
    dir.Write("users.conf", foreign);
    EXPECT_FALSE(LoadUsers());
    EXPECT_EQ((Names{"Info:0"}), ui.shown);
    EXPECT_EQ(foreign, dir.Read("users.conf.bad"));
    EXPECT_FALSE(dir.Exists("users.conf"));
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[0], "Users: users.conf is not Base64 text");
    EXPECT_EQ(ui.log[1], "Users: users.conf set aside as users.conf.bad");
    AddUser(User("admin"));
    EXPECT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"admin"}), Listed());
}

TEST_F(UsersTest, FailedSaveKeepsTableAndFileAsTheyWere) {
    AddUser(User("admin"));
    const std::string before = dir.Read("users.conf");
    SetProgramDirOverride(dir.Path("gone/"));
    EXPECT_THROW(AddUser(User("jan")), Exception);
    EXPECT_TRUE(IsFreeSlot(FindUser("jan")));
    SetProgramDirOverride(dir.Root());
    EXPECT_EQ(before, dir.Read("users.conf"));

    AddUser(User("ewa"));
    const std::string withEwa = dir.Read("users.conf");
    SetProgramDirOverride(dir.Path("gone/"));
    ui.answers = {true};
    EXPECT_THROW(DeleteUser("ewa"), Exception);  // a removal that cannot be saved is undone
    EXPECT_EQ("pass1", UserText(FindUser("ewa").Password));
    SetProgramDirOverride(dir.Root());
    EXPECT_EQ(withEwa, dir.Read("users.conf"));
}

// A store cut short keeps the users it holds (the table's rest is free),
// and a copy of it is kept before anything replaces it: it may hold what a
// repair can still read. A whole store written by the program keeps none.
TEST_F(UsersTest, StoreCutShortIsUsedAndACopyKeptFromTheNextSave) {
    std::string plain = PlainTable(0);
    plain.replace(111, 3, "jan");
    const std::string cut = ReferenceStoredBase64(plain.substr(0, 2 * 111 + 40));
    dir.Write("users.conf", cut);
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"admin", "jan"}), Listed());
    EXPECT_EQ(cut, dir.Read("users.conf.bad"));
    EXPECT_EQ(ui.log, (Names{"Users: users.conf is not a whole user table; a copy is kept as users.conf.bad"}));
    AddUser(User("ewa"));
    EXPECT_EQ(cut, dir.Read("users.conf.bad"));
    EXPECT_EQ(UserFileSize, Base64Decode(dir.Read("users.conf")).size());

    ui.log.clear();
    ASSERT_TRUE(LoadUsers());
    EXPECT_TRUE(ui.log.empty());
    EXPECT_FALSE(dir.Exists("users.conf.bad1"));

    // One record's worth longer, with the trailer at its end: not the table either.
    ASSERT_TRUE(DeleteFile(dir.Path("users.conf.bad")));
    const std::string longer = ReferenceStoredBase64(PlainTable(0).substr(0, UserTableSize) +
                                                     std::string(sizeof(TUserRecord), '\0') + "KONIEC");
    dir.Write("users.conf", longer);
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ(longer, dir.Read("users.conf.bad"));
}

// Another program's Base64 file in the store's place (here a settings
// file): whatever it decodes to, it is never replaced without a copy.
TEST_F(UsersTest, ForeignBase64FileIsNeverReplacedWithoutACopy) {
    const std::string foreign = ReferenceStoredBase64("2025-01-02 03:04:05\r\n*\r\n*\r\n1\r\nhttp://10.0.0.7\r\n");
    dir.Write("users.conf", foreign);
    LoadUsers();
    AddUser(User("admin"));
    EXPECT_TRUE(LoadUsers());
    const std::string kept = dir.Exists("users.conf.bad") ? dir.Read("users.conf.bad") : std::string();
    EXPECT_EQ(foreign, kept);
}

// Something in the store's place that is no file (a folder, a pipe) is no
// damaged store to set aside: the load names the file and why, asks for
// no administrator, and leaves the thing as it is (a pipe would block a
// reader for ever). A save that cannot put the file in place says the same.
TEST_F(UsersTest, AStoreThatIsNoFileIsReportedOnceAndLeftAsItIs) {
    const std::string store = dir.Path("users.conf");
    dir.MakeDir("users.conf/inside");
    EXPECT_EQ(problemOf([] { LoadUsers(); }), std::make_pair(store, TUsersFileProblem::Folder));
    EXPECT_EQ(problemOf([] { AddUser(User("admin")); }), std::make_pair(store, TUsersFileProblem::Folder));
    EXPECT_TRUE(IsFreeSlot(FindUser("admin")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("users.conf/inside")));
    EXPECT_FALSE(dir.Exists("users.conf.bad"));
    EXPECT_TRUE(ui.shown.empty());

    std::filesystem::remove_all(store);
    ASSERT_EQ(::mkfifo(store.c_str(), 0600), 0);
    EXPECT_EQ(problemOf([] { LoadUsers(); }), std::make_pair(store, TUsersFileProblem::NotAFile));
    EXPECT_EQ(std::filesystem::status(store).type(), std::filesystem::file_type::fifo);
    EXPECT_TRUE(ui.shown.empty());

    // A folder that is not there: the file cannot be made.
    SetProgramDirOverride(dir.Path("gone/"));
    EXPECT_EQ(problemOf([] { AddUser(User("admin")); }),
              std::make_pair(dir.Path("gone/users.conf"), TUsersFileProblem::WriteFailed));
}

// users.conf holds every password: its owner alone may read it, also when
// an older version left it readable by others.
TEST_F(UsersTest, StoreIsReadableByItsOwnerAlone) {
    dir.Write("users.conf", "");
    std::filesystem::permissions(dir.Path("users.conf"), std::filesystem::perms(0644));
    AddUser(User("admin"));
    EXPECT_EQ(std::filesystem::status(dir.Path("users.conf")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// A save refused by the disk says why: a file system that takes no writes,
// or one without a byte left. The store as it was stays.
TEST_F(UsersTest, ASaveTheDiskRefusesSaysWhy) {
    const auto problem = [] { return problemOf([] { AddUser(User("admin")); }).second; };
    {
        yorde::test::SmallDisk readOnly(dir.Path("ro"), 64, true);
        if (!readOnly.Mounted()) GTEST_SKIP() << "no disk of its own: " << readOnly.Error();
        SetProgramDirOverride(dir.Path("ro/"));
        EXPECT_EQ(problem(), TUsersFileProblem::NoPermission);
    }
    yorde::test::SmallDisk full(dir.Path("full"), 64);
    ASSERT_TRUE(full.Mounted()) << full.Error();
    full.Fill();
    SetProgramDirOverride(dir.Path("full/"));
    EXPECT_EQ(problem(), TUsersFileProblem::DiskFull);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("full/users.conf")));
    SetProgramDirOverride(dir.Root());
}

// A link at users.conf: read through, but the save puts the program's own
// file in its place; the file it pointed at keeps its bytes and permissions.
TEST_F(UsersTest, ALinkInPlaceOfTheStoreIsReplacedNotWrittenThrough) {
    namespace fs = std::filesystem;
    PutUser(User("admin"), 0);
    const std::string stored = dir.Read("users.conf");
    dir.Write("elsewhere/users.conf", stored);
    fs::permissions(dir.Path("elsewhere/users.conf"), fs::perms(0644));
    ASSERT_TRUE(DeleteFile(dir.Path("users.conf")));
    fs::create_symlink(dir.Path("elsewhere/users.conf"), dir.Path("users.conf"));
    ASSERT_TRUE(LoadUsers());
    AddUser(User("jan"));
    EXPECT_FALSE(fs::is_symlink(dir.Path("users.conf")));
    EXPECT_EQ(dir.Read("elsewhere/users.conf"), stored);
    EXPECT_EQ(fs::status(dir.Path("elsewhere/users.conf")).permissions(), fs::perms(0644));
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ((Names{"admin", "jan"}), Listed());
}

}  // namespace
