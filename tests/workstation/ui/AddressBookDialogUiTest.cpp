// The address-book entry dialog as the user types into it: the number box
// keeps what can be dialled, the description comes back on one line, Enter
// in the description confirms.
#include "DialogsFixture.h"

#include "qt/QtPlatform.h"
#include "rtl/Languages.h"
#include "workstation/AddressBookDialogUnit.h"

using namespace dialogstest;

namespace {

using DialogPtr = Owned<TAddressBookDialog>;

}  // namespace

class AddressBookDialogTest : public DialogTest {
protected:
    ProgramLanguageScope lang{2};
    DialogPtr dialog{NewForm<TAddressBookDialog>(nullptr)};
};

TEST_F(AddressBookDialogTest, TheNumberBoxDropsWhatCannotBeDialledAndKeepsTheCaret) {
    TEdit* nr = dialog->NrEdit;
    TypeText(nr, "12a");
    EXPECT_EQ(nr->Text(), "12");
    EXPECT_EQ(nr->SelStart(), 2);
    TypeText(nr, "3");
    EXPECT_EQ(nr->Text(), "123");

    nr->SetText("");
    Paste(nr, "+48 (22) 123-45-67");
    EXPECT_EQ(nr->Text(), "48 22 1234567");
    EXPECT_EQ(nr->SelStart(), 0);

    nr->SetText("");
    TypeText(nr, "*7#Ł€ęX");
    EXPECT_EQ(nr->Text(), "*7#") << "upper case is lowered, then removed";

    // What the caller puts in is cleaned the same way.
    nr->SetText("AB12;3=4");
    EXPECT_EQ(nr->Text(), "1234");

    nr->SetText("");
    TypeText(nr, "12345678901234567890");
    EXPECT_EQ(nr->Text(), "123456789012345678") << "18 characters at most";
}

TEST_F(AddressBookDialogTest, DescriptionsComeBackOnOneLineOfTheSameLength) {
    EXPECT_EQ(FlattenDescription("Jan\r\nbiuro"), "Jan, biuro");
    EXPECT_EQ(FlattenDescription("a\nb\rc\n\rd"), "a b,c ,d");
    EXPECT_EQ(FlattenDescription("O'Hara; tel."), "O'Hara; tel.");

    // Two lines pasted into the memo: OK takes them, GetDescription flattens them.
    TModalResult result = RunModal(dialog.get(), [&](TCustomForm*) {
        TypeText(dialog->NrEdit, "601");
        Paste(dialog->OpisMemo, "Jan\nbiuro");
        Click(dialog->ImageOK);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog->GetNumber(), "601");
    EXPECT_EQ(dialog->GetDescription(), "Jan, biuro");
    EXPECT_EQ(dialog->GetDescription(), "Jan, biuro") << "the flattened text is kept";
}

TEST_F(AddressBookDialogTest, EnterInTheDescriptionConfirmsWithTheTextBeforeTheLineBreak) {
    TModalResult result = RunModal(dialog.get(), [&](TCustomForm*) {
        TypeText(dialog->NrEdit, "22");
        TypeText(dialog->OpisMemo, "Kasia");
        PressKey(dialog->OpisMemo, VK_RETURN);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog->GetNumber(), "22");
    EXPECT_EQ(dialog->GetDescription(), "Kasia");
}

TEST_F(AddressBookDialogTest, TheFormTakesEnterAndEscapeAndTheImagesClickTheHiddenButtons) {
    EXPECT_FALSE(dialog->KeyPreview());
    // Keys reach the form itself only while no box has the focus.
    dialog->NrEdit->SetEnabled(false);
    dialog->OpisMemo->SetEnabled(false);
    EXPECT_EQ(RunModal(dialog.get(), [](TCustomForm* f) { PressKey(f, VK_RETURN); }), mrOk);
    EXPECT_EQ(RunModal(dialog.get(), [](TCustomForm* f) { PressKey(f, VK_ESCAPE); }), mrCancel);

    // Cancel keeps the values of the last OK.
    dialog->NrEdit->SetEnabled(true);
    TModalResult result = RunModal(dialog.get(), [&](TCustomForm*) {
        TypeText(dialog->NrEdit, "9");
        EXPECT_TRUE(ShowsBitmap(dialog->ImageAnuluj, "TAddressBookDialog.ImageList1/4.png"));
        MouseDown(dialog->ImageAnuluj);
        EXPECT_TRUE(ShowsBitmap(dialog->ImageAnuluj, "TAddressBookDialog.ImageList1/5.png"));
        MouseUp(dialog->ImageAnuluj);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(dialog->GetNumber(), "");
}

TEST_F(DialogTest, TheEntryDialogSpeaksEachLanguage) {
    const char* const captions[][3] = {{"Nowy kontakt", "Numer", "Opis"},
                                       {"New contact", "Number", "Description"},
                                       {"Новый контакт", "Номер", "Описание"}};
    const char* const okPictures[] = {"TAddressBookDialog.ImageList1/2.png", "TAddressBookDialog.ImageList1/6.png",
                                      "TAddressBookDialog.ImageList1/10.png"};
    const char* const cancelPictures[] = {"TAddressBookDialog.ImageList1/0.png", "TAddressBookDialog.ImageList1/4.png",
                                          "TAddressBookDialog.ImageList1/8.png"};
    for (int language = 1; language <= LanguageCount; ++language) {
        SCOPED_TRACE(language);
        ProgramLanguageScope lang(language);
        Owned<TAddressBookDialog> d(NewForm<TAddressBookDialog>(nullptr));
        EXPECT_EQ(d->Caption(), InLanguage(language, ForLanguage(language, captions)[0]));
        EXPECT_EQ(d->Label1->Caption(), InLanguage(language, ForLanguage(language, captions)[1]));
        EXPECT_EQ(d->Label2->Caption(), InLanguage(language, ForLanguage(language, captions)[2]));
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, ForLanguage(language, okPictures)));
        EXPECT_TRUE(ShowsBitmap(d->ImageAnuluj, ForLanguage(language, cancelPictures)));
        d->NrEdit->SetText("601 234 567");
        d->OpisMemo->SetText(InLanguage(language, language == 3 ? "Иван, бухгалтерия" : "Jan Żółw, biuro"));
        const std::string path = ShotPath(std::string("entry_dialog_") + LanguageNumbered(language)->Code + ".png");
        EXPECT_TRUE(yorde::qt::SaveScreenshot(d.get(), path)) << path;
    }
}
