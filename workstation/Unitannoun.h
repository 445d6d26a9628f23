#pragma once
// Choice of one of the device's 8 announcement slots before an upload.
// Result 1 with GetAnnouncementNumber() 1..8 picks a slot; Cancel (2), or
// OK before any choice (number -1), means no upload.
#include "vcl/ComboBox.h"
#include "vcl/StdCtrls.h"
#include "workstation/ImageButtonDialog.h"

class TlxLang;

class TAnnounDialog : public TImageButtonDialog {
    YORDE_CLASS(TAnnounDialog, TImageButtonDialog)
public:
    TComboBox* zapComboBox = nullptr;
    TLabel* Label1 = nullptr;
    TlxLang* lxLang1 = nullptr;

    explicit TAnnounDialog(TComponent* AOwner);

    int GetAnnouncementNumber() const { return announcementNumber_; }

    // Handlers.
    void zapComboBoxChange(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void FormActivate(TObject* Sender);

private:
    int announcementNumber_ = -1;  // the chosen slot 1..8, or -1
};
