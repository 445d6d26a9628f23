#include "workstation/AddressBookDialogUnit.h"

#include "localization/Lxlnglnk.h"
#include "workstation/TextFilters.h"

YORDE_IMPLEMENT_CLASS(TAddressBookDialog, [](TClassBuilder<TAddressBookDialog>& c) {
    using T = TAddressBookDialog;
    c.Field("NrEdit", &T::NrEdit);
    c.Field("OpisMemo", &T::OpisMemo);
    c.Field("Label1", &T::Label1);
    c.Field("Label2", &T::Label2);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("NrEditChange", &T::NrEditChange);
    c.Method("OKBtnClick", &T::OKBtnClick);
    c.Method("FormKeyDown", &T::FormKeyDown);
    c.Method("OpisMemoKeyDown", &T::OpisMemoKeyDown);
})

AnsiString FlattenDescription(AnsiString Text) {
    for (char& c : Text)
        if (c == '\n') c = ' ';
    for (char& c : Text)
        if (c == '\r') c = ',';
    return Text;
}

TAddressBookDialog::TAddressBookDialog(TComponent* AOwner) : TImageButtonDialog(AOwner) {
    InitLayout();
    InitButtons();
}

AnsiString TAddressBookDialog::GetDescription() {
    opisText_ = FlattenDescription(opisText_);
    return opisText_;
}

// Text the caller puts into the box is cleaned as typing is.
void TAddressBookDialog::NrEditChange(TObject*) { FilterEditText(NrEdit, StripNumberChars); }

void TAddressBookDialog::OKBtnClick(TObject*) {
    nrText_ = NrEdit->Text();
    opisText_ = OpisMemo->Text();
}

void TAddressBookDialog::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN)
        OKBtn->Click();
    else if (Key == VK_ESCAPE)
        CancelBtn->Click();
}

// Runs before the memo inserts the line break, so OK takes the text as it
// stood; the key itself goes on to the memo.
void TAddressBookDialog::OpisMemoKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN) OKBtn->Click();
}
