#pragma once
// The program's yes/no question dialog. Modal result 1 is yes (the OK
// image or Enter), 2 is no (the Cancel image or Escape). Callers set the
// caption themselves where they need one.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLangLinked;

class TQuestionDialog : public TForm {
    YORDE_CLASS(TQuestionDialog, TForm)
public:
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TLabel* MessageLabel = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TTimer* Timer1 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TQuestionDialog(TComponent* AOwner);

    // "<user data> <Name> <will be removed>."
    void SetUserRemovalQuestion(const AnsiString& Name);
    // The users questions 0 to 6 (the keys of the message dialog's users
    // catalogue); only code 1 gets a full stop. Other codes leave the label.
    void SetUsersQuestion(int code);

    // Handlers.
    void ImageOKClick(TObject* Sender);
    void ImageAnulujClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void Timer1Timer(TObject* Sender);

private:
    AnsiString T(const char* Key) const;
};
