// The login password dialog: its result, the wrong-password message, keys
// and the Caps Lock warning.
#include "UsersUiSupport.h"

#include "rtl/Languages.h"
#include "workstation/Unitpaswd.h"

using namespace userstest;
using yorde::test::PressKey;
using yorde::test::TypeText;

namespace {

class PasswordDialogTest : public UsersUiTest {
protected:
    void SetUp() override {
        UsersUiTest::SetUp();
        UseLanguage(2);
    }

    // Runs the dialog for the record; Answer types and presses keys inside it.
    TModalResult Run(const TUserRecord& record, std::function<void(TuserpaswdDialog*)> answer) {
        Respond("TuserpaswdDialog", [answer](TCustomForm* f) {
            auto* d = static_cast<TuserpaswdDialog*>(f);
            answer(d);
            // Still open means no answer: the test would otherwise wait forever.
            return d->ModalResult() != mrNone ? d->ModalResult() : TModalResult(mrAbort);
        });
        Owned<TuserpaswdDialog> dialog(new TuserpaswdDialog(nullptr, record));
        return dialog->ShowModal();
    }
};

TEST_F(PasswordDialogTest, RightPasswordGivesOneAndAWrongOneTwoAfterTheMessage) {
    const TUserRecord anna = MakeUser("anna", "Haslo1");
    EXPECT_EQ(Run(anna,
                  [](TuserpaswdDialog* d) {
                      TypeText(d->paswdLineEdit, "Haslo1");
                      PressKey(d->paswdLineEdit, VK_RETURN);
                  }),
              mrOk);
    EXPECT_EQ(SeenClasses(), std::vector<std::string>{"TuserpaswdDialog"});

    seen.clear();
    EXPECT_EQ(Run(anna,
                  [](TuserpaswdDialog* d) {
                      TypeText(d->paswdLineEdit, "haslo1");
                      d->ImageOK->OnClick(d->ImageOK);
                  }),
              mrCancel)
        << "case counts, and the OK button's own result must not win";
    ASSERT_EQ(SeenClasses(), (std::vector<std::string>{"TuserpaswdDialog", "TMessageDialog"}));
    EXPECT_EQ(seen[1].Text, "Wrong password");
    EXPECT_EQ(seen[1].Caption, "Error");
}

TEST_F(PasswordDialogTest, EscapeCancelsWithoutAMessage) {
    EXPECT_EQ(Run(MakeUser("anna", "Haslo1"), [](TuserpaswdDialog* d) { PressKey(d->paswdLineEdit, VK_ESCAPE); }),
              mrCancel);
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(PasswordDialogTest, NamelessRecordNeverLetsAnybodyIn) {
    EXPECT_EQ(Run(TUserRecord{}, [](TuserpaswdDialog* d) { PressKey(d->paswdLineEdit, VK_RETURN); }), mrCancel);
}

TEST_F(PasswordDialogTest, CapsLockWarningFollowsTheKey) {
    SwitchLanguage(3);
    capsLock = true;
    Owned<TuserpaswdDialog> dialog(new TuserpaswdDialog(nullptr, MakeUser("anna", "Haslo1")));
    EXPECT_TRUE(dialog->CapsLockLabel->Visible());
    capsLock = false;
    dialog->Timer1->OnTimer(dialog->Timer1);
    EXPECT_FALSE(dialog->CapsLockLabel->Visible());
    EXPECT_EQ(dialog->Timer1->Interval(), 500u);
}

TEST_F(PasswordDialogTest, ImageButtonsShowThePressedPictureWhileHeldDown) {
    Owned<TuserpaswdDialog> dialog(new TuserpaswdDialog(nullptr, MakeUser("anna", "Haslo1")));
    dialog->Show();
    // The English pictures: released, then pressed.
    struct Case {
        TImage* Image;
        const char* Released;
        const char* Pressed;
    };
    for (const Case& c :
         {Case{dialog->ImageOK, "TuserpaswdDialog.ImageList1/6.png", "TuserpaswdDialog.ImageList1/7.png"},
          Case{dialog->ImageAnuluj, "TuserpaswdDialog.ImageList1/4.png", "TuserpaswdDialog.ImageList1/5.png"}}) {
        EXPECT_TRUE(yorde::test::ShowsBitmap(c.Image, c.Released));
        yorde::test::MouseDown(c.Image);
        EXPECT_TRUE(yorde::test::ShowsBitmap(c.Image, c.Pressed));
        yorde::test::MouseUp(c.Image);
        EXPECT_TRUE(yorde::test::ShowsBitmap(c.Image, c.Released));
    }
}

TEST_F(PasswordDialogTest, EveryTextFitsInEveryLanguage) {
    capsLock = true;
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        SwitchLanguage(language);
        Owned<TuserpaswdDialog> dialog(new TuserpaswdDialog(nullptr, MakeUser("anna", "Haslo1")));
        dialog->Show();
        TypeText(dialog->paswdLineEdit, "abc");
        yorde::test::ExpectTextsFitAndShown(dialog.get(),
                                            ShotPath(program, "PasswordDialog-" + std::to_string(language) + ".png"));
    }
}

}  // namespace
