#pragma once
// A small modal dialog whose OK and Cancel are images over two hidden
// buttons. ImageList1 holds four pictures per language: Cancel, Cancel
// pressed, OK, OK pressed; an image shows its pressed picture while the
// mouse is down, and its click clicks the hidden button, also while that
// button is disabled. Timer1 repaints the form.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TImageButtonDialog : public TForm {
    YORDE_CLASS(TImageButtonDialog, TForm)
public:
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TTimer* Timer1 = nullptr;

    explicit TImageButtonDialog(TComponent* AOwner) : TForm(AOwner) {}

    // Handlers.
    void ImageOKClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujClick(TObject* Sender);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Timer1Timer(TObject* Sender);

protected:
    // Once the layout is read: the form's colour and both normal pictures.
    void InitButtons();
};
