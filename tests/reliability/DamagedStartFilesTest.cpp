// The program started on a damaged, cut short or foreign "users.conf" or
// "config.cfg": it starts as it would without the file (or with what the
// file still holds), keeps the file aside as ".bad" with its bytes as they
// were, says so in the debug log, and no later save touches that copy.
#include "MainWindowFixture.h"

#include "ReferenceBase64.h"
#include "store/Base64File.h"
#include "store/UserRecord.h"
#include "store/Users.h"
#include "vcl/StdCtrls.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitadduserform.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitusers.h"

#include <cstring>
#include <filesystem>

using namespace mainwindowtest;

namespace {

class DamagedStartFiles : public MainWindowTest {
protected:
    // Starts the program as it starts: the main window, then the debug log.
    void Start() {
        Respond("TadduserDialogForm", [this](TCustomForm* f) {
            auto* d = static_cast<TadduserDialogForm*>(f);
            EXPECT_TRUE(d->IsFirstAdmin());
            askedForAdministrator = true;
            d->passwordLineEdit->SetText("tajne1");
            d->repeatPasswordLineEdit->SetText("tajne1");
            d->OKButton->Click();
            return d->ModalResult();
        });
        CreateMainWindow();
        Application->CreateForm(DebugForm);
        MainForm->Show();
    }
    bool Logged(const std::string& Line) {
        TStrings* lines = DebugForm->Memo1->Lines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Strings(i) == Line) return true;
        return false;
    }
    std::vector<std::string> Users() {
        std::vector<std::string> names;
        TStrings* items = MainForm->UsersFrame1->usersComboBox->Items();
        for (int i = 0; i < items->Count(); ++i) names.push_back(items->Strings(i));
        return names;
    }
    // The plain table with these users in its first slots.
    static std::string Table(const std::vector<std::string>& Names) {
        TUserTable table{};
        for (size_t i = 0; i < Names.size(); ++i) {
            SetUserText(table[i].Name, Names[i].c_str());
            SetUserText(table[i].Password, "pass1");
        }
        return UserTableToBytes(table);
    }

    bool askedForAdministrator = false;
};

}  // namespace

// Bytes that are no store at all: as if there were none, the administrator
// is asked for; the bytes are kept.
TEST_F(DamagedStartFiles, UsersFileOfGarbage) {
    const std::string garbage = "\x89PNG\r\n\x1a\n-not-users-";
    program.Write("users.conf", garbage);
    Start();
    EXPECT_TRUE(askedForAdministrator);
    EXPECT_EQ(Users(), std::vector<std::string>{"admin"});
    EXPECT_EQ(program.Read("users.conf.bad"), garbage);
    EXPECT_TRUE(Logged("Users: users.conf set aside as users.conf.bad"));
}

// A store cut short: the users it holds log in as before, and a copy of the
// file is kept from the saves that will write a whole table.
TEST_F(DamagedStartFiles, UsersFileCutShort) {
    const std::string cut = ReferenceStoredBase64(Table({"admin", "jan"}).substr(0, 300));
    program.Write("users.conf", cut);
    Start();
    EXPECT_FALSE(askedForAdministrator);
    EXPECT_EQ(Users(), (std::vector<std::string>{"admin", "jan"}));
    EXPECT_EQ(program.Read("users.conf.bad"), cut);
    EXPECT_TRUE(Logged("Users: users.conf is not a whole user table; a copy is kept as users.conf.bad"));
    MainForm->SaveConfigAndCleanup();
    EXPECT_EQ(program.Read("users.conf.bad"), cut);
}

// Another program's Base64 file in its place: it holds no administrator,
// so one is asked for, and the file is kept before the new store is saved.
TEST_F(DamagedStartFiles, UsersFileOfAnotherProgram) {
    const std::string foreign = ReferenceStoredBase64("[settings]\r\nserver=10.0.0.7\r\nuser=someone\r\n");
    program.Write("users.conf", foreign);
    Start();
    EXPECT_TRUE(askedForAdministrator);
    EXPECT_EQ(program.Read("users.conf.bad"), foreign);
    EXPECT_EQ(Base64Decode(program.Read("users.conf")).size(), UserFileSize);
}

// A folder in the user store's place is no damaged store to set aside: one
// message names the file and says why, in the program's language, and the
// program ends; nobody is asked for an administrator, and the folder stays.
TEST_F(DamagedStartFiles, UsersFileThatIsAFolderIsNamedOnce) {
    program.MakeDir("users.conf/kept");
    program.Write("en.lang", "");
    EXPECT_EQ(StartExitCode(), 2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Class, "TMessageDialog");
    EXPECT_EQ(seen[0].Text, "The users file cannot be used:\n" + program.Path("users.conf") + "\nit is a folder.");
    EXPECT_TRUE(std::filesystem::is_directory(program.Path("users.conf/kept")));
    EXPECT_FALSE(program.Exists("users.conf.bad"));
}

// Settings that are no Base64 text: the defaults, stored at once; the file
// kept aside, untouched by the save at exit.
TEST_F(DamagedStartFiles, SettingsFileOfGarbage) {
    StoreAdmin();
    const std::string garbage = "<?xml version=\"1.0\"?><settings/>";
    program.Write("config.cfg", garbage);
    Start();
    EXPECT_EQ(MainForm->ConnectFrame1->SerwerIPEdit->Text(), "http://");
    EXPECT_EQ(program.Read("config.cfg.bad"), garbage);
    EXPECT_TRUE(Logged("Settings: config.cfg is not Base64 text; kept as config.cfg.bad"));
    MainForm->SaveConfigAndCleanup();
    EXPECT_EQ(DecodeConfig(program.Read("config.cfg")).size(), 13u);
    EXPECT_EQ(program.Read("config.cfg.bad"), garbage);
}

// Settings cut short after the device's lines: what they hold applies, as
// the settings always did; the rest takes its defaults; the file is kept.
TEST_F(DamagedStartFiles, SettingsFileCutShort) {
    StoreAdmin();
    const std::string cut =
        EncodeConfig({"2024-01-02 03:04:05", "2024-02-03 04:05:06", "*", "*", "30", "2", "http://10.0.0.7", "tajne"});
    program.Write("config.cfg", cut);
    Start();
    EXPECT_EQ(MainForm->ConnectFrame1->SerwerIPEdit->Text(), "http://10.0.0.7");
    EXPECT_EQ(MainForm->ConnectFrame1->HasloEdit->Text(), "tajne");
    EXPECT_EQ(program.Read("config.cfg.bad"), cut);
    EXPECT_TRUE(Logged("Settings: config.cfg is not the program's list of 13 lines; kept as config.cfg.bad"));
    MainForm->SaveConfigAndCleanup();
    EXPECT_EQ(DecodeConfig(program.Read("config.cfg"))[6], "http://10.0.0.7");
    EXPECT_EQ(program.Read("config.cfg.bad"), cut);
}

// Another file of the program in its place (the user store): no settings
// come of it; it is kept.
TEST_F(DamagedStartFiles, SettingsFileOfAnotherKind) {
    StoreAdmin();
    const std::string users = program.Read("users.conf");
    program.Write("config.cfg", users);
    Start();
    EXPECT_EQ(MainForm->ConnectFrame1->SerwerIPEdit->Text(), "http://");
    EXPECT_EQ(program.Read("config.cfg.bad"), users);
    MainForm->SaveConfigAndCleanup();
    EXPECT_EQ(program.Read("config.cfg.bad"), users);
}
