#pragma once
// Confirmation of a destructive action with the caller's text. Modal
// result 1 confirms (the OK image), 2 declines (the Cancel image); keys do
// nothing. Its translation component follows no dispatcher: the
// constructor brings it to the program's language.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLang;

class TDeleteDialog : public TForm {
    YORDE_CLASS(TDeleteDialog, TForm)
public:
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TLabel* InfoLabel = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TTimer* Timer1 = nullptr;
    TlxLang* lxLang1 = nullptr;

    TDeleteDialog(TComponent* AOwner, const AnsiString& Text);

    // Handlers.
    void ImageOKClick(TObject* Sender);
    void ImageAnulujClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Timer1Timer(TObject* Sender);
};
