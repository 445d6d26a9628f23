#include "workstation/ImageButtonDialog.h"
#include "workstation/FormColors.h"

#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"

YORDE_IMPLEMENT_CLASS(TImageButtonDialog, [](TClassBuilder<TImageButtonDialog>& c) {
    using T = TImageButtonDialog;
    c.Field("OKBtn", &T::OKBtn);
    c.Field("CancelBtn", &T::CancelBtn);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("Timer1", &T::Timer1);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
    c.Method("Timer1Timer", &T::Timer1Timer);
})

namespace {

int cancelImage() { return (ProgramLanguage() - 1) * 4; }
int okImage() { return cancelImage() + 2; }

}  // namespace

void TImageButtonDialog::InitButtons() {
    SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, okImage());
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
}

void TImageButtonDialog::ImageOKClick(TObject*) { OKBtn->Click(); }
void TImageButtonDialog::ImageAnulujClick(TObject*) { CancelBtn->Click(); }

void TImageButtonDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage() + 1);
}
void TImageButtonDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage());
}
void TImageButtonDialog::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage() + 1);
}
void TImageButtonDialog::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
}

void TImageButtonDialog::Timer1Timer(TObject*) { Invalidate(); }
