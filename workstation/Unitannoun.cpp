#include "workstation/Unitannoun.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"
#include "workstation/ImageButtons.h"

YORDE_IMPLEMENT_CLASS(TAnnounDialog, [](TClassBuilder<TAnnounDialog>& c) {
    using T = TAnnounDialog;
    c.Field("OKBtn", &T::OKBtn);
    c.Field("CancelBtn", &T::CancelBtn);
    c.Field("zapComboBox", &T::zapComboBox);
    c.Field("Label1", &T::Label1);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("ImageAnuluj", &T::ImageAnuluj);
    c.Field("Timer1", &T::Timer1);
    c.Field("lxLang1", &T::lxLang1);
    c.Method("zapComboBoxChange", &T::zapComboBoxChange);
    c.Method("OKBtnClick", &T::OKBtnClick);
    c.Method("FormActivate", &T::FormActivate);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("ImageAnulujClick", &T::ImageAnulujClick);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageAnulujMouseDown", &T::ImageAnulujMouseDown);
    c.Method("ImageAnulujMouseUp", &T::ImageAnulujMouseUp);
})

namespace {

// Four pictures per language: Cancel, Cancel pressed, OK, OK pressed.
int cancelImage() { return (ProgramLanguage() - 1) * 4; }
int okImage() { return cancelImage() + 2; }

}  // namespace

TAnnounDialog::TAnnounDialog(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    announcementNumber = -1;
    SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, okImage());
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
    // No double buffering to switch on: every window is painted through
    // Qt's backing store, so the repaint each second does not flicker.
}

void TAnnounDialog::zapComboBoxChange(TObject*) { OKBtn->SetEnabled(true); }

void TAnnounDialog::OKBtnClick(TObject*) {
    const int index = zapComboBox->ItemIndex();
    announcementNumber = index >= 0 ? index + 1 : -1;
}

void TAnnounDialog::FormActivate(TObject*) { Invalidate(); }
void TAnnounDialog::Timer1Timer(TObject*) { Invalidate(); }

void TAnnounDialog::ImageOKClick(TObject*) { OKBtn->Click(); }
void TAnnounDialog::ImageAnulujClick(TObject*) { CancelBtn->Click(); }

void TAnnounDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage() + 1);
}
void TAnnounDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, okImage());
}
void TAnnounDialog::ImageAnulujMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage() + 1);
}
void TAnnounDialog::ImageAnulujMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageAnuluj, ImageList1, cancelImage());
}
