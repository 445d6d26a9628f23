#include "workstation/Unitpaswd.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "shell/CapsLock.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"
#include "workstation/UserMessages.h"

#include <cstring>

YORDE_IMPLEMENT_CLASS(TuserpaswdDialog, [](TClassBuilder<TuserpaswdDialog>& c) {
    using T = TuserpaswdDialog;
    c.Field("HasloLabel", &T::HasloLabel);
    c.Field("paswdLineEdit", &T::paswdLineEdit);
    c.Field("HasloOKButton", &T::HasloOKButton);
    c.Field("HasloCancelButton", &T::HasloCancelButton);
    c.Field("CapsLockLabel", &T::CapsLockLabel);
    c.Field("Timer1", &T::Timer1);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("HasloOKButtonClick", &T::HasloOKButtonClick);
    c.Method("paswdLineEditKeyDown", &T::paswdLineEditKeyDown);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
})

namespace {}

TuserpaswdDialog::TuserpaswdDialog(TComponent* AOwner) : TuserpaswdDialog(AOwner, TUserRecord{}) {}

TuserpaswdDialog::TuserpaswdDialog(TComponent* AOwner, const TUserRecord& record) : TForm(AOwner), record_(record) {
    InitLayout();
    TerminateUserTexts(record_);
    UpdateCapsLockLabel();
    SetColor(clFormBackground);
    CapsLockLabel->SetColor(clFormBackground);
    HasloLabel->SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, imageBase() + 2);
    ShowButtonImage(ImageAnuluj, ImageList1, imageBase());
}

int TuserpaswdDialog::imageBase() const { return (ProgramLanguage() - 1) * 4; }

void TuserpaswdDialog::UpdateCapsLockLabel() { CapsLockLabel->SetVisible(CapsLockOn()); }

void TuserpaswdDialog::HasloOKButtonClick(TObject*) {
    // The button's own modal result (1) is already set; a wrong password overrides it.
    // Nobody is behind a record without a name, whatever was typed.
    if (record_.Name[0] && std::strcmp(paswdLineEdit->Text().c_str(), record_.Password) == 0) {
        SetModalResult(mrOk);
        return;
    }
    ShowTextMessage(lxLangLinked1->GetTextOrDefault("IDS_ERROR"), lxLangLinked1->GetTextOrDefault("IDS_WRONG_PASS"));
    SetModalResult(mrCancel);
}

void TuserpaswdDialog::paswdLineEditKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN)
        HasloOKButton->Click();
    else if (Key == VK_ESCAPE)
        HasloCancelButton->Click();
}

void TuserpaswdDialog::Timer1Timer(TObject*) {
    UpdateCapsLockLabel();
    Invalidate();
}

void TuserpaswdDialog::ImageOKClick(TObject*) { HasloOKButton->Click(); }
void TuserpaswdDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, imageBase() + 3);
}
void TuserpaswdDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, imageBase() + 2);
}

void TuserpaswdDialog::ImageAnulujClick(TObject*) { HasloCancelButton->Click(); }
void TuserpaswdDialog::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, imageBase() + 1);
}
void TuserpaswdDialog::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, imageBase());
}
