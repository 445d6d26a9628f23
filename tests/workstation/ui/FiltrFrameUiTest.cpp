// The filter tab read from its compiled layout: its components, both bounds
// off at the start, the bound texts in the Files layout, the number filter,
// the pictures of its buttons and the texts in each language.
#include "FramesUiSupport.h"

#include "qt/QtPlatform.h"
#include "rtl/FormatSettings.h"
#include "workstation/Unitfiltr.h"

#include <QWidget>

using namespace framestest;

namespace {

constexpr int kFrameWidth = 792;
constexpr int kFrameHeight = 90;
constexpr TColor kFrameColor = TColor(0x6F8A91);

using FiltrHost = Hosted<TFiltrFrame>;

}  // namespace

class FiltrFrameUi : public FramesUiTest {};

TEST_F(FiltrFrameUi, LayoutHoldsEveryComponent) {
    ProgramLanguageScope lang(1);
    FiltrHost h(kFrameWidth, kFrameHeight);
    TFiltrFrame* f = h.Frame;
    ExpectComponents(f, {{"OdLabel", "TLabel"},
                         {"DoLabel", "TLabel"},
                         {"AbALabel", "TLabel"},
                         {"AbBLabel", "TLabel"},
                         {"OdDatePicker", "TDateTimePicker"},
                         {"OdTimePicker", "TDateTimePicker"},
                         {"filtrAbAEdit", "TEdit"},
                         {"DoTimePicker", "TDateTimePicker"},
                         {"DoDatePicker", "TDateTimePicker"},
                         {"filtrAbBEdit", "TEdit"},
                         {"filtrujCheckBox", "TCheckBox"},
                         {"OdCheckBox", "TCheckBox"},
                         {"DoCheckBox", "TCheckBox"},
                         {"fultrujBitBtn", "TBitBtn"},
                         {"wszystkoBitBtn", "TBitBtn"},
                         {"FiltrujImage", "TImage"},
                         {"WszystkoImage", "TImage"},
                         {"ImageListBtn", "TImageList"},
                         {"QuickComboBox", "TComboBox"},
                         {"QuickLabel", "TLabel"},
                         {"ABookCheckBox", "TCheckBox"},
                         {"LegPanel1", "TPanel"},
                         {"LegPanel2", "TPanel"},
                         {"lxLangLinked1", "TlxLangLinked"},
                         {"PhonebookLabel", "TLabel"}});

    EXPECT_EQ(f->OdDatePicker->Kind(), dtkDate);
    EXPECT_EQ(f->DoDatePicker->Kind(), dtkDate);
    EXPECT_EQ(f->OdTimePicker->Kind(), dtkTime);
    EXPECT_EQ(f->DoTimePicker->Kind(), dtkTime);
    EXPECT_EQ(f->filtrAbAEdit->MaxLength(), 10);
    EXPECT_EQ(f->filtrAbBEdit->MaxLength(), 10);
    EXPECT_FALSE(f->filtrujCheckBox->Visible());
    EXPECT_FALSE(f->fultrujBitBtn->Visible());
    EXPECT_FALSE(f->wszystkoBitBtn->Visible());
    EXPECT_EQ(f->fultrujBitBtn->Caption(), "Filtruj");
    EXPECT_EQ(f->FiltrujImage->OnClick.MethodName(), "fultrujBitBtnClick");
    EXPECT_EQ(f->WszystkoImage->OnClick.MethodName(), "wszystkoBitBtnClick");
    for (TImage* i : {f->FiltrujImage, f->WszystkoImage}) {
        EXPECT_EQ(i->Width(), 88);
        EXPECT_EQ(i->Height(), 28);
        EXPECT_TRUE(i->ShowHint());
    }
    EXPECT_EQ(f->ImageListBtn->Count(), 12);
    EXPECT_EQ(f->QuickComboBox->Style(), csDropDownList);
    EXPECT_EQ(f->QuickComboBox->Items()->Count(), 8);
    EXPECT_EQ(f->QuickComboBox->ItemIndex(), -1);
    EXPECT_EQ(f->LegPanel1->Color(), TColor(0xCAD8CF));
    EXPECT_EQ(f->LegPanel2->Color(), TColor(0xB0DBEB));
    EXPECT_EQ(f->Color(), kFrameColor);
}

TEST_F(FiltrFrameUi, BoundsStartOffAndTheirSwitchesEnableThePickers) {
    ProgramLanguageScope lang(1);
    FiltrHost h(kFrameWidth, kFrameHeight);
    TFiltrFrame* f = h.Frame;
    EXPECT_EQ(f->OdCheckBox->Color(), kFrameColor);
    EXPECT_EQ(f->DoCheckBox->Color(), kFrameColor);
    EXPECT_FALSE(f->OdCheckBox->Checked());
    EXPECT_FALSE(f->DoCheckBox->Checked());
    for (TDateTimePicker* p : {f->OdDatePicker, f->OdTimePicker, f->DoDatePicker, f->DoTimePicker})
        EXPECT_FALSE(p->Enabled()) << p->Name();

    h.Form->Show();
    EXPECT_FALSE(yorde::qt::WidgetOf(f->OdDatePicker)->isEnabled());
    yorde::test::Click(f->OdCheckBox);
    EXPECT_TRUE(f->OdCheckBox->Checked());
    EXPECT_TRUE(f->OdDatePicker->Enabled());
    EXPECT_TRUE(f->OdTimePicker->Enabled());
    EXPECT_FALSE(f->DoDatePicker->Enabled());
    f->DoCheckBox->SetChecked(true);
    EXPECT_TRUE(f->DoTimePicker->Enabled());
    yorde::test::Click(f->OdCheckBox);
    EXPECT_FALSE(f->OdDatePicker->Enabled());
}

TEST_F(FiltrFrameUi, BoundsReadAsTheFilesDataColumnWhateverTheSeparators) {
    ProgramLanguageScope lang(1);
    FiltrHost h(kFrameWidth, kFrameHeight);
    TFiltrFrame* f = h.Frame;
    f->OdDatePicker->SetDate(EncodeDate(2026, 12, 6));
    f->OdTimePicker->SetTime(EncodeTime(13, 27, 20, 0));
    f->DoDatePicker->SetDate(EncodeDate(2027, 1, 2));
    f->DoTimePicker->SetTime(EncodeTime(23, 59, 59, 99));
    EXPECT_EQ(f->GetDateFrom(), "2026-12-06      13:27:20");
    EXPECT_EQ(f->GetDateTo(), "2027-01-02      23:59:59");

    const TFormatSettings saved = FormatSettings();
    FormatSettings().DateSeparator = '.';
    FormatSettings().TimeSeparator = '.';
    EXPECT_EQ(f->GetDateFrom(), "2026-12-06      13:27:20");
    FormatSettings() = saved;

    // Each picker gives only its own part.
    f->OdDatePicker->SetTime(EncodeTime(1, 2, 3, 0));
    f->OdTimePicker->SetDate(EncodeDate(2000, 1, 1));
    EXPECT_EQ(f->GetDateFrom(), "2026-12-06      13:27:20");
}

TEST_F(FiltrFrameUi, NumberEditsKeepOnlyWhatANumberMayHold) {
    ProgramLanguageScope lang(1);
    FiltrHost h(kFrameWidth, kFrameHeight);
    TFiltrFrame* f = h.Frame;
    h.Form->Show();
    yorde::test::TypeText(f->filtrAbAEdit, "1a2'3-*#");
    EXPECT_EQ(f->filtrAbAEdit->Text(), "123*#");
    f->filtrAbBEdit->SetText("55\"x6");
    EXPECT_EQ(f->filtrAbBEdit->Text(), "556");
}

TEST_F(FiltrFrameUi, ButtonsShowTheActiveLanguagesPictures) {
    struct TPictures {
        const char *Filter, *ShowAll, *ShowAllPressed;
    };
    const TPictures pictures[] = {
        {"TFiltrFrame.ImageListBtn/0.png", "TFiltrFrame.ImageListBtn/2.png", "TFiltrFrame.ImageListBtn/3.png"},
        {"TFiltrFrame.ImageListBtn/4.png", "TFiltrFrame.ImageListBtn/6.png", "TFiltrFrame.ImageListBtn/7.png"},
        {"TFiltrFrame.ImageListBtn/8.png", "TFiltrFrame.ImageListBtn/10.png", "TFiltrFrame.ImageListBtn/11.png"}};
    InEachLanguage<TFiltrFrame>(kFrameWidth, kFrameHeight, [&](int language, FiltrHost& h) {
        TFiltrFrame* f = h.Frame;
        const TPictures& p = pictures[language - 1];
        EXPECT_TRUE(ShowsBitmap(f->FiltrujImage, p.Filter));
        EXPECT_TRUE(ShowsBitmap(f->WszystkoImage, p.ShowAll));
        h.Form->Show();
        yorde::test::MouseDown(f->WszystkoImage);
        EXPECT_TRUE(ShowsBitmap(f->WszystkoImage, p.ShowAllPressed));
        yorde::test::MouseUp(f->WszystkoImage);
        EXPECT_TRUE(ShowsBitmap(f->WszystkoImage, p.ShowAll));
    });
}

TEST_F(FiltrFrameUi, TextsInEachLanguageAndPictures) {
    const char* const caller[] = {"Wywołujący", "Caller", "Вызывающий"};
    const char* const phonebook[] = {"Pokazuj książkę adresową", "Show phonebook", "Показывать адресную книгу"};
    const char* const lastWeek[] = {"Poprzedni tydzień", "Last week", "Прошлая неделя"};
    const char* const showAllHint[] = {"Wyłącz filtrację i pokaż wszystkie pliki",
                                       "Turn filtering off and show all files",
                                       "Отключить фильтр и показать все файлы"};
    InEachLanguage<TFiltrFrame>(kFrameWidth, kFrameHeight, [&](int language, FiltrHost& h) {
        TFiltrFrame* f = h.Frame;
        EXPECT_EQ(f->AbALabel->Caption(), InLanguage(language, ForLanguage(language, caller)));
        EXPECT_EQ(f->PhonebookLabel->Caption(), InLanguage(language, ForLanguage(language, phonebook)));
        ASSERT_EQ(f->QuickComboBox->Items()->Count(), 8);
        EXPECT_EQ(f->QuickComboBox->Items()->Strings(3), InLanguage(language, ForLanguage(language, lastWeek)));
        EXPECT_EQ(f->WszystkoImage->Hint(), InLanguage(language, ForLanguage(language, showAllHint)));
        // As the settings leave them at the start.
        for (TDateTimePicker* p : {f->OdDatePicker, f->OdTimePicker, f->DoDatePicker, f->DoTimePicker})
            p->SetDateTime(EncodeDateTime(2026, 3, 2, 9, 15, 0, 0));
        h.Form->Show();
        Shoot(h.Form.get(), "filtrframe", language);
        f->OdCheckBox->SetChecked(true);
        f->DoCheckBox->SetChecked(true);
        f->ABookCheckBox->SetChecked(true);
        f->QuickComboBox->SetItemIndex(2);
        f->filtrAbAEdit->SetText("101");
        Shoot(h.Form.get(), "filtrframe_on", language);
    });
}
