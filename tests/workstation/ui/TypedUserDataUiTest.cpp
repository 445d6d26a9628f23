// What a user types into names, passwords and numbers is stored and compared
// in the program's ANSI code page in every language: typed in one language
// it matches what is typed in another, it shows the same in each, and a
// character that code page cannot hold is refused as it is typed.
#include "UsersUiSupport.h"

#include "qt/QtPlatform.h"
#include "rtl/Languages.h"
#include "store/Users.h"
#include "workstation/Unitadduserform.h"
#include "workstation/Unitpaswd.h"
#include "workstation/UserMessages.h"

#include <QComboBox>
#include <QLineEdit>

using namespace userstest;
using yorde::test::PressKey;
using yorde::test::TypeText;

namespace {

const AnsiString kLucja = Utf8ToCodePage("Łucja", 1250);
const AnsiString kHaslo = Utf8ToCodePage("hasło1", 1250);

QString Shown(TControl* Edit) { return static_cast<QLineEdit*>(yorde::qt::WidgetOf(Edit))->text(); }

class TypedUserData : public UsersUiTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        UsersUiTest::SetUp();
        UseLanguage(GetParam());
        InstallUserStoreDialogs();
    }

    // A user added through the dialog by typing, in the active language.
    TUserRecord TypeNewUser(const char* Name, const char* Password, const char* Number) {
        Owned<TadduserDialogForm> dialog(new TadduserDialogForm(nullptr));
        dialog->SetMode(TadduserDialogForm::modeAdd);
        dialog->Show();
        TypeText(dialog->adduserlineEdit, Name);
        TypeText(dialog->passwordLineEdit, Password);
        TypeText(dialog->repeatPasswordLineEdit, Password);
        dialog->uprPrzegComboBox->SetItemIndex(rkNumber);
        dialog->uprPrzegComboBoxChange(nullptr);
        TypeText(dialog->uprPrzegLineEdit, Number);
        EXPECT_EQ(Shown(dialog->adduserlineEdit), QString::fromUtf8("Łucja"));
        seen.clear();
        dialog->OKButton->Click();
        EXPECT_TRUE(seen.empty()) << (seen.empty() ? "" : seen[0].Text);
        EXPECT_EQ(dialog->ModalResult(), mrOk);
        return dialog->BuildUserRecord();
    }

    // The password dialog for Record, answered by typing.
    TModalResult TypePassword(const TUserRecord& Record, const char* Typed) {
        Respond("TuserpaswdDialog", [Typed](TCustomForm* f) {
            auto* d = static_cast<TuserpaswdDialog*>(f);
            TypeText(d->paswdLineEdit, Typed);
            PressKey(d->paswdLineEdit, VK_RETURN);
            return d->ModalResult() != mrNone ? d->ModalResult() : TModalResult(mrAbort);
        });
        Owned<TuserpaswdDialog> dialog(new TuserpaswdDialog(nullptr, Record));
        return dialog->ShowModal();
    }
};

TEST_P(TypedUserData, TheUserDialogStoresPolishLettersAsTheAnsiCodePageAndRefusesOthers) {
    // Cyrillic letters have no place in the ANSI code page: they vanish as
    // they are typed, in Russian mode too; a number keeps its digits.
    const TUserRecord record = TypeNewUser("ŁuЖcja", "hasłoЖ1", "5Я5");
    EXPECT_EQ(UserText(record.Name), kLucja);
    EXPECT_EQ(UserText(record.Password), kHaslo);
    EXPECT_EQ(UserText(record.ViewRight.Number), "55");
}

TEST_P(TypedUserData, APasswordTypedInOneLanguageMatchesInEveryLanguage) {
    const TUserRecord record = TypeNewUser("Łucja", "hasło1", "55");
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        SwitchLanguage(language);
        seen.clear();
        EXPECT_EQ(TypePassword(record, "hasło1"), mrOk);
        EXPECT_EQ(TypePassword(record, "hasŁo1"), mrCancel) << "case counts for Polish letters too";
        EXPECT_EQ(TypePassword(record, "hasЖło1"), mrOk) << "the refused letter leaves the rest";
    }
}

TEST_P(TypedUserData, AStoredPolishUserShowsTheSameInTheModifyDialog) {
    StoreUsers({MakeUser("admin", "tajne1"), MakeUser(kLucja, kHaslo, rkNumber, rkNone, rkAll, "55")});
    ASSERT_TRUE(LoadUsers());
    Owned<TadduserDialogForm> dialog(new TadduserDialogForm(nullptr));
    dialog->SetMode(TadduserDialogForm::modeModify);
    dialog->Show();
    TComboBox* users = dialog->usersComboBox;
    auto* box = static_cast<QComboBox*>(yorde::qt::WidgetOf(users));
    ASSERT_EQ(box->count(), 2);
    EXPECT_EQ(box->itemText(1), QString::fromUtf8("Łucja"));
    users->SetItemIndex(1);
    dialog->usersComboBoxChange(users);
    EXPECT_EQ(Shown(dialog->passwordLineEdit), QString::fromUtf8("hasło1"));
    // The translated kinds beside them still show in the language's own letters.
    auto* kinds = static_cast<QComboBox*>(yorde::qt::WidgetOf(dialog->uprPrzegComboBox));
    const char* const none[] = {"Brak", "None", "Нет"};
    EXPECT_EQ(kinds->itemText(rkNone), QString::fromUtf8(yorde::test::ForLanguage(GetParam(), none)));
}

INSTANTIATE_TEST_SUITE_P(Languages, TypedUserData, ::testing::Range(1, LanguageCount + 1));

}  // namespace
