#pragma once
// The login password dialog: asks for the password of one user and ends
// with modal result 1 when it equals the stored one, else 2.
#include "store/UserRecord.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLangLinked;

class TuserpaswdDialog : public TForm {
    YORDE_CLASS(TuserpaswdDialog, TForm)
public:
    TLabel* HasloLabel = nullptr;
    TEdit* paswdLineEdit = nullptr;
    TButton* HasloOKButton = nullptr;
    TButton* HasloCancelButton = nullptr;
    TLabel* CapsLockLabel = nullptr;
    TTimer* Timer1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TImage* ImageAnuluj = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    // The class registry's constructor (layouts, tests): an all-zero record.
    explicit TuserpaswdDialog(TComponent* AOwner);
    TuserpaswdDialog(TComponent* AOwner, const TUserRecord& record);

    // Shows or hides the Caps Lock warning by the key's state.
    void UpdateCapsLockLabel();

    void HasloOKButtonClick(TObject* Sender);
    void paswdLineEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void Timer1Timer(TObject* Sender);
    void ImageOKClick(TObject* Sender);
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujClick(TObject* Sender);
    void ImageAnulujMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageAnulujMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    int imageBase() const;

    TUserRecord record_{};
};
