#include "workstation/Unitfiltr.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "rtl/DateTimeText.h"
#include "rtl/FormatSettings.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/TextFilters.h"

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

// Applying the filter, showing all, the quick ranges and the address-book
// switch rebuild the recordings list, which is not built yet; until then
// they do nothing.
void TFiltrFrame::fultrujBitBtnClick(TObject*) {}
void TFiltrFrame::wszystkoBitBtnClick(TObject*) {}
void TFiltrFrame::QuickComboBoxChange(TObject*) {}
void TFiltrFrame::ABookCheckBoxClick(TObject*) {}
