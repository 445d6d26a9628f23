#include "workstation/Unitannoun.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"

YORDE_IMPLEMENT_CLASS(TAnnounDialog, [](TClassBuilder<TAnnounDialog>& c) {
    using T = TAnnounDialog;
    c.Field("zapComboBox", &T::zapComboBox);
    c.Field("Label1", &T::Label1);
    c.Field("lxLang1", &T::lxLang1);
    c.Method("zapComboBoxChange", &T::zapComboBoxChange);
    c.Method("OKBtnClick", &T::OKBtnClick);
    c.Method("FormActivate", &T::FormActivate);
})

TAnnounDialog::TAnnounDialog(TComponent* AOwner) : TImageButtonDialog(AOwner) {
    InitLayout();
    announcementNumber_ = -1;
    InitButtons();
    // No double buffering to switch on: every window is painted through
    // Qt's backing store, so the repaint each second does not flicker.
}

void TAnnounDialog::zapComboBoxChange(TObject*) { OKBtn->SetEnabled(true); }

void TAnnounDialog::OKBtnClick(TObject*) {
    const int index = zapComboBox->ItemIndex();
    announcementNumber_ = index >= 0 ? index + 1 : -1;
}

void TAnnounDialog::FormActivate(TObject*) { Invalidate(); }
