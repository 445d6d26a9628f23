// What the user does with the dialogs: keys, image buttons, the slot choice,
// and the routines that show a message in one call.
#include "DialogsFixture.h"

#include "rtl/CodePages.h"
#include "workstation/Unitannoun.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

using namespace dialogstest;
using namespace yorde::test;

class DialogInput : public DialogTest {};

TEST_F(DialogInput, EnterAndEscapeCloseEachDialogWithItsResult) {
    ProgramLanguageScope lang(1);
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        Owned<TMessageDialog> message(NewForm<TMessageDialog>(nullptr));
        EXPECT_EQ(RunModal(message.get(), [key](TCustomForm* f) { PressKey(f, key); }), mrOk) << key;

        Owned<TQuestionDialog> question(NewForm<TQuestionDialog>(nullptr));
        EXPECT_EQ(RunModal(question.get(), [key](TCustomForm* f) { PressKey(f, key); }),
                  key == VK_RETURN ? mrOk : mrCancel)
            << key;
    }
}

TEST_F(DialogInput, TheDeleteDialogIgnoresEnterAndEscape) {
    ProgramLanguageScope lang(1);
    Owned<TDeleteDialog> dialog(NewForm<TDeleteDialog>(nullptr, "x"));
    TModalResult afterKeys = -1;
    TModalResult result = RunModal(dialog.get(), [&](TCustomForm* f) {
        PressKey(f, VK_RETURN);
        PressKey(f, VK_ESCAPE);
        afterKeys = f->ModalResult();
        Click(dialog->ImageAnuluj);
    });
    EXPECT_EQ(afterKeys, mrNone);
    EXPECT_EQ(result, mrCancel);
}

TEST_F(DialogInput, ImageButtonsShowThePressedPictureOfTheLanguageWhileHeld) {
    ProgramLanguageScope lang(2);  // English: pictures 4 to 7
    Owned<TQuestionDialog> question(NewForm<TQuestionDialog>(nullptr));
    EXPECT_EQ(question->Caption(), "Dialogue");
    TModalResult result = RunModal(question.get(), [&](TCustomForm*) {
        TQuestionDialog* d = question.get();
        EXPECT_TRUE(ShowsBitmap(d->ImageAnuluj, "TQuestionDialog.ImageList1/4.png"));
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, "TQuestionDialog.ImageList1/6.png"));
        MouseDown(d->ImageAnuluj);
        EXPECT_TRUE(ShowsBitmap(d->ImageAnuluj, "TQuestionDialog.ImageList1/5.png"));
        MouseUp(d->ImageAnuluj, mbLeft, 2, 2);  // released over the image: the click
        EXPECT_TRUE(ShowsBitmap(d->ImageAnuluj, "TQuestionDialog.ImageList1/4.png"));
    });
    EXPECT_EQ(result, mrCancel);

    Owned<TMessageDialog> message(NewForm<TMessageDialog>(nullptr));
    result = RunModal(message.get(), [&](TCustomForm*) {
        TMessageDialog* d = message.get();
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, "TMessageDialog.ImageList1/0.png"));
        MouseDown(d->ImageOK);
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, "TMessageDialog.ImageList1/1.png"));
        MouseUp(d->ImageOK);
        EXPECT_TRUE(ShowsBitmap(d->ImageOK, "TMessageDialog.ImageList1/0.png"));
    });
    EXPECT_EQ(result, mrOk);
}

TEST_F(DialogInput, TheSlotDialogGivesTheChosenSlotOrMinusOne) {
    ProgramLanguageScope lang(3);  // Russian: pictures 8 to 11
    {
        // OK before any choice: the disabled hidden button still closes with 1.
        Owned<TAnnounDialog> dialog(NewForm<TAnnounDialog>(nullptr));
        EXPECT_EQ(dialog->Caption(), InLanguage(3, "Объявление"));
        EXPECT_EQ(dialog->Label1->Caption(), InLanguage(3, "Выберите номер объявления"));
        EXPECT_EQ(dialog->Label1->Font()->Charset(), RUSSIAN_CHARSET);
        EXPECT_FALSE(dialog->OKBtn->Enabled());
        EXPECT_EQ(dialog->GetAnnouncementNumber(), -1);
        EXPECT_TRUE(ShowsBitmap(dialog->ImageOK, "TAnnounDialog.ImageList1/10.png"));
        EXPECT_TRUE(ShowsBitmap(dialog->ImageAnuluj, "TAnnounDialog.ImageList1/8.png"));
        EXPECT_EQ(RunModal(dialog.get(), [&](TCustomForm*) { Click(dialog->ImageOK); }), mrOk);
        EXPECT_EQ(dialog->GetAnnouncementNumber(), -1);
    }
    {
        Owned<TAnnounDialog> dialog(NewForm<TAnnounDialog>(nullptr));
        bool enabledByChoice = false;
        TModalResult result = RunModal(dialog.get(), [&](TCustomForm*) {
            for (int i = 0; i < 8; ++i) PressKey(dialog->zapComboBox, VK_DOWN);  // down to the last slot
            enabledByChoice = dialog->OKBtn->Enabled();
            Click(dialog->ImageOK);
        });
        EXPECT_TRUE(enabledByChoice);
        EXPECT_EQ(result, mrOk);
        EXPECT_EQ(dialog->GetAnnouncementNumber(), 8);
    }
    {
        Owned<TAnnounDialog> dialog(NewForm<TAnnounDialog>(nullptr));
        TModalResult result = RunModal(dialog.get(), [&](TCustomForm*) {
            PressKey(dialog->zapComboBox, VK_DOWN);
            Click(dialog->ImageAnuluj);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(dialog->GetAnnouncementNumber(), -1);
    }
}

TEST_F(DialogInput, TheDeleteDialogTakesTheDispatchersLanguageAndKeepsTheCallersText) {
    ProgramLanguageScope lang(3);
    const AnsiString text = Utf8ToCodePage("Удалить запись?", 1251);
    Owned<TDeleteDialog> dialog(NewForm<TDeleteDialog>(nullptr, text));
    EXPECT_EQ(dialog->lxLang1->LangDispatcher(), nullptr);
    EXPECT_EQ(dialog->lxLang1->ActiveLanguage(), 3);
    EXPECT_EQ(dialog->Caption(), Utf8ToCodePage("Удаление", 1251));
    EXPECT_EQ(dialog->InfoLabel->Caption(), text);
    EXPECT_EQ(dialog->InfoLabel->Font()->Charset(), RUSSIAN_CHARSET);
    EXPECT_TRUE(ShowsBitmap(dialog->ImageOK, "TDeleteDialog.ImageList1/10.png"));
    EXPECT_TRUE(ShowsBitmap(dialog->ImageAnuluj, "TDeleteDialog.ImageList1/8.png"));
    EXPECT_EQ(RunModal(dialog.get(), [&](TCustomForm*) { Click(dialog->ImageOK); }), mrOk);
}

TEST_F(DialogInput, ShowMessageDialogPicksTheCatalogue) {
    ProgramLanguageScope lang(2);
    std::vector<AnsiString> shown;
    SetModalHook([&](TCustomForm* f) -> TModalResult {
        EXPECT_EQ(f->Caption(), "");
        shown.push_back(dynamic_cast<TMessageDialog&>(*f).MessageLabel->Caption());
        return mrOk;
    });
    ShowMessageDialog(nullptr, mcMedia, 0);
    ShowMessageDialog(nullptr, mcAnnouncements, 1);
    ShowMessageDialog(nullptr, mcUsers, 1);
    ShowMessageDialog(nullptr, 3, 0);
    SetModalHook(nullptr);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], "Cannot open file.");
    EXPECT_EQ(shown[1], "\nAnnouncement file size is too big.");
    EXPECT_EQ(shown[2], "Too many users.");
    EXPECT_EQ(shown[3], "");
}

TEST_F(DialogInput, ShowCaptionMessageShowsTheCallersTextsInTheCallersCharset) {
    ProgramLanguageScope lang(1);
    Owned<TForm> owner(new TForm(nullptr));
    // The caller shows a Russian text while the dialogs are still Polish (a
    // language preview): the label must decode it as Russian.
    owner->Font()->SetCharset(RUSSIAN_CHARSET);
    const AnsiString text = Utf8ToCodePage("Перезапустите программу", 1251);
    TMessageDialog* seen = nullptr;
    AnsiString caption, label;
    int charset = -1;
    SetModalHook([&](TCustomForm* f) -> TModalResult {
        seen = dynamic_cast<TMessageDialog*>(f);
        TThread::Queue(nullptr, [&, f] {
            caption = f->Caption();
            label = seen->MessageLabel->Caption();
            charset = seen->MessageLabel->Font()->Charset();
            PressKey(f, VK_ESCAPE);
        });
        return mrNone;
    });
    EXPECT_EQ(ShowCaptionMessage(owner.get(), "Info", text), mrOk);
    SetModalHook(nullptr);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(caption, "Info");
    EXPECT_EQ(label, text);
    EXPECT_EQ(charset, RUSSIAN_CHARSET);
    EXPECT_EQ(owner->ComponentCount(), 0);  // the dialog is freed
}
