#pragma once
// Choice of one of the device's 8 announcement slots before an upload.
// Result 1 with GetAnnouncementNumber() 1..8 picks a slot; Cancel (2), or
// OK before any choice (number -1), means no upload.
#include "vcl/ComboBox.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLang;

class TAnnounDialog : public TForm {
    YORDE_CLASS(TAnnounDialog, TForm)
public:
    TButton* OKBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TComboBox* zapComboBox = nullptr;
    TLabel* Label1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TTimer* Timer1 = nullptr;
    TlxLang* lxLang1 = nullptr;

    // The chosen slot 1..8, or -1.
    int announcementNumber = -1;

    explicit TAnnounDialog(TComponent* AOwner);

    int GetAnnouncementNumber() const { return announcementNumber; }

    // Handlers.
    void zapComboBoxChange(TObject* Sender);
    void OKBtnClick(TObject* Sender);
    void FormActivate(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void ImageOKClick(TObject* Sender);
    void ImageAnulujClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
};
