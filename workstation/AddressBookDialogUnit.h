#pragma once
// One address-book entry typed or changed: a number that keeps only what
// can be dialled and a description that comes back on one line. The
// caller fills NrEdit and OpisMemo (and may disable one of them), shows
// the dialog modally and reads the values after OK (modal result 1).
#include "vcl/Memo.h"
#include "workstation/ImageButtonDialog.h"

class TlxLangLinked;

class TAddressBookDialog : public TImageButtonDialog {
    YORDE_CLASS(TAddressBookDialog, TImageButtonDialog)
public:
    TEdit* NrEdit = nullptr;
    TMemo* OpisMemo = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TAddressBookDialog(TComponent* AOwner);

    // The number as it stood at the last OK.
    AnsiString GetNumber() const { return nrText_; }
    // The description of the last OK on one line: LF becomes " " and CR
    // ",", so a CR LF break reads ", " and the length stays.
    AnsiString GetDescription();

    // Handlers.
    void NrEditChange(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void OpisMemoKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

private:
    AnsiString nrText_;
    AnsiString opisText_;
};

// A description on one line, as GetDescription gives it.
AnsiString FlattenDescription(AnsiString Text);
