#include "workstation/Unitdelete.h"

#include "localization/Lxcomp.h"
#include "workstation/DialogLanguage.h"

YORDE_IMPLEMENT_CLASS(TDeleteDialog, [](TClassBuilder<TDeleteDialog>& c) {
    using T = TDeleteDialog;
    c.Field("InfoLabel", &T::InfoLabel);
    c.Field("lxLang1", &T::lxLang1);
})

TDeleteDialog::TDeleteDialog(TComponent* AOwner, const AnsiString& Text) : TImageButtonDialog(AOwner) {
    InitLayout();
    // The dispatcher does not switch this dialog's translation component.
    lxLang1->SetActLang(ProgramLanguage());
    InfoLabel->SetCaption(Text);
    InitButtons();
}
