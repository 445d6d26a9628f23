#pragma once
// Confirmation of a destructive action with the caller's text. Modal
// result 1 confirms (the OK image), 2 declines (the Cancel image); keys do
// nothing. Its translation component follows no dispatcher: the
// constructor brings it to the program's language.
#include "vcl/StdCtrls.h"
#include "workstation/ImageButtonDialog.h"

class TlxLang;

class TDeleteDialog : public TImageButtonDialog {
    YORDE_CLASS(TDeleteDialog, TImageButtonDialog)
public:
    TLabel* InfoLabel = nullptr;
    TlxLang* lxLang1 = nullptr;

    TDeleteDialog(TComponent* AOwner, const AnsiString& Text);
};
