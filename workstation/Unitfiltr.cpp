#include "workstation/Unitfiltr.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/CodePages.h"
#include "rtl/DateTime.h"
#include "rtl/DateTimeText.h"
#include "rtl/FormatSettings.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/TextFilters.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"

YORDE_IMPLEMENT_CLASS(TFiltrFrame, [](TClassBuilder<TFiltrFrame>& c) {
    using T = TFiltrFrame;
    c.Field("OdLabel", &T::OdLabel);
    c.Field("DoLabel", &T::DoLabel);
    c.Field("AbALabel", &T::AbALabel);
    c.Field("AbBLabel", &T::AbBLabel);
    c.Field("OdDatePicker", &T::OdDatePicker);
    c.Field("OdTimePicker", &T::OdTimePicker);
    c.Field("filtrAbAEdit", &T::filtrAbAEdit);
    c.Field("DoTimePicker", &T::DoTimePicker);
    c.Field("DoDatePicker", &T::DoDatePicker);
    c.Field("filtrAbBEdit", &T::filtrAbBEdit);
    c.Field("filtrujCheckBox", &T::filtrujCheckBox);
    c.Field("OdCheckBox", &T::OdCheckBox);
    c.Field("DoCheckBox", &T::DoCheckBox);
    c.Field("fultrujBitBtn", &T::fultrujBitBtn);
    c.Field("wszystkoBitBtn", &T::wszystkoBitBtn);
    c.Field("FiltrujImage", &T::FiltrujImage);
    c.Field("WszystkoImage", &T::WszystkoImage);
    c.Field("ImageListBtn", &T::ImageListBtn);
    c.Field("QuickComboBox", &T::QuickComboBox);
    c.Field("QuickLabel", &T::QuickLabel);
    c.Field("ABookCheckBox", &T::ABookCheckBox);
    c.Field("LegPanel1", &T::LegPanel1);
    c.Field("LegPanel2", &T::LegPanel2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Field("PhonebookLabel", &T::PhonebookLabel);

    c.Method("fultrujBitBtnClick", &T::fultrujBitBtnClick);
    c.Method("wszystkoBitBtnClick", &T::wszystkoBitBtnClick);
    c.Method("QuickComboBoxChange", &T::QuickComboBoxChange);
    c.Method("ABookCheckBoxClick", &T::ABookCheckBoxClick);
    c.Method("OdCheckBoxClick", &T::OdCheckBoxClick);
    c.Method("DoCheckBoxClick", &T::DoCheckBoxClick);
    c.Method("OdDatePickerChange", &T::OdDatePickerChange);
    c.Method("OdTimePickerChange", &T::OdTimePickerChange);
    c.Method("DoDatePickerChange", &T::DoDatePickerChange);
    c.Method("DoTimePickerChange", &T::DoTimePickerChange);
    c.Method("filtrAbAEditChange", &T::filtrAbAEditChange);
    c.Method("filtrAbBEditChange", &T::filtrAbBEditChange);
    c.Method("filtrAbAEditKeyDown", &T::filtrAbAEditKeyDown);
    c.Method("filtrAbBEditKeyDown", &T::filtrAbBEditKeyDown);
    c.Method("FiltrujImageMouseDown", &T::FiltrujImageMouseDown);
    c.Method("FiltrujImageMouseUp", &T::FiltrujImageMouseUp);
    c.Method("WszystkoImageMouseDown", &T::WszystkoImageMouseDown);
    c.Method("WszystkoImageMouseUp", &T::WszystkoImageMouseUp);
})

namespace {

constexpr TColor kTrunkLineColor = TColor(0xCAD8CF);
constexpr TColor kExtensionColor = TColor(0xB0DBEB);

// Four pictures per language: filter, pressed, show all, pressed.
constexpr int kPicturesPerLanguage = 4;
constexpr int kFilterPicture = 0;
constexpr int kShowAllPicture = 2;

constexpr int kPolishCodePage = 1250;

}  // namespace

AnsiString FilterBoundText(TDateTime Date, TDateTime Time) {
    // The Files rows always carry '-' and ':', whatever the separators in force.
    TFormatSettings settings = FormatSettings();
    settings.DateSeparator = '-';
    settings.TimeSeparator = ':';
    return FormatDateTime("yyyy-mm-dd", Date, settings) + "      " + FormatDateTime("hh:nn:ss", Time, settings);
}

TFiltrFrame::TFiltrFrame(TComponent* AOwner) : TFrame(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    OdCheckBox->SetColor(clFormBackground);
    DoCheckBox->SetColor(clFormBackground);
    // Through their click handlers: all four pickers end disabled.
    OdCheckBox->SetChecked(true);
    OdCheckBox->SetChecked(false);
    DoCheckBox->SetChecked(true);
    DoCheckBox->SetChecked(false);
    showButton(FiltrujImage, kFilterPicture);
    showButton(WszystkoImage, kShowAllPicture);
    LegPanel1->SetColor(kTrunkLineColor);
    LegPanel2->SetColor(kExtensionColor);
}

void TFiltrFrame::showButton(TImage* Image, int Offset) {
    ShowButtonImage(Image, ImageListBtn, (ProgramLanguage() - 1) * kPicturesPerLanguage + Offset);
}

AnsiString TFiltrFrame::GetDateFrom() const { return FilterBoundText(OdDatePicker->Date(), OdTimePicker->Time()); }

AnsiString TFiltrFrame::GetDateTo() const { return FilterBoundText(DoDatePicker->Date(), DoTimePicker->Time()); }

void TFiltrFrame::StripForbiddenChars(TEdit* Edit) { FilterEditText(Edit, StripNumberChars); }

void TFiltrFrame::OdCheckBoxClick(TObject*) {
    OdDatePicker->SetEnabled(OdCheckBox->Checked());
    OdTimePicker->SetEnabled(OdCheckBox->Checked());
}

void TFiltrFrame::DoCheckBoxClick(TObject*) {
    DoDatePicker->SetEnabled(DoCheckBox->Checked());
    DoTimePicker->SetEnabled(DoCheckBox->Checked());
}

// A changed picker does not rebuild the list; only apply, show all, a quick
// range, Enter in a number and the address-book switch do.
void TFiltrFrame::OdDatePickerChange(TObject*) {}
void TFiltrFrame::OdTimePickerChange(TObject*) {}
void TFiltrFrame::DoDatePickerChange(TObject*) {}
void TFiltrFrame::DoTimePickerChange(TObject*) {}

void TFiltrFrame::filtrAbAEditChange(TObject*) { StripForbiddenChars(filtrAbAEdit); }
void TFiltrFrame::filtrAbBEditChange(TObject*) { StripForbiddenChars(filtrAbBEdit); }

void TFiltrFrame::filtrAbAEditKeyDown(TObject* Sender, WORD& Key, TShiftState) {
    if (Key == VK_RETURN) fultrujBitBtnClick(Sender);
}

void TFiltrFrame::filtrAbBEditKeyDown(TObject* Sender, WORD& Key, TShiftState) {
    if (Key == VK_RETURN) fultrujBitBtnClick(Sender);
}

void TFiltrFrame::FiltrujImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    showButton(FiltrujImage, kFilterPicture + 1);
}
void TFiltrFrame::FiltrujImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    showButton(FiltrujImage, kFilterPicture);
}
void TFiltrFrame::WszystkoImageMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    showButton(WszystkoImage, kShowAllPicture + 1);
}
void TFiltrFrame::WszystkoImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    showButton(WszystkoImage, kShowAllPicture);
}

void TFiltrFrame::refreshList() {
    // The main window holds the recordings frame beside this one.
    TComponent* owner = Owner();
    if (auto* media = owner ? dynamic_cast<TMediaFrame*>(owner->FindComponent("MediaFrame1")) : nullptr)
        media->RefreshRecordings();
}

void TFiltrFrame::fultrujBitBtnClick(TObject*) {
    const AnsiString from = GetDateFrom();
    const AnsiString to = GetDateTo();
    if (to < from && OdCheckBox->Checked() && DoCheckBox->Checked()) {
        // Fixed Polish texts in every language.
        ShowCaptionMessage(
            this, Utf8ToCodePage("Błąd", kPolishCodePage),
            Utf8ToCodePage("Data w polu 'Do' nie może być mniejsze niż data w polu 'Od'", kPolishCodePage),
            TFontCharset(EASTEUROPE_CHARSET));
        return;
    }
    refreshList();
}

void TFiltrFrame::wszystkoBitBtnClick(TObject*) {
    QuickComboBox->SetItemIndex(-1);
    OdCheckBox->SetChecked(false);
    DoCheckBox->SetChecked(false);
    filtrAbAEdit->SetText(AnsiString());
    filtrAbBEdit->SetText(AnsiString());
    refreshList();
}

void TFiltrFrame::QuickComboBoxChange(TObject* Sender) {
    TDateTime from, to;
    if (!QuickRangeBounds(QuickComboBox->ItemIndex(), Now(), from, to)) return;
    OdDatePicker->SetDateTime(from);
    OdTimePicker->SetDateTime(from);
    DoDatePicker->SetDateTime(to);
    DoTimePicker->SetDateTime(to);
    DoCheckBox->SetChecked(true);
    OdCheckBox->SetChecked(true);
    fultrujBitBtnClick(Sender);
}

void TFiltrFrame::ABookCheckBoxClick(TObject*) {
    TComponent* owner = Owner();
    if (auto* media = owner ? dynamic_cast<TMediaFrame*>(owner->FindComponent("MediaFrame1")) : nullptr) {
        // The columns change: the old order means nothing in the new layout.
        media->SortClause = AnsiString();
        media->RefreshRecordings();
    }
}

namespace {

struct TDay {
    int Year, Month, Day;
};

// Day k of (Year, Month) where k may be 0 or negative: counted back into
// the month before (or December of the year before).
TDay dayFrom(int Year, int Month, int K) {
    if (K > 0) return {Year, Month, K};
    if (Month > 1) return {Year, Month - 1, DaysInAMonth(Word(Year), Word(Month - 1)) + K};
    return {Year - 1, 12, 31 + K};
}

TDateTime startOf(const TDay& D) { return EncodeDate(Word(D.Year), Word(D.Month), Word(D.Day)); }
TDateTime endOf(const TDay& D) { return startOf(D) + EncodeTime(23, 59, 59, 99); }

}  // namespace

bool QuickRangeBounds(int Index, TDateTime NowValue, TDateTime& From, TDateTime& To) {
    Word y, m, d;
    DecodeDate(NowValue, y, m, d);
    const int year = y, month = m, day = d;
    const int weekday = (DayOfWeek(NowValue) + 5) % 7 + 1;  // 1 Monday ... 7 Sunday
    const TDay today{year, month, day};
    switch (Index) {
    case 0:
        From = startOf(today);
        To = endOf(today);
        return true;
    case 1: {
        const TDay yesterday = dayFrom(year, month, day - 1);
        From = startOf(yesterday);
        To = endOf(yesterday);
        return true;
    }
    case 2:
        From = startOf(dayFrom(year, month, day - weekday + 1));
        To = NowValue;
        return true;
    case 3: {
        const TDay sunday = dayFrom(year, month, day - weekday);
        From = startOf(dayFrom(sunday.Year, sunday.Month, sunday.Day - 6));
        To = endOf(sunday);
        return true;
    }
    case 4:
        From = startOf({year, month, 1});
        To = NowValue;
        return true;
    case 5: {
        const TDay last = month > 1 ? TDay{year, month - 1, 1} : TDay{year - 1, 12, 1};
        From = startOf(last);
        To = endOf({last.Year, last.Month, DaysInAMonth(Word(last.Year), Word(last.Month))});
        return true;
    }
    case 6:
        From = startOf({year, 1, 1});
        To = NowValue;
        return true;
    case 7:
        From = startOf({year - 1, 1, 1});
        To = endOf({year - 1, 12, 31});
        return true;
    default: return false;
    }
}
