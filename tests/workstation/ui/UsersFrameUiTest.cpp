// The users tab inside the real main window: first start, login, rights
// applied to the window, the settings bars and the retention question.
#include "UsersUiSupport.h"

#include "localization/Lxcomp.h"
#include "qt/QtPlatform.h"
#include "rtl/Languages.h"
#include "store/Users.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitadduserform.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <cstring>
#include <filesystem>

using namespace userstest;
using yorde::test::Click;
using yorde::test::MouseDown;
using yorde::test::MouseUp;
using yorde::test::PressKey;
using yorde::test::TypeText;

namespace {

// The password dialog answered with a typed password and its OK image.
Responder TypePassword(const std::string& password) {
    return [password](TCustomForm* f) {
        auto* d = static_cast<TuserpaswdDialog*>(f);
        d->paswdLineEdit->SetText(password);
        d->ImageOK->OnClick(d->ImageOK);
        return d->ModalResult();
    };
}

// The first-administrator dialog answered with a password.
Responder FirstAdmin(const std::string& password) {
    return [password](TCustomForm* f) {
        auto* d = static_cast<TadduserDialogForm*>(f);
        EXPECT_TRUE(d->IsFirstAdmin());
        d->passwordLineEdit->SetText(password);
        d->repeatPasswordLineEdit->SetText(password);
        d->OKButton->Click();
        return d->ModalResult();
    };
}

// The user dialog answered with a new user "piotr"; Mode gets the dialog's mode.
Responder AddPiotr(int* Mode = nullptr) {
    return [Mode](TCustomForm* f) {
        auto* d = static_cast<TadduserDialogForm*>(f);
        if (Mode) *Mode = d->Mode;
        d->adduserlineEdit->SetText("piotr");
        d->passwordLineEdit->SetText("haslo3");
        d->repeatPasswordLineEdit->SetText("haslo3");
        d->ImageOK->OnClick(d->ImageOK);
        return d->ModalResult();
    };
}

// The user dialog in modify mode: the second listed user deleted, then Cancel.
TModalResult DeleteSecondAndCancel(TCustomForm* f) {
    auto* d = static_cast<TadduserDialogForm*>(f);
    d->usersComboBox->SetItemIndex(1);
    d->usersComboBoxChange(d->usersComboBox);
    d->ImageUsun->OnClick(d->ImageUsun);
    return mrCancel;
}

std::vector<AnsiString> Items(TComboBox* combo) {
    std::vector<AnsiString> v;
    for (int i = 0; i < combo->Items()->Count(); ++i) v.push_back(combo->Items()->Strings(i));
    return v;
}

class UsersFrameTest : public UsersUiTest {
protected:
    // Start-up as the program does it; the window is shown.
    void Start(int language = 2) {
        UseLanguage(language);
        CreateMainWindow();
        main = MainForm;
        frame = main->UsersFrame1;
        media = main->MediaFrame1;
        link = main->ConnectFrame1;
        main->Show();
    }

    void LogIn(const std::string& name, const std::string& password) {
        Respond("TuserpaswdDialog", TypePassword(password));
        TComboBox* combo = frame->usersComboBox;
        combo->SetItemIndex(combo->Items()->IndexOf(name));
        frame->usersComboBoxChange(combo);
    }

    TMainForm* main = nullptr;
    TUsersFrame* frame = nullptr;
    TMediaFrame* media = nullptr;
    TConnectFrame* link = nullptr;
};

// Cancelled, or failing as it is shown: the program's own message, then
// the end.
TEST_F(UsersFrameTest, FirstStartCancelledOrFailedEndsWithExitCode2AndWritesNothing) {
    const Responder answers[] = {[](TCustomForm*) { return mrCancel; },
                                 [](TCustomForm*) -> TModalResult { throw EInvalidOperation("no window"); }};
    UseLanguage(2);
    for (const Responder& answer : answers) {
        seen.clear();
        Respond("TadduserDialogForm", answer);
        EXPECT_EQ(StartExitCode(), 2);
        EXPECT_TRUE(errors.empty()) << "no system message reaches the user";
        ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TMessageDialog", "TadduserDialogForm", "TMessageDialog"}));
        EXPECT_EQ(seen[0].Caption, "Info");
        Owned<TMessageDialog> adminError(new TMessageDialog(nullptr));
        adminError->SetAdminCreateError();
        EXPECT_EQ(seen[2].Text, adminError->MessageLabel->Caption());
        EXPECT_FALSE(program.Exists("users.conf"));
        EXPECT_FALSE(program.Exists("data.db")) << "the program ended before its databases";
        EXPECT_EQ(adduserDialog, nullptr);
    }
}

TEST_F(UsersFrameTest, FirstStartConfirmedStoresTheAdministrator) {
    Respond("TadduserDialogForm", FirstAdmin("tajne1"));
    Start();
    EXPECT_EQ(Items(frame->usersComboBox), std::vector<AnsiString>{"admin"});
    EXPECT_EQ(frame->usersComboBox->Text(), "Select user");
    ASSERT_TRUE(LoadUsers());
    const TUserRecord admin = FindUser("admin");
    EXPECT_EQ(UserText(admin.Password), "tajne1");
    for (const TUserRight* right : {&admin.ViewRight, &admin.ListenRight, &admin.DeleteRight}) {
        EXPECT_EQ(right->Kind, rkAll);
        EXPECT_EQ(right->Set, 1);
    }
}

TEST_F(UsersFrameTest, StoreWithoutAdministratorKeepsItsUsers) {
    StoreUsers({MakeUser("anna", "haslo1")});
    Respond("TadduserDialogForm", FirstAdmin("tajne1"));
    Start();
    EXPECT_EQ(Items(frame->usersComboBox), (std::vector<AnsiString>{"anna", "admin"}));
}

TEST_F(UsersFrameTest, AdministratorThatCannotBeSavedIsReportedOnceInTheProgramsLanguageAndEndsWithExitCode2) {
    // A folder comes where "users.conf" should go while the dialog is open:
    // the file cannot be put in place.
    Respond("TadduserDialogForm", [this](TCustomForm* f) {
        std::filesystem::create_directory(program.Path("users.conf"));
        return FirstAdmin("tajne1")(f);
    });
    UseLanguage(3);
    Application->CreateForm(DebugForm);
    EXPECT_EQ(StartExitCode(), 2);
    EXPECT_TRUE(errors.empty()) << "no system message reaches the user";
    // No administrator, the dialog, and the reason: no second question.
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TMessageDialog", "TadduserDialogForm", "TMessageDialog"}));
    EXPECT_EQ(seen[2].Text, yorde::test::InLanguage(3, "Невозможно использовать файл пользователей:\n") +
                                program.Path("users.conf") + yorde::test::InLanguage(3, "\nэто папка."));
    EXPECT_EQ(seen[2].Charset, RUSSIAN_CHARSET);
    EXPECT_TRUE(std::filesystem::is_directory(program.Path("users.conf")));
    // The system's reason, with the path, is in the debug log.
    const AnsiString log = DebugForm->Memo1->Lines()->Text();
    EXPECT_NE(log.find(program.Path("users.conf")), AnsiString::npos) << log;
}

class LoginTest : public UsersFrameTest {
protected:
    void SetUp() override {
        UsersFrameTest::SetUp();
        StoreUsers({MakeUser("admin", "tajne1"), MakeUser("anna", "haslo1", rkNumber, rkNone, rkNone, "55")});
        Start();
    }
};

TEST_F(LoginTest, NobodyLoggedInSeesNoUserControls) {
    EXPECT_EQ(frame->userInfoLabel->Caption(), "Select user");
    for (TControl* c : std::initializer_list<TControl*>{
             frame->DodajImage, frame->ModyfImage, frame->RefreshTrackBar, frame->DeleteTrackBar,
             frame->DeleteAfterComboBox, frame->DeleteAfterLabel, frame->userVisLabel, frame->userRemLabel,
             main->TabImageFiltr, main->TabImageCon, media->RecImage, media->ImportImage, media->ExportImage,
             media->ABookImage, media->DeleteImage})
        EXPECT_FALSE(c->Visible()) << c->Name();
    EXPECT_FALSE(link->ConnectBitBtn->Enabled());
}

TEST_F(LoginTest, AdministratorWithUnsetDeviceGoesToTheConnectionTab) {
    LogIn("admin", "tajne1");
    EXPECT_TRUE(link->Visible());
    EXPECT_FALSE(frame->Visible());
    EXPECT_EQ(main->ActiveControl(), link->SerwerIPEdit);
    EXPECT_TRUE(main->StatusFrameBottom->LoggedIn);
    EXPECT_EQ(frame->userInfoLabel->Caption(), "");
    for (TControl* c : std::initializer_list<TControl*>{frame->DodajImage, frame->ModyfImage, frame->RefreshTrackBar,
                                                        frame->DeleteTrackBar, frame->DeleteAfterComboBox,
                                                        main->TabImageCon, main->TabImageFiltr, media->RecImage,
                                                        media->ImportImage, media->ExportImage, media->DeleteImage})
        EXPECT_TRUE(c->Visible()) << c->Name();
    EXPECT_TRUE(link->SerwerIPEdit->Enabled());
    EXPECT_TRUE(link->ConnectBitBtn->Enabled());
    EXPECT_FALSE(frame->userVisLabel->Visible());
    EXPECT_EQ(UserText(main->GetCurrentUserRecord().Name), "admin");
}

TEST_F(LoginTest, AdministratorWithAddressButNoPasswordTypesThePassword) {
    link->SerwerIPEdit->SetText("http://10.0.0.5");
    link->HasloEdit->SetText("");
    LogIn("admin", "tajne1");
    EXPECT_TRUE(link->Visible());
    EXPECT_EQ(main->ActiveControl(), link->HasloEdit);
}

TEST_F(LoginTest, AdministratorWithAnAddressTooShortToHoldAHostTypesTheAddress) {
    link->SerwerIPEdit->SetText("http://1");
    link->HasloEdit->SetText("");
    LogIn("admin", "tajne1");
    EXPECT_TRUE(link->Visible());
    EXPECT_EQ(main->ActiveControl(), link->SerwerIPEdit);
}

TEST_F(LoginTest, AdministratorWithDeviceSettingsStaysOnTheUsersTab) {
    link->SerwerIPEdit->SetText("http://10.0.0.5");
    link->HasloEdit->SetText("1234");
    LogIn("admin", "tajne1");
    EXPECT_TRUE(frame->Visible());
    EXPECT_FALSE(link->Visible());
}

TEST_F(LoginTest, OrdinaryUserStaysOnTheUsersTabWithoutAdministration) {
    LogIn("anna", "haslo1");
    EXPECT_TRUE(frame->Visible());
    EXPECT_FALSE(link->Visible());
    EXPECT_TRUE(main->StatusFrameBottom->LoggedIn);
    EXPECT_FALSE(frame->DodajImage->Visible());
    EXPECT_FALSE(main->TabImageCon->Visible());
    EXPECT_TRUE(main->TabImageFiltr->Visible());
}

TEST_F(LoginTest, WrongPasswordLeavesNobodyLoggedIn) {
    LogIn("admin", "tajne1");
    LogIn("anna", "Haslo1");
    ASSERT_EQ(SeenClasses().back(), "TMessageDialog");
    EXPECT_EQ(seen.back().Text, "Wrong password");
    EXPECT_EQ(seen.back().Caption, "Error");
    EXPECT_TRUE(IsFreeSlot(main->GetCurrentUserRecord()));
    EXPECT_FALSE(main->StatusFrameBottom->LoggedIn);
    EXPECT_EQ(frame->usersComboBox->ItemIndex(), -1);
    EXPECT_EQ(frame->usersComboBox->Text(), "Select user");
    EXPECT_EQ(frame->userInfoLabel->Caption(), "Select user");
    EXPECT_FALSE(link->ConnectBitBtn->Enabled());
    EXPECT_FALSE(media->ExportImage->Visible());
    EXPECT_FALSE(frame->DodajImage->Visible());
    EXPECT_FALSE(main->TabImageFiltr->Visible());
}

TEST_F(LoginTest, TypedTextStartsALoginOnlyWhenItNamesAUser) {
    Respond("TuserpaswdDialog", TypePassword("haslo1"));
    TComboBox* combo = frame->usersComboBox;
    combo->SetText("");
    TypeText(combo, "bob");
    EXPECT_TRUE(seen.empty()) << "a text naming nobody opens nothing";
    EXPECT_FALSE(main->StatusFrameBottom->LoggedIn);

    combo->SetText("");
    TypeText(combo, "anna");
    ASSERT_EQ(SeenClasses(), std::vector<std::string>{"TuserpaswdDialog"});
    EXPECT_EQ(UserText(main->GetCurrentUserRecord().Name), "anna");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_TRUE(frame->userVisLabel->Visible());
    EXPECT_TRUE(main->StatusFrameBottom->LoggedIn);
}

// View, listen and delete kinds of an ordinary user against what the window shows.
TEST_F(LoginTest, RightsDecideImagesAndSentences) {
    struct Case {
        int view, listen, del;
        const char* viewText;
        const char* deleteText;
    };
    const Case cases[] = {
        {rkAll, rkAll, rkAll, "Privileges to view all.", "Privileges to remove all."},
        {rkNone, rkNone, rkNone, "No privileges to view", "No privileges to remove"},
        {rkNumber, rkNumber, rkNumber, "Privileges to view user:\n55", "Privileges to remove user:\n55"},
        {rkAll, rkNone, rkNumber, "Privileges to view all.", "Privileges to remove user:\n55"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.viewText);
        StoreUsers({MakeUser("admin", "tajne1"), MakeUser("jan", "haslo2", c.view, c.listen, c.del, "55")});
        frame->ReloadUsers();
        LogIn("jan", "haslo2");
        EXPECT_EQ(frame->userVisLabel->Caption(), c.viewText);
        EXPECT_EQ(frame->userRemLabel->Caption(), c.deleteText);
        EXPECT_TRUE(frame->userVisLabel->Visible());
        EXPECT_TRUE(frame->userRemLabel->Visible());
        EXPECT_EQ(media->ExportImage->Visible(), c.listen != rkNone);
        EXPECT_EQ(media->DeleteImage->Visible(), c.del != rkNone);
        EXPECT_TRUE(media->ABookImage->Visible());
        EXPECT_FALSE(media->RecImage->Visible());
        EXPECT_FALSE(media->ImportImage->Visible());
        EXPECT_TRUE(link->ConnectBitBtn->Enabled());
    }
}

TEST_F(LoginTest, RetentionAsksWhenSwitchedOnOrShortened) {
    TComboBox* combo = frame->DeleteAfterComboBox;
    auto choose = [&](int index) {
        deleteQuestions.clear();
        combo->SetItemIndex(index);
        frame->DeleteAfterComboBoxChange(combo);
    };
    int monthsDuringQuestion = 0;
    Respond("TDeleteDialog", [&](TCustomForm* f) {
        deleteQuestions.push_back(static_cast<TDeleteDialog*>(f)->InfoLabel->Caption());
        monthsDuringQuestion = frame->GetDeleteAfterMonths();
        return mrOk;
    });
    choose(3);
    ASSERT_EQ(deleteQuestions, std::vector<AnsiString>{"The change will delete recordings. \nContinue?"});
    EXPECT_EQ(monthsDuringQuestion, -1) << "the purge must not see an unconfirmed period";
    EXPECT_EQ(frame->RetentionIndex, 3);
    EXPECT_EQ(frame->GetDeleteAfterMonths(), 3);

    Respond("TDeleteDialog", [&](TCustomForm*) {
        deleteQuestions.push_back("declined");
        return mrCancel;
    });
    choose(1);
    EXPECT_EQ(deleteQuestions.size(), 1u);
    EXPECT_EQ(combo->ItemIndex(), 3) << "declined: the old period is shown again";
    EXPECT_EQ(frame->RetentionIndex, 3);

    choose(4);
    EXPECT_TRUE(deleteQuestions.empty()) << "lengthening asks nothing";
    EXPECT_EQ(frame->GetDeleteAfterMonths(), 6);
    choose(0);
    EXPECT_TRUE(deleteQuestions.empty()) << "switching off asks nothing";
    EXPECT_EQ(frame->GetDeleteAfterMonths(), -1);

    frame->RetentionIndex = 42;  // a hand-edited setting: retention off
    EXPECT_EQ(frame->GetDeleteAfterMonths(), -1);
    choose(9);
    EXPECT_EQ(deleteQuestions.size(), 1u);
}

TEST_F(LoginTest, SettingBarsSetTheLinkAndTheirLabels) {
    LogIn("admin", "tajne1");
    frame->RefreshTrackBar->SetPosition(60);
    EXPECT_EQ(link->RefreshSeconds, 7200);
    EXPECT_EQ(frame->RefreshLabel->Caption(), "Refresh every 120 min");
    frame->RefreshTrackBar->SetPosition(1);
    EXPECT_EQ(link->RefreshSeconds, 120);
    EXPECT_EQ(frame->RefreshLabel->Caption(), "Refresh every 2 min");
    frame->DeleteTrackBar->SetPosition(64);
    EXPECT_EQ(link->StorageQuota, 64);
    EXPECT_EQ(frame->DeleteLabel->Caption(), "Recordings buffer size: 64 GB");

    // Up raises the bar, Down lowers it.
    frame->RefreshTrackBar->SetPosition(2);
    PressKey(frame->RefreshTrackBar, VK_UP);
    EXPECT_EQ(frame->RefreshTrackBar->Position(), 3);
    PressKey(frame->RefreshTrackBar, VK_DOWN);
    PressKey(frame->RefreshTrackBar, VK_DOWN);
    EXPECT_EQ(frame->RefreshTrackBar->Position(), 1);
    PressKey(frame->DeleteTrackBar, VK_UP);
    EXPECT_EQ(frame->DeleteTrackBar->Position(), 64) << "kept at the maximum";
    PressKey(frame->DeleteTrackBar, VK_DOWN);
    EXPECT_EQ(frame->DeleteTrackBar->Position(), 63);
}

TEST_F(LoginTest, ImageButtonsShowTheirPictureOfTheLanguage) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    // English: add user, change rights pressed and at rest.
    EXPECT_TRUE(ShowsBitmap(frame->DodajImage, "TUsersFrame.ImageListBtn/4.png"));
    MouseDown(frame->ModyfImage);
    EXPECT_TRUE(ShowsBitmap(frame->ModyfImage, "TUsersFrame.ImageListBtn/7.png"));
    MouseUp(frame->ModyfImage, mbLeft, 5, 200);  // released away from the image: no click
    EXPECT_TRUE(ShowsBitmap(frame->ModyfImage, "TUsersFrame.ImageListBtn/6.png"));
    EXPECT_TRUE(seen.back().Class != "TadduserDialogForm");
}

TEST_F(LoginTest, AddedUserJoinsTheList) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    int mode = -1;
    Respond("TadduserDialogForm", AddPiotr(&mode));
    Click(frame->DodajImage);
    EXPECT_EQ(mode, TadduserDialogForm::modeAdd);
    EXPECT_EQ(Items(frame->usersComboBox), (std::vector<AnsiString>{"admin", "anna", "piotr"}));
    EXPECT_EQ(frame->usersComboBox->Text(), "admin") << "the logged-in user stays selected";
    EXPECT_EQ(frame->usersComboBox->ItemIndex(), 0) << "picked, not only shown as text";
    EXPECT_EQ(adduserDialog, nullptr);
    EXPECT_EQ(FindUser("piotr").ListenRight.Kind, rkNone);
}

// The store cannot be written any more (a folder took its place): adding,
// changing or deleting a user says so once, and the list stays as it was.
TEST_F(LoginTest, AChangeThatCannotBeSavedIsNamedAndUndone) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    std::filesystem::remove(program.Path("users.conf"));
    std::filesystem::create_directory(program.Path("users.conf"));
    const AnsiString expected = "The users file cannot be used:\n" + program.Path("users.conf") + "\nit is a folder.";
    Respond("TadduserDialogForm", AddPiotr());
    seen.clear();
    Click(frame->DodajImage);
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TadduserDialogForm", "TMessageDialog"}));
    EXPECT_EQ(seen[1].Text, expected);
    EXPECT_TRUE(IsFreeSlot(FindUser("piotr")));
    EXPECT_EQ(Items(frame->usersComboBox), (std::vector<AnsiString>{"admin", "anna"}));

    Respond("TadduserDialogForm", DeleteSecondAndCancel);
    seen.clear();
    Click(frame->ModyfImage);
    // The dialog, the removal question and the reason, once.
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TadduserDialogForm", "TQuestionDialog", "TMessageDialog"}));
    EXPECT_EQ(seen[2].Text, expected);
    EXPECT_FALSE(IsFreeSlot(FindUser("anna")));
    EXPECT_EQ(Items(frame->usersComboBox), (std::vector<AnsiString>{"admin", "anna"}));
    EXPECT_TRUE(errors.empty()) << "no system message reaches the user";
}

TEST_F(LoginTest, ChangedRightsAreStoredAfterTheQuestion) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    AnsiString caption;
    Respond("TadduserDialogForm", [&](TCustomForm* f) {
        auto* d = static_cast<TadduserDialogForm*>(f);
        caption = d->Caption();
        d->usersComboBox->SetItemIndex(1);
        d->usersComboBoxChange(d->usersComboBox);
        d->uprKasComboBox->SetItemIndex(rkAll);
        d->OKButton->Click();
        return d->ModalResult();
    });
    seen.clear();
    Click(frame->ModyfImage);
    EXPECT_EQ(caption, "Privileges modification");
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TadduserDialogForm", "TQuestionDialog"}));
    EXPECT_EQ(FindUser("anna").DeleteRight.Kind, rkAll);
    EXPECT_EQ(FindUser("anna").ViewRight.Kind, rkNumber);
    EXPECT_EQ(UserText(FindUser("anna").ViewRight.Number), "55");
}

TEST_F(LoginTest, AUserDeletedInACancelledModifyLeavesTheList) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    Respond("TadduserDialogForm", DeleteSecondAndCancel);
    Click(frame->ModyfImage);
    EXPECT_TRUE(IsFreeSlot(FindUser("anna")));
    EXPECT_EQ(Items(frame->usersComboBox), std::vector<AnsiString>{"admin"});
    EXPECT_EQ(frame->usersComboBox->ItemIndex(), 0);
}

TEST_F(LoginTest, ModifyOnTheFirstListedUserChangesTheAdministrator) {
    LogIn("admin", "tajne1");
    main->TabImageUserClick(nullptr);
    Respond("TadduserDialogForm", [&](TCustomForm* f) {
        auto* d = static_cast<TadduserDialogForm*>(f);
        d->usersComboBox->SetItemIndex(0);
        d->usersComboBoxChange(d->usersComboBox);
        d->passwordLineEdit->SetText("nowe12");
        d->repeatPasswordLineEdit->SetText("nowe12");
        d->OKButton->Click();
        return d->ModalResult();
    });
    seen.clear();
    Click(frame->ModyfImage);
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TadduserDialogForm", "TQuestionDialog"}));
    EXPECT_EQ(UserText(FindUser("admin").Password), "nowe12");
    EXPECT_EQ(FindUser("admin").ViewRight.Kind, rkAll);
    EXPECT_EQ(UserText(FindUser("anna").Password), "haslo1");
    // Stored, not only changed in memory.
    ASSERT_TRUE(LoadUsers());
    EXPECT_EQ(UserText(FindUser("admin").Password), "nowe12");
}

TEST_F(UsersFrameTest, TheTwoHundredthUserIsAddedThroughTheDialogAndTheNextIsRefused) {
    std::vector<TUserRecord> users{MakeUser("admin", "tajne1")};
    for (int i = 1; i < MaxUsers - 1; ++i) users.push_back(MakeUser("user" + std::to_string(i), "haslo1"));
    StoreUsers(users);
    Start();
    Respond("TuserpaswdDialog", TypePassword("tajne1"));
    frame->usersComboBox->SetItemIndex(0);
    frame->usersComboBoxChange(frame->usersComboBox);
    main->TabImageUserClick(nullptr);
    AnsiString name;
    Respond("TadduserDialogForm", [&](TCustomForm* f) {
        auto* d = static_cast<TadduserDialogForm*>(f);
        d->adduserlineEdit->SetText(name);
        d->passwordLineEdit->SetText("haslo2");
        d->repeatPasswordLineEdit->SetText("haslo2");
        d->OKButton->Click();
        return d->ModalResult();
    });
    name = "ostatni";
    seen.clear();
    Click(frame->DodajImage);
    EXPECT_EQ(SeenClasses(), std::vector<std::string>{"TadduserDialogForm"});
    EXPECT_EQ(frame->usersComboBox->Items()->Count(), MaxUsers);
    EXPECT_EQ(frame->usersComboBox->Items()->Strings(MaxUsers - 1), "ostatni");

    name = "nadmiarowy";
    seen.clear();
    Click(frame->DodajImage);
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TadduserDialogForm", "TMessageDialog"}));
    EXPECT_TRUE(IsFreeSlot(FindUser("nadmiarowy")));
    EXPECT_EQ(frame->usersComboBox->Items()->Count(), MaxUsers);
    ASSERT_TRUE(LoadUsers());
    EXPECT_FALSE(IsFreeSlot(FindUser("ostatni")));
    EXPECT_TRUE(IsFreeSlot(FindUser("nadmiarowy")));
}

TEST_F(UsersFrameTest, AStoredNameFillingItsWholeFieldIsPickedAndLogsIn) {
    // A record written by another program: name and password without their NUL.
    TUserRecord full = MakeUser("", "");
    std::memset(full.Name, 'N', sizeof full.Name);
    std::memset(full.Password, 'p', sizeof full.Password);
    TUserTable table{};
    table[0] = MakeUser("admin", "tajne1");
    table[1] = full;
    program.Write("users.conf",
                  ReferenceBase64(std::string(reinterpret_cast<const char*>(table), sizeof table) + "KONIEC"));
    Start();
    const std::string name(20, 'N');
    ASSERT_EQ(Items(frame->usersComboBox), (std::vector<AnsiString>{"admin", name}));
    Respond("TuserpaswdDialog", TypePassword(std::string(20, 'p')));
    seen.clear();
    frame->usersComboBox->SetItemIndex(1);
    frame->usersComboBoxChange(frame->usersComboBox);
    ASSERT_EQ(SeenClasses(), std::vector<std::string>{"TuserpaswdDialog"});
    EXPECT_EQ(UserText(main->GetCurrentUserRecord().Name), name);
    EXPECT_TRUE(main->StatusFrameBottom->LoggedIn);
}

TEST_F(LoginTest, EveryTextTheCodeAsksForExistsInEveryLanguage) {
    Owned<TadduserDialogForm> userDialog(new TadduserDialogForm(nullptr));
    Owned<TuserpaswdDialog> passwordDialog(new TuserpaswdDialog(nullptr, TUserRecord{}));
    const std::pair<TlxCustomLang*, std::vector<const char*>> tables[] = {
        {frame->lxLangLinked1,
         {"IDS_SELECT_USER", "IDS_PRIV_ALLOW", "IDS_PRIV_ALL", "IDS_PRIV_DENY", "IDS_PRIV_SUBSCRIBER", "IDS_VIEW",
          "IDS_REMOVE", "IDS_PRIV_MODIFICATION", "IDS_REFRESH", "IDS_REFRESH_MIN", "IDS_BUFFER",
          "IDS_CHANGE_RODO_CONFIRM"}},
        {userDialog->lxLangLinked1, {"IDS_NONE", "IDS_ALL", "IDS_SELECTED"}},
        {passwordDialog->lxLangLinked1, {"IDS_WRONG_PASS", "IDS_ERROR"}},
    };
    for (int language = 1; language <= LanguageCount; ++language) {
        SwitchLanguage(language);
        for (const auto& [lang, keys] : tables)
            for (const char* key : keys) EXPECT_FALSE(lang->GetText(key).empty()) << key << " in language " << language;
    }
}

class UsersFrameLanguageTest : public UsersFrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(UsersFrameLanguageTest, AUserWithPolishLettersLogsInByTypingInEveryLanguage) {
    const AnsiString lucja = Utf8ToCodePage("Łucja", 1250);
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser(lucja, Utf8ToCodePage("hasło1", 1250))});
    Start(GetParam());
    TComboBox* combo = frame->usersComboBox;
    auto* box = static_cast<QComboBox*>(yorde::qt::WidgetOf(combo));
    EXPECT_EQ(box->itemText(1), QString::fromUtf8("Łucja"));
    // The prompt among the names is a translation and reads as one.
    const char* const prompt[] = {"Należy wybrać użytkownika", "Select user", "Выберите пользователя"};
    EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8(yorde::test::ForLanguage(GetParam(), prompt)));
    Respond("TuserpaswdDialog", [](TCustomForm* f) {
        auto* d = static_cast<TuserpaswdDialog*>(f);
        TypeText(d->paswdLineEdit, "hasło1");
        PressKey(d->paswdLineEdit, VK_RETURN);
        return d->ModalResult();
    });
    combo->SetText("");
    // A letter the ANSI code page lacks is refused; the name still comes whole.
    TypeText(combo, "ŁucЖja");
    ASSERT_EQ(SeenClasses(), std::vector<std::string>{"TuserpaswdDialog"});
    EXPECT_EQ(UserText(main->GetCurrentUserRecord().Name), lucja);
    EXPECT_TRUE(main->StatusFrameBottom->LoggedIn);
    EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8("Łucja"));
}

INSTANTIATE_TEST_SUITE_P(Languages, UsersFrameLanguageTest, ::testing::Range(1, LanguageCount + 1));

class UsersFrameShotTest : public UsersFrameTest, public ::testing::WithParamInterface<int> {};

TEST_P(UsersFrameShotTest, EveryTextFitsForNobodyTheAdministratorAndAUser) {
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser("anna", "haslo1", rkNumber, rkAll, rkNone, "48221234567")});
    Start(GetParam());
    link->SerwerIPEdit->SetText("http://10.0.0.5");
    link->HasloEdit->SetText("1234");
    const std::string l = std::to_string(GetParam());
    auto check = [&](TWinControl* shown, const std::string& name) {
        yorde::test::ExpectTextsFitAndShown(shown, ShotPath(program, name + "-" + l + ".png"));
    };
    check(frame, "UsersFrame-nobody");
    LogIn("admin", "tajne1");
    check(frame, "UsersFrame-admin");
    check(main, "MainWindow-admin");
    LogIn("anna", "haslo1");
    check(frame, "UsersFrame-user");
}

INSTANTIATE_TEST_SUITE_P(Languages, UsersFrameShotTest, ::testing::Range(1, LanguageCount + 1));

}  // namespace
