#pragma once
// The program's yes/no question dialog. Modal result 1 is yes (the OK
// image or Enter), 2 is no (the Cancel image or Escape). Callers set the
// caption themselves where they need one.
#include "vcl/StdCtrls.h"
#include "workstation/ImageButtonDialog.h"

class TlxLangLinked;

class TQuestionDialog : public TImageButtonDialog {
    YORDE_CLASS(TQuestionDialog, TImageButtonDialog)
public:
    TLabel* MessageLabel = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TQuestionDialog(TComponent* AOwner);

    // "<user data> <Name> <will be removed>."
    void SetUserRemovalQuestion(const AnsiString& Name);
    // The users questions 0 to 6 (the keys of the message dialog's users
    // catalogue); only code 1 gets a full stop. Other codes leave the label.
    void SetUsersQuestion(int code);

    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

private:
    AnsiString T(const char* Key) const;
};
