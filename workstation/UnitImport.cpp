#include "workstation/UnitImport.h"

#include "localization/Lxlnglnk.h"
#include "rtl/CodePages.h"
#include "rtl/Paths.h"
#include "shell/Drives.h"

YORDE_IMPLEMENT_CLASS(TImportDialog, [](TClassBuilder<TImportDialog>& c) {
    using T = TImportDialog;
    c.Field("DriveComboBox", &T::DriveComboBox);
    c.Field("DiskLabel", &T::DiskLabel);
    c.Field("lxLangLinked1", &T::lxLangLinked1);
    c.Method("DriveComboBoxChange", &T::DriveComboBoxChange);
    c.Method("OKBtnClick", &T::OKBtnClick);
})

TImportDialog::TImportDialog(TComponent* AOwner, const AnsiString&) : TImageButtonDialog(AOwner) {
    InitLayout();
    // Mount points come as the file system's bytes; the program's texts are ANSI.
    for (const AnsiString& mountPoint : RemovableDrives()) DriveComboBox->Items()->Add(FromOsText(mountPoint));
    InitButtons();
}

AnsiString TImportDialog::Text(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

void TImportDialog::DriveComboBoxChange(TObject*) {
    if (DriveComboBox->ItemIndex() >= 0) OKBtn->SetEnabled(true);
}

void TImportDialog::OKBtnClick(TObject*) {
    const int index = DriveComboBox->ItemIndex();
    drivePath_ = index < 0 ? AnsiString(" ") : IncludeTrailingPathDelimiter(DriveComboBox->Items()->Strings(index));
}
