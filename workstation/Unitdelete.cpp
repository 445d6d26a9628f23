#include "workstation/Unitdelete.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"

YORDE_IMPLEMENT_CLASS(TDeleteDialog, [](TClassBuilder<TDeleteDialog>& c) {
    using T = TDeleteDialog;
    c.Field("OKBtn", &T::OKBtn);
    c.Field("CancelBtn", &T::CancelBtn);
    c.Field("InfoLabel", &T::InfoLabel);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("Timer1", &T::Timer1);
    c.Field("lxLang1", &T::lxLang1);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
    c.Method("Timer1Timer", &T::Timer1Timer);
})

namespace {

// Four pictures per language: Cancel, Cancel pressed, OK, OK pressed.
int cancelImage() { return (ProgramLanguage() - 1) * 4; }
int okImage() { return cancelImage() + 2; }

}  // namespace

TDeleteDialog::TDeleteDialog(TComponent* AOwner, const AnsiString& Text) : TForm(AOwner) {
    InitLayout();
    // The dispatcher does not switch this dialog's translation component.
    lxLang1->SetActLang(ProgramLanguage());
    SetColor(clFormBackground);
    InfoLabel->SetCaption(Text);
    ShowButtonImage(ImageOK, ImageList1, okImage());
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
}

void TDeleteDialog::ImageOKClick(TObject*) { OKBtn->Click(); }
void TDeleteDialog::ImageAnulujClick(TObject*) { CancelBtn->Click(); }

void TDeleteDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage() + 1);
}
void TDeleteDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage());
}
void TDeleteDialog::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage() + 1);
}
void TDeleteDialog::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
}

void TDeleteDialog::Timer1Timer(TObject*) { Invalidate(); }
