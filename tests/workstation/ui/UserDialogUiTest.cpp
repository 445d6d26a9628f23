// The user dialog: modes, the order of the checks, the record it builds,
// deleting inside it, and the typing filters of its edits.
#include "UsersUiSupport.h"

#include "qt/QtPlatform.h"
#include "rtl/Languages.h"
#include "store/Users.h"
#include "workstation/Unitadduserform.h"
#include "workstation/UserMessages.h"

#include <QWidget>

#include <cstring>

using namespace userstest;
using yorde::test::PressKey;
using yorde::test::TypeText;

namespace {

class UserDialogTest : public UsersUiTest {
protected:
    void SetUp() override {
        UsersUiTest::SetUp();
        UseLanguage(2);
        InstallUserStoreDialogs();
    }

    TadduserDialogForm* Open(int mode) {
        dialog.reset(new TadduserDialogForm(nullptr));
        dialog->SetMode(mode);
        dialog->Show();
        return dialog.get();
    }
    void Fill(const char* name, const char* password, const char* repeat) {
        dialog->adduserlineEdit->SetText(name);
        dialog->passwordLineEdit->SetText(password);
        dialog->repeatPasswordLineEdit->SetText(repeat);
    }
    // The texts of the messages an OK shows (at most one), and whether it closed.
    std::vector<AnsiString> PressOK() {
        seen.clear();
        dialog->SetModalResult(mrNone);
        dialog->OKButton->Click();
        std::vector<AnsiString> texts;
        for (const ModalSeen& s : seen) texts.push_back(s.Text);
        return texts;
    }

    Owned<TadduserDialogForm> dialog;
};

using Texts = std::vector<AnsiString>;

TEST_F(UserDialogTest, ChecksRunInTheirOrderAndStopAtTheFirstFailure) {
    Open(TadduserDialogForm::modeAdd);
    Fill("a", "x", "y");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(0)});
    Fill("admin", "x", "y");
    EXPECT_EQ(PressOK(), Texts{AccountText(0)}) << "the administrator's name is reserved";
    Fill("Admin", "ab", "ab");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(1)}) << "case counts: \"Admin\" is a free name";
    Fill("ab", "abc", "abd");
    EXPECT_EQ(PressOK(), Texts{AccountText(1)});
    Fill("ab", "abc", "abc");
    dialog->uprPrzegComboBox->SetItemIndex(rkNumber);
    dialog->uprPrzegLineEdit->SetText("5");
    dialog->uprKasComboBox->SetItemIndex(rkNumber);
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(2)});
    dialog->uprPrzegLineEdit->SetText("55");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(4)});
    dialog->uprKasLineEdit->SetText("5");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(4)}) << "a number of one digit is too short";
    dialog->uprKasLineEdit->SetText("");
    dialog->uprKasComboBox->SetItemIndex(rkAll);
    dialog->uprKasLineEdit->SetText("5");  // not tested: the kind is not "selected"
    EXPECT_EQ(PressOK(), Texts{});
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_EQ(seen.size(), 0u);
}

TEST_F(UserDialogTest, RecordCarriesKindsNumbersAndSetFlags) {
    Open(TadduserDialogForm::modeAdd);
    Fill("anna", "haslo1", "haslo1");
    dialog->uprPrzegComboBox->SetItemIndex(rkNumber);
    dialog->uprPrzegComboBoxChange(nullptr);
    dialog->uprPrzegLineEdit->SetText("123");
    dialog->uprKasComboBox->SetItemIndex(rkAll);
    dialog->uprKasLineEdit->SetText("77");
    ASSERT_EQ(PressOK(), Texts{});

    TUserRecord expected{};
    std::memcpy(expected.Name, "anna", 4);
    std::memcpy(expected.Password, "haslo1", 6);
    expected.ViewRight = {rkNumber, 1, "123"};
    expected.ListenRight = {rkNone, 1, ""};   // the listen row is hidden: nobody can grant it here
    expected.DeleteRight = {rkAll, 1, "77"};  // the number is copied whatever the kind
    const TUserRecord record = dialog->BuildUserRecord();
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
}

TEST_F(UserDialogTest, FirstAdministratorHasFixedNameAndAllRights) {
    Open(TadduserDialogForm::modeFirstAdmin);
    EXPECT_FALSE(dialog->adduserlineEdit->Enabled());
    EXPECT_FALSE(dialog->uprPrzegComboBox->Enabled());
    EXPECT_FALSE(dialog->usersComboBox->Visible());
    EXPECT_FALSE(dialog->ImageUsun->Visible());
    dialog->passwordLineEdit->SetText("ab");
    dialog->repeatPasswordLineEdit->SetText("ab");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(1)});
    dialog->passwordLineEdit->SetText("abc");
    dialog->repeatPasswordLineEdit->SetText("abc");
    EXPECT_EQ(PressOK(), Texts{});
    const TUserRecord record = dialog->BuildUserRecord();
    EXPECT_EQ(UserText(record.Name), "admin");
    EXPECT_EQ(record.ViewRight.Kind, rkAll);
    EXPECT_EQ(record.ListenRight.Kind, rkAll);
    EXPECT_EQ(record.DeleteRight.Kind, rkAll);
}

TEST_F(UserDialogTest, ModifyShowsThePickedUserAndGuardsTheAdministrator) {
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser("anna", "haslo1", rkNumber, rkNone, rkAll, "55")});
    ASSERT_TRUE(LoadUsers());
    Open(TadduserDialogForm::modeModify);
    EXPECT_FALSE(dialog->adduserlineEdit->Visible());
    EXPECT_TRUE(dialog->ImageUsun->Visible());
    TComboBox* users = dialog->usersComboBox;
    users->SetItemIndex(1);
    dialog->usersComboBoxChange(users);
    EXPECT_EQ(dialog->passwordLineEdit->Text(), "haslo1");
    EXPECT_EQ(dialog->uprPrzegComboBox->ItemIndex(), rkNumber);
    EXPECT_EQ(dialog->uprPrzegLineEdit->Text(), "55");
    EXPECT_TRUE(dialog->uprPrzegLineEdit->Enabled());
    EXPECT_EQ(dialog->uprPrzegLineEdit->Color(), clWindow);
    EXPECT_FALSE(dialog->uprKasLineEdit->Enabled());
    EXPECT_EQ(dialog->uprKasLineEdit->Color(), TColor(0xC0C0C0));
    EXPECT_TRUE(dialog->uprKasComboBox->Enabled());

    users->SetItemIndex(0);
    dialog->usersComboBoxChange(users);
    for (TComboBox* right : {dialog->uprPrzegComboBox, dialog->uprSluchComboBox, dialog->uprKasComboBox})
        EXPECT_FALSE(right->Enabled()) << right->Name() << ": the administrator's rights stay \"all\"";
    EXPECT_TRUE(dialog->passwordLineEdit->Enabled());

    // Back on an ordinary user, every right can be changed again.
    users->SetItemIndex(1);
    dialog->usersComboBoxChange(users);
    for (TComboBox* right : {dialog->uprPrzegComboBox, dialog->uprSluchComboBox, dialog->uprKasComboBox})
        EXPECT_TRUE(right->Enabled()) << right->Name();
}

TEST_F(UserDialogTest, ARightStandingAtNoChoiceGrantsNothing) {
    // A stored kind the dialog cannot show leaves its combo at no item.
    TUserRecord odd = MakeUser("anna", "haslo1", rkAll, rkAll, rkAll);
    odd.ViewRight.Kind = 7;
    odd.DeleteRight.Kind = 200;
    StoreUsers({MakeUser("admin", "tajne1"), odd});
    ASSERT_TRUE(LoadUsers());
    Open(TadduserDialogForm::modeModify);
    dialog->usersComboBox->SetItemIndex(1);
    dialog->usersComboBoxChange(nullptr);
    EXPECT_EQ(dialog->uprPrzegComboBox->ItemIndex(), -1);
    EXPECT_EQ(dialog->uprKasComboBox->ItemIndex(), -1);
    const TUserRecord record = dialog->BuildUserRecord();
    EXPECT_EQ(record.ViewRight.Kind, rkNone);
    EXPECT_EQ(record.ListenRight.Kind, rkAll);
    EXPECT_EQ(record.DeleteRight.Kind, rkNone);
}

TEST_F(UserDialogTest, DeletingTheLastUserLeavesNothingPicked) {
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser("anna", "haslo1")});
    ASSERT_TRUE(LoadUsers());
    Open(TadduserDialogForm::modeModify);
    TComboBox* users = dialog->usersComboBox;
    users->SetItemIndex(1);
    dialog->usersComboBoxChange(users);
    dialog->ImageUsun->OnClick(dialog->ImageUsun);
    ASSERT_EQ(SeenClasses(), std::vector<std::string>{"TQuestionDialog"});
    EXPECT_TRUE(IsFreeSlot(FindUser("anna")));
    EXPECT_EQ(users->Items()->Count(), 1);
    EXPECT_EQ(users->ItemIndex(), -1);
    EXPECT_EQ(dialog->passwordLineEdit->Text(), "");
    EXPECT_EQ(PressOK(), Texts{FieldRuleText(1)}) << "the picked-user check comes last";
}

TEST_F(UserDialogTest, NumberAndNameEditsDropForbiddenCharactersAsTyped) {
    Open(TadduserDialogForm::modeAdd);
    dialog->uprPrzegComboBox->SetItemIndex(rkNumber);
    dialog->UpdateRightEdits();
    TEdit* number = dialog->uprPrzegLineEdit;
    TypeText(number, "12ab#*3X");
    EXPECT_EQ(number->Text(), "12#*3");
    TypeText(dialog->adduserlineEdit, "O'Hara \"Jo\" `~\\");
    EXPECT_EQ(dialog->adduserlineEdit->Text(), "OHara Jo ");

    // The caret stays where the dropped character was typed.
    number->SetText("12345");
    number->SetSelStart(2);
    TypeText(number, "x");
    EXPECT_EQ(number->Text(), "12345");
    EXPECT_EQ(number->SelStart(), 2);
    TypeText(number, "9");
    EXPECT_EQ(number->Text(), "129345");

    dialog->adduserlineEdit->SetText("");
    TypeText(dialog->adduserlineEdit, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(dialog->adduserlineEdit->Text(), "abcdefghijklmnopqrst") << "20 characters at most";
}

TEST_F(UserDialogTest, EnterInAPasswordEditChecksOnce) {
    Open(TadduserDialogForm::modeAdd);
    Fill("a", "", "");
    seen.clear();
    PressKey(dialog->passwordLineEdit, VK_RETURN);
    EXPECT_EQ(seen.size(), 1u);
    PressKey(dialog->repeatPasswordLineEdit, VK_ESCAPE);
    EXPECT_EQ(dialog->ModalResult(), mrCancel);
}

TEST_F(UserDialogTest, EveryTextFitsWhenAddingAndModifyingInEveryLanguage) {
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser("anna", "haslo1", rkNumber, rkNone, rkAll, "55")});
    ASSERT_TRUE(LoadUsers());
    for (int language = 1; language <= LanguageCount; ++language) {
        SwitchLanguage(language);
        const std::string l = std::to_string(language);
        Open(TadduserDialogForm::modeAdd);
        dialog->uprPrzegComboBox->SetItemIndex(rkNumber);
        dialog->UpdateRightEdits();
        yorde::test::ExpectTextsFitAndShown(dialog.get(), ShotPath(program, "UserDialog-add-" + l + ".png"));
        dialog.reset(new TadduserDialogForm(nullptr));
        dialog->Open(TadduserDialogForm::modeModify, "Modyfikacja");
        dialog->Show();
        dialog->usersComboBox->SetItemIndex(1);
        dialog->usersComboBoxChange(nullptr);
        yorde::test::ExpectTextsFitAndShown(dialog.get(), ShotPath(program, "UserDialog-modify-" + l + ".png"));
        dialog.reset();
    }
}

class UserStoreCaptionTest : public UsersUiTest {
protected:
    void SetUp() override {
        UsersUiTest::SetUp();
        InstallUserStoreDialogs();
    }
};

TEST_F(UserStoreCaptionTest, TheStoresPolishCaptionsShowAsPolishInRussianMode) {
    UseLanguage(3);
    QString title;
    int charset = -1;
    Respond("TMessageDialog", [&](TCustomForm* f) {
        title = yorde::qt::WidgetOf(f)->windowTitle();
        charset = f->Font()->Charset();
        return mrOk;
    });
    std::vector<TUserRecord> full;
    full.push_back(MakeUser("admin", "tajne1"));
    for (int i = 1; i < MaxUsers; ++i) full.push_back(MakeUser("user" + std::to_string(i), "haslo1"));
    StoreUsers(full);
    ASSERT_TRUE(LoadUsers());
    AddUser(MakeUser("one-too-many", "haslo1"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(charset, RUSSIAN_CHARSET);
    EXPECT_EQ(title, QString::fromUtf8("Błąd"));
    EXPECT_EQ(seen[0].Caption, AnsiString("B\xB3\xB9"
                                          "d"));
}

}  // namespace
