#pragma once
// The drive dialog of the SD-card import: the removable media mounted now
// (their mount points stand where Windows listed drive letters) and the OK
// and Cancel image buttons.
#include "vcl/ComboBox.h"
#include "workstation/ImageButtonDialog.h"

class TlxLangLinked;

class TImportDialog : public TImageButtonDialog {
    YORDE_CLASS(TImportDialog, TImageButtonDialog)
public:
    TComboBox* DriveComboBox = nullptr;
    TLabel* DiskLabel = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    // Text is not used.
    TImportDialog(TComponent* AOwner, const AnsiString& Text);

    // The chosen medium's folder ending in "/"; " " when OK was pressed
    // with nothing chosen (the OK image works then too); empty after Cancel.
    AnsiString GetDrivePath() const { return drivePath_; }
    // A text of the dialog's translations in the active language.
    AnsiString Text(const char* Key) const;

    // Handlers.
    void DriveComboBoxChange(TObject* Sender);
    void OKBtnClick(TObject* Sender);

private:
    AnsiString drivePath_;
};
