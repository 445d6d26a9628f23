// The translation component's own message and input dialogs on the Qt
// platform: their layout from the average character size, their buttons
// and captions in the active language, and pictures in three languages.
#include "ShotPath.h"
#include "VclInput.h"

#include "localization/LxMessageDialog.h"
#include "localization/Lxcomp.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtPlatform.h"
#include "rtl/CodePages.h"
#include "rtl/Languages.h"
#include "rtl/ResStrings.h"
#include "vcl/CommonRegister.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <memory>

namespace {

struct Texts {
    const char* Key;
    const char* Pl;
    const char* En;
    const char* Ru;
};
const Texts dialogTexts[] = {
    {"Warning", "Ostrzeżenie", "Warning", "Предупреждение"},
    {"Error", "Błąd", "Error", "Ошибка"},
    {"Information", "Informacja", "Information", "Информация"},
    {"Confirm", "Potwierdzenie", "Confirm", "Подтверждение"},
    {"Yes", "&Tak", "&Yes", "&Да"},
    {"No", "&Nie", "", "&Нет"},  // no English text: language 1 stands in
    {"OK", "OK", "OK", "OK"},
    {"Cancel", "Anuluj", "Cancel", "Отмена"},
    {"Abort", "&Przerwij", "&Abort", "&Прервать"},
    {"Retry", "&Ponów", "&Retry", "&Повторить"},
    {"Ignore", "&Ignoruj", "&Ignore", "&Пропустить"},
    {"All", "&Wszystkie", "&All", "&Все"},
    {"No To All", "N&ie dla wszystkich", "N&o to All", "Н&ет для всех"},
    {"Yes To All", "T&ak dla wszystkich", "Yes to &All", "Д&а для всех"},
    {"Help", "Pomo&c", "&Help", "&Справка"},
};
const Texts message = {"", "Czy zapisać zmiany w książce adresowej?", "Save the changes to the address book?",
                       "Сохранить изменения в адресной книге?"};

AnsiString inLanguage(int Language, const char* Utf8) { return Utf8ToCodePage(Utf8, Language == 3 ? 1251 : 1250); }
const char* pick(const Texts& T, int Language) { return Language == 1 ? T.Pl : Language == 2 ? T.En : T.Ru; }

// A form whose translation component carries the dialog texts in three
// languages; its font takes the Russian character set in language 3.
struct OwnerForm {
    std::unique_ptr<TForm, void (*)(TObject*)> Form{new TForm(nullptr), &TObject::Free};
    TlxLang* Lang = new TlxLang(Form.get());
    // Complete: English has its "No" too.
    explicit OwnerForm(bool Complete = false) {
        Form->SetName("OwnerForm");
        Lang->SetNumLang(3);
        Lang->DlgsCaptions()->Clear();
        for (const Texts& t : dialogTexts) {
            const AnsiString en = Complete && !*t.En ? AnsiString("&No") : AnsiString(t.En);
            Lang->DlgsCaptions()->Add(AnsiString(t.Key) + '\1' + inLanguage(1, t.Pl) + '\1' + en + '\1' +
                                      inLanguage(3, t.Ru) + '\1');
        }
        Lang->Fonts()->Add("TForm\1\1\1\1");
        Lang->CharSets()->Add("TForm\1DEFAULT_CHARSET\1DEFAULT_CHARSET\1RUSSIAN_CHARSET\1");
    }
    AnsiString Message(int Language) const { return inLanguage(Language, pick(message, Language)); }
};

template <class T>
T* find(TComponent* Root, const char* Name) {
    return dynamic_cast<T*>(Root->FindComponent(Name));
}

class Dialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterLocalizationClasses();
        RegisterCommonControlClasses();
        yorde::qt::RegisterCommonPeers();
    }
    void TearDown() override { SetModalHook(nullptr); }
};

TEST(DialogSizes, ScalingRoundsHalvesAwayFromZero) {
    EXPECT_EQ(lxMulDiv(3, 1, 2), 2);
    EXPECT_EQ(lxMulDiv(-3, 1, 2), -2);
    EXPECT_EQ(lxMulDiv(10, 7, 4), 18);  // 17.5
    EXPECT_EQ(lxMulDiv(8, 13, 8), 13);
    EXPECT_EQ(lxMulDiv(7, 5, 0), -1);
}

TEST_F(Dialogs, ButtonsAreLaidOutFromTheAverageCharacterSize) {
    OwnerForm owner;
    std::unique_ptr<TMessageForm, void (*)(TObject*)> dialog(
        owner.Lang->CreateMessageDialog(owner.Message(1), mtConfirmation, {mbYes, mbNo, mbCancel, mbHelp}),
        &TObject::Free);
    const TSize ave = TlxCustomLang::LxGetAveCharSize(dialog->Canvas());
    ASSERT_GT(ave.cx, 0);
    EXPECT_EQ(ave.cx, dialog->Canvas()->TextWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52);
    std::vector<TButton*> row;
    for (const char* name : {"Yes", "No", "Cancel", "Help"}) {
        auto* b = find<TButton>(dialog.get(), name);
        ASSERT_NE(b, nullptr) << name;
        row.push_back(b);
    }
    EXPECT_EQ(find<TButton>(dialog.get(), "OK"), nullptr);
    const int width = row[0]->Width();
    EXPECT_GE(width, lxMulDiv(50, ave.cx, 4));
    for (size_t i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i]->Width(), width);
        EXPECT_EQ(row[i]->Height(), lxMulDiv(14, ave.cy, 8));
        // Every caption fits on one line with room to spare.
        EXPECT_LE(dialog->Canvas()->TextWidth(row[i]->Caption()) + 8, width) << row[i]->Caption();
        if (i > 0) {
            EXPECT_EQ(row[i]->Left(), row[i - 1]->Left() + width + lxMulDiv(4, ave.cx, 4));
        }
    }
    const int group = row.back()->Left() + width - row.front()->Left();
    EXPECT_EQ(row.front()->Left(), (dialog->ClientWidth() - group) / 2);
    EXPECT_EQ(row.front()->ModalResult(), mrYes);
    EXPECT_EQ(row[3]->ModalResult(), mrNone);
    EXPECT_TRUE(row[0]->Default());
    EXPECT_TRUE(row[2]->Cancel());
    EXPECT_FALSE(row[1]->Cancel());

    auto* image = find<TImage>(dialog.get(), "Image");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Left(), lxMulDiv(8, ave.cx, 4));
    EXPECT_EQ(image->Width(), 32);
    EXPECT_EQ(image->Picture()->Width(), 32);
    ASSERT_NE(dialog->Message, nullptr);
    EXPECT_EQ(dialog->Message->Left(), image->Left() + 32 + lxMulDiv(10, ave.cx, 4));
    EXPECT_LE(dialog->Message->Left() + dialog->Message->Width(), dialog->ClientWidth());
    EXPECT_LE(dialog->Message->Top() + dialog->Message->Height(), row.front()->Top());
    EXPECT_LE(row.front()->Top() + row.front()->Height(), dialog->ClientHeight());
    EXPECT_EQ(dialog->Caption(), inLanguage(1, "Potwierdzenie"));
}

TEST_F(Dialogs, CaptionsFollowTheActiveLanguageWithLanguageOneForEmptyTexts) {
    OwnerForm owner;
    auto captions = [&](TMsgDlgButtons Buttons) {
        std::unique_ptr<TMessageForm, void (*)(TObject*)> d(owner.Lang->CreateMessageDialog("x", mtWarning, Buttons),
                                                            &TObject::Free);
        std::vector<AnsiString> out{d->Caption()};
        for (int b = mbYes; b <= mbHelp; ++b) {
            if (Buttons.Contains(TMsgDlgBtn(b)))
                out.push_back(find<TButton>(d.get(), lxButtonName(TMsgDlgBtn(b)))->Caption());
        }
        return out;
    };
    EXPECT_EQ(captions({mbYes, mbNo}), (std::vector<AnsiString>{inLanguage(1, "Ostrzeżenie"), "&Tak", "&Nie"}));
    owner.Lang->SetActLang(2);
    EXPECT_EQ(captions({mbYes, mbNo, mbNoToAll, mbYesToAll}),
              (std::vector<AnsiString>{"Warning", "&Yes", "&Nie", "N&o to All", "Yes to &All"}));
    owner.Lang->SetActLang(3);
    EXPECT_EQ(captions({mbOK}), (std::vector<AnsiString>{inLanguage(3, "Предупреждение"), "OK"}));
    std::unique_ptr<TMessageForm, void (*)(TObject*)> d(owner.Lang->CreateMessageDialog("x", mtError, {mbYes, mbNo}),
                                                        &TObject::Free);
    EXPECT_TRUE(find<TButton>(d.get(), "No")->Cancel());  // no Cancel button: No cancels
    EXPECT_EQ(d->Font()->Charset(), 204);                 // the owner form's font
}

TEST_F(Dialogs, ModalResultsAndShowMessage) {
    OwnerForm owner;
    Application->SetTitle("Yorde");
    std::vector<AnsiString> seen;
    SetModalHook([&](TCustomForm* Form) -> TModalResult {
        seen.push_back(Form->Caption());
        for (int i = 0; i < Form->ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(Form->Components(i))) seen.push_back(b->Name());
        auto* no = find<TButton>(Form, "No");
        return no ? no->ModalResult() : mrOk;
    });
    EXPECT_EQ(owner.Lang->MessageDlg("q", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
    EXPECT_EQ(seen, (std::vector<AnsiString>{inLanguage(1, "Potwierdzenie"), "Yes", "No"}));
    seen.clear();
    owner.Lang->ShowMessageFmt("%d plików", {3});
    EXPECT_EQ(seen, (std::vector<AnsiString>{"Yorde", "OK"}));
    SetModalHook([&](TCustomForm* Form) -> TModalResult {
        EXPECT_EQ(find<TImage>(Form, "Image"), nullptr);
        EXPECT_EQ(Form->Left(), 12);
        EXPECT_EQ(Form->Top(), 34);
        return mrOk;
    });
    owner.Lang->ShowMessagePos("x", 12, 34);
}

// The keys a user presses on a dialog that has just opened, sent to whatever
// holds the focus: Enter and Space press the button drawn as the default,
// Escape the cancel button.
TEST_F(Dialogs, KeysPressTheDefaultAndTheCancelButtons) {
    OwnerForm owner;
    struct Case {
        TMsgDlgButtons Buttons;
        WORD Key;
        TModalResult Expected;
    };
    const Case cases[] = {
        {{mbAbort, mbRetry, mbIgnore}, VK_RETURN, mrRetry},  // no OK, no Yes: Retry
        {{mbAbort, mbRetry, mbIgnore}, VK_SPACE, mrRetry},
        {{mbCancel, mbRetry}, VK_RETURN, mrRetry},
        {{mbCancel, mbRetry}, VK_ESCAPE, mrCancel},
        {{mbYes, mbNo, mbCancel}, VK_RETURN, mrYes},
        {{mbYes, mbNo, mbCancel}, VK_SPACE, mrYes},
        {{mbYes, mbNo, mbCancel}, VK_ESCAPE, mrCancel},
        {{mbYes, mbNo}, VK_ESCAPE, mrNo},        // no Cancel: No
        {{mbYes, mbNo, mbOK}, VK_RETURN, mrOk},  // OK before Yes
        {{mbYes, mbNo, mbOK}, VK_SPACE, mrOk},
        {{mbOK, mbRetry}, VK_ESCAPE, mrOk},  // neither Cancel nor No: OK
        {{mbOK, mbCancel, mbHelp}, VK_SPACE, mrOk},
    };
    for (const Case& c : cases) {
        SetModalHook([&](TCustomForm* Form) -> TModalResult {
            QApplication::setActiveWindow(yorde::qt::WidgetOf(Form));
            yorde::test::ProcessEvents();
            TButton* focused = nullptr;
            for (int i = 0; i < Form->ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(Form->Components(i)); b && b->Focused()) focused = b;
            if (!focused) {
                ADD_FAILURE() << "no button has the focus";
                return mrNoToAll;
            }
            yorde::test::PressKey(focused, c.Key);
            // Nothing pressed: an answer no case expects.
            return Form->ModalResult() == mrNone ? mrNoToAll : Form->ModalResult();
        });
        EXPECT_EQ(owner.Lang->MessageDlg("x", mtWarning, c.Buttons, 0), c.Expected)
            << "key " << c.Key << ", buttons " << c.Buttons.Bits();
    }
}

TEST_F(Dialogs, InputQueryReturnsTheEditedTextOnlyWhenConfirmed) {
    OwnerForm owner;
    AnsiString typed = "nowy opis";
    TModalResult answer = mrOk;
    SetModalHook([&](TCustomForm* Form) -> TModalResult {
        auto* edit = find<TEdit>(Form, "Edit");
        EXPECT_EQ(edit->Text(), "stary");
        EXPECT_EQ(edit->MaxLength(), 255);
        EXPECT_EQ(find<TButton>(Form, "OK")->Caption(), "OK");
        EXPECT_EQ(find<TButton>(Form, "Cancel")->Caption(), LoadResString(&rsDlgCancel));
        EXPECT_TRUE(find<TButton>(Form, "Cancel")->Cancel());
        EXPECT_EQ(Form->Caption(), "Opis");
        edit->SetText(typed);
        return answer;
    });
    AnsiString value = "stary";
    EXPECT_TRUE(owner.Lang->InputQuery("Opis", "Nowy opis:", value));
    EXPECT_EQ(value, "nowy opis");
    value = "stary";
    answer = mrCancel;
    EXPECT_FALSE(owner.Lang->InputQuery("Opis", "Nowy opis:", value));
    EXPECT_EQ(value, "stary");
    EXPECT_EQ(owner.Lang->InputBox("Opis", "Nowy opis:", "stary"), "stary");
    answer = mrOk;
    EXPECT_EQ(owner.Lang->InputBox("Opis", "Nowy opis:", "stary"), "nowy opis");
}

TEST_F(Dialogs, TheHelpButtonReportsAMissingHelpFile) {
    OwnerForm owner;
    std::vector<AnsiString> shown;
    SetMessageBoxHook([&](const AnsiString& Text, const AnsiString&, int) {
        shown.push_back(Text);
        return IDOK;
    });
    SetModalHook([&](TCustomForm* Form) -> TModalResult {
        EXPECT_EQ(Form->HelpContext(), 42);
        auto* help = find<TButton>(Form, "Help");
        help->Click();
        return help->ModalResult() == mrNone && Form->ModalResult() == mrNone ? mrCancel : mrAbort;
    });
    EXPECT_EQ(owner.Lang->MessageDlgPosHelp("x", mtInformation, {mbOK, mbHelp}, 42, -1, -1, "/nowhere/help.hlp"),
              mrCancel);  // the help button closes nothing
    EXPECT_EQ(shown, (std::vector<AnsiString>{"Cannot find help file \"/nowhere/help.hlp\"."}));
    SetMessageBoxHook(nullptr);
}

// Each kind's picture: its shape in its colours on the button face.
TEST_F(Dialogs, IconsShowTheirSignsInTheirColours) {
    const auto rgb = [](TMsgDlgType Type, int X, int Y) {
        TBitmap bitmap;
        lxDrawDialogIcon(Type, &bitmap);
        return bitmap.PixelData()[Y * bitmap.Width() + X] & 0xFFFFFFu;
    };
    constexpr uint32_t white = 0xFFFFFF, black = 0, red = 0xD02020, blue = 0x1060C0, yellow = 0xFFC800;
    EXPECT_EQ(rgb(mtError, 16, 16), white);  // the cross, in broad strokes
    EXPECT_EQ(rgb(mtError, 14, 12), white);
    EXPECT_EQ(rgb(mtError, 16, 4), red);
    EXPECT_EQ(rgb(mtWarning, 16, 15), black);  // the "!"
    EXPECT_EQ(rgb(mtWarning, 10, 28), yellow);
    EXPECT_EQ(rgb(mtInformation, 16, 20), white);  // the "i"
    EXPECT_EQ(rgb(mtInformation, 6, 16), blue);
    EXPECT_EQ(rgb(mtConfirmation, 16, 25), white);  // the "?"
    EXPECT_EQ(rgb(mtConfirmation, 6, 16), blue);
}

// Pictures to look at: the dialog in each language, with every kind of icon.
TEST_F(Dialogs, PicturesInEachLanguage) {
    for (int language = 1; language <= LanguageCount; ++language) {
        OwnerForm owner(true);
        owner.Lang->SetActLang(language);
        int shots = 0;
        SetModalHook([&](TCustomForm* Form) -> TModalResult {
            const std::string path =
                yorde::test::ShotPath(std::string("lxMessageDialog_") + LanguageNumbered(language)->Code + "_" +
                                      std::to_string(shots++) + ".png");
            EXPECT_TRUE(yorde::qt::SaveScreenshot(Form, path)) << path;
            QImage image(QString::fromStdString(path));
            EXPECT_FALSE(image.isNull());
            EXPECT_GT(image.width(), 100);
            return mrCancel;
        });
        owner.Lang->MessageDlg(owner.Message(language), mtConfirmation, {mbYes, mbNo, mbCancel, mbHelp}, 0);
        owner.Lang->MessageDlg(owner.Message(language), mtWarning, {mbAbort, mbRetry, mbIgnore}, 0);
        owner.Lang->MessageDlg(owner.Message(language), mtError, {mbOK, mbYesToAll, mbNoToAll, mbAll}, 0);
        owner.Lang->MessageDlg(owner.Message(language), mtInformation, {mbOK}, 0);
        EXPECT_EQ(shots, 4);
    }
}

}  // namespace
